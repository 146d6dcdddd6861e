000100 IDENTIFICATION DIVISION.                                         ACCT010 
000200 PROGRAM-ID. ACCT010.                                             ACCT010 
000300*    ONLINE ACCOUNT INQUIRY (TRANSACTION AC01).                   ACCT010 
000400 DATA DIVISION.                                                   ACCT010 
000500 WORKING-STORAGE SECTION.                                         ACCT010 
000600     COPY ACCTREC.                                                ACCT010 
000700 01  WS-COMMAREA.                                                 ACCT010 
000800     05  WS-CA-ACCT-ID       PIC X(10).                           ACCT010 
000900     05  WS-CA-FUNCTION      PIC X.                               ACCT010 
001000 01  ACCTMAPI.                                                    ACCT010 
001100     05  FILLER              PIC X(12).                           ACCT010 
001200     05  ACCTNOI             PIC X(10).                           ACCT010 
001300 PROCEDURE DIVISION.                                              ACCT010 
001400 0000-MAIN.                                                       ACCT010 
001500     EXEC CICS RECEIVE MAP('ACCTMAP') MAPSET('ACCTSET')           ACCT010 
001600          INTO(ACCTMAPI)                                          ACCT010 
001700     END-EXEC.                                                    ACCT010 
001800     MOVE ACCTNOI TO WS-CA-ACCT-ID.                               ACCT010 
001900     EXEC CICS LINK PROGRAM('ACCT020')                            ACCT010 
002000          COMMAREA(WS-COMMAREA)                                   ACCT010 
002100     END-EXEC.                                                    ACCT010 
002200     IF WS-CA-FUNCTION = 'I'                                      ACCT010 
002300        EXEC CICS XCTL PROGRAM('ACCT030')                         ACCT010 
002400             COMMAREA(WS-COMMAREA)                                ACCT010 
002500        END-EXEC                                                  ACCT010 
002600     END-IF.                                                      ACCT010 
002700     EXEC CICS SEND MAP('ACCTMAP') MAPSET('ACCTSET') ERASE        ACCT010 
002800     END-EXEC.                                                    ACCT010 
002900     EXEC CICS RETURN TRANSID('AC01') END-EXEC.                   ACCT010 
