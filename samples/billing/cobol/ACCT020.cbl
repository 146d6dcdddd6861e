000100 IDENTIFICATION DIVISION.                                         ACCT020 
000200 PROGRAM-ID. ACCT020.                                             ACCT020 
000300*    READS ONE ACCOUNT FOR THE ONLINE INQUIRY.                    ACCT020 
000400 DATA DIVISION.                                                   ACCT020 
000500 WORKING-STORAGE SECTION.                                         ACCT020 
000600     COPY ACCTREC.                                                ACCT020 
000700     EXEC SQL INCLUDE SQLCA END-EXEC.                             ACCT020 
000800 LINKAGE SECTION.                                                 ACCT020 
000900 01  DFHCOMMAREA.                                                 ACCT020 
001000     05  LS-ACCT-ID          PIC X(10).                           ACCT020 
001100     05  LS-FUNCTION         PIC X.                               ACCT020 
001200 PROCEDURE DIVISION.                                              ACCT020 
001300 0000-MAIN.                                                       ACCT020 
001400     EXEC SQL                                                     ACCT020 
001500          SELECT ACCT_NAME, ACCT_STATUS                           ACCT020 
001600            INTO :ACCT-NAME, :ACCT-STATUS                         ACCT020 
001700            FROM ACCOUNT                                          ACCT020 
001800           WHERE ACCT_ID = :LS-ACCT-ID                            ACCT020 
001900     END-EXEC.                                                    ACCT020 
002000     IF ACCT-STATUS = 'A'                                         ACCT020 
002100        MOVE 'I' TO LS-FUNCTION                                   ACCT020 
002200     END-IF.                                                      ACCT020 
002300     EXEC CICS RETURN END-EXEC.                                   ACCT020 
