000100*    ACCOUNT RECORD, AS THE ACCOUNT TABLE HOLDS IT.               ACCTREC 
000200 01  ACCOUNT-RECORD.                                              ACCTREC 
000300     05  ACCT-ID             PIC X(10).                           ACCTREC 
000400     05  ACCT-NAME           PIC X(40).                           ACCTREC 
000500     05  ACCT-STATUS         PIC X.                               ACCTREC 
000600         88  ACCT-ACTIVE     VALUE 'A'.                           ACCTREC 
000700         88  ACCT-CLOSED     VALUE 'C'.                           ACCTREC 
000800     COPY ADDRREC.                                                ACCTREC 
