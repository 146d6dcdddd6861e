000100 IDENTIFICATION DIVISION.                                         BILL300 
000200 PROGRAM-ID. BILL300.                                             BILL300 
000300*    INVOICE PRINT: FORMATS THE AMOUNTS AND WRITES THE PRINT FILE.BILL300 
000400 ENVIRONMENT DIVISION.                                            BILL300 
000500 INPUT-OUTPUT SECTION.                                            BILL300 
000600 FILE-CONTROL.                                                    BILL300 
000700     SELECT PRINT-FILE ASSIGN TO INVPRINT.                        BILL300 
000800 DATA DIVISION.                                                   BILL300 
000900 FILE SECTION.                                                    BILL300 
001000 FD  PRINT-FILE.                                                  BILL300 
001100 01  PRINT-LINE              PIC X(132).                          BILL300 
001200 WORKING-STORAGE SECTION.                                         BILL300 
001300     COPY INVREC.                                                 BILL300 
001400 01  WS-AMOUNT-TEXT          PIC X(16).                           BILL300 
001500 PROCEDURE DIVISION.                                              BILL300 
001600 0000-MAIN.                                                       BILL300 
001700     OPEN OUTPUT PRINT-FILE.                                      BILL300 
001800     PERFORM 1000-PRINT-INVOICE.                                  BILL300 
001900     CLOSE PRINT-FILE.                                            BILL300 
002000     STOP RUN.                                                    BILL300 
002100 1000-PRINT-INVOICE.                                              BILL300 
002200     CALL 'FMTAMT' USING INV-AMOUNT WS-AMOUNT-TEXT.               BILL300 
002300     STRING INV-ACCT-ID DELIMITED BY SIZE                         BILL300 
002400            ' ' DELIMITED BY SIZE                                 BILL300 
002500            WS-AMOUNT-TEXT DELIMITED BY SIZE                      BILL300 
002600       INTO PRINT-LINE                                            BILL300 
002700     END-STRING.                                                  BILL300 
002800     WRITE PRINT-LINE.                                            BILL300 
