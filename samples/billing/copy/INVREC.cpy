000100*    INVOICE RECORD.                                              INVREC  
000200 01  INVOICE-RECORD.                                              INVREC  
000300     05  INV-ACCT-ID         PIC X(10).                           INVREC  
000400     05  INV-DAILY-RATE      PIC S9(5)V99.                        INVREC  
000500     05  INV-AMOUNT          PIC S9(9)V99.                        INVREC  
000600     05  INV-TAX             PIC S9(9)V99.                        INVREC  
