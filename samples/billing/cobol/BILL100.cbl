000100 IDENTIFICATION DIVISION.                                         BILL100 
000200 PROGRAM-ID. BILL100.                                             BILL100 
000300*    ACCOUNT EXTRACT: SELECTS THE ACTIVE ACCOUNTS OF THE PERIOD.  BILL100 
000400 DATA DIVISION.                                                   BILL100 
000500 WORKING-STORAGE SECTION.                                         BILL100 
000600     COPY ACCTREC.                                                BILL100 
000700     EXEC SQL INCLUDE SQLCA END-EXEC.                             BILL100 
000800 01  WS-COUNT                PIC 9(7) VALUE ZERO.                 BILL100 
000900 LINKAGE SECTION.                                                 BILL100 
001000     COPY BILLCTL.                                                BILL100 
001100 01  LS-RETURN               PIC S9(4) COMP.                      BILL100 
001200 PROCEDURE DIVISION USING BILL-CONTROL LS-RETURN.                 BILL100 
001300 0000-MAIN.                                                       BILL100 
001400     EXEC SQL                                                     BILL100 
001500          DECLARE ACCT-CUR CURSOR FOR                             BILL100 
001600          SELECT ACCT_ID, ACCT_NAME, ACCT_STATUS                  BILL100 
001700            FROM ACCOUNT                                          BILL100 
001800           WHERE ACCT_STATUS = 'A'                                BILL100 
001900     END-EXEC.                                                    BILL100 
002000     EXEC SQL OPEN ACCT-CUR END-EXEC.                             BILL100 
002100     PERFORM 1000-FETCH UNTIL SQLCODE NOT = ZERO.                 BILL100 
002200     EXEC SQL CLOSE ACCT-CUR END-EXEC.                            BILL100 
002300     MOVE ZERO TO LS-RETURN.                                      BILL100 
002400     GOBACK.                                                      BILL100 
002500 1000-FETCH.                                                      BILL100 
002600     EXEC SQL                                                     BILL100 
002700          FETCH ACCT-CUR                                          BILL100 
002800           INTO :ACCT-ID, :ACCT-NAME, :ACCT-STATUS                BILL100 
002900     END-EXEC.                                                    BILL100 
003000     IF SQLCODE = ZERO                                            BILL100 
003100        ADD 1 TO WS-COUNT                                         BILL100 
003200        EXEC SQL                                                  BILL100 
003300             INSERT INTO BILLING_RUN (ACCT_ID, RUN_DATE)          BILL100 
003400             VALUES (:ACCT-ID, :BILL-RUN-DATE)                    BILL100 
003500        END-EXEC                                                  BILL100 
003600     END-IF.                                                      BILL100 
