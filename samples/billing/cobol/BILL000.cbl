000100 IDENTIFICATION DIVISION.                                         BILL000 
000200 PROGRAM-ID. BILL000.                                             BILL000 
000300*    NIGHTLY BILLING RUN: READS THE CONTROL CARD, THEN RUNS THE   BILL000 
000400*    ACCOUNT EXTRACT, THE INVOICE CALCULATION AND THE AUDIT STEP. BILL000 
000500 ENVIRONMENT DIVISION.                                            BILL000 
000600 INPUT-OUTPUT SECTION.                                            BILL000 
000700 FILE-CONTROL.                                                    BILL000 
000800     SELECT CTL-FILE ASSIGN TO CTLCARD.                           BILL000 
000900 DATA DIVISION.                                                   BILL000 
001000 FILE SECTION.                                                    BILL000 
001100 FD  CTL-FILE.                                                    BILL000 
001200 01  CTL-CARD                PIC X(80).                           BILL000 
001300 WORKING-STORAGE SECTION.                                         BILL000 
001400     COPY BILLCTL.                                                BILL000 
001500     COPY ERRCODES.                                               BILL000 
001600 01  WS-PGM-NAME             PIC X(8) VALUE 'BILL900'.            BILL000 
001700 01  WS-RETURN               PIC S9(4) COMP VALUE ZERO.           BILL000 
001800 PROCEDURE DIVISION.                                              BILL000 
001900 0000-MAIN.                                                       BILL000 
002000     PERFORM 1000-READ-CONTROL.                                   BILL000 
002100     CALL 'BILL100' USING BILL-CONTROL WS-RETURN.                 BILL000 
002200     IF WS-RETURN = ZERO                                          BILL000 
002300        CALL 'BILL200' USING BILL-CONTROL WS-RETURN               BILL000 
002400     END-IF.                                                      BILL000 
002500     PERFORM 9000-AUDIT.                                          BILL000 
002600     STOP RUN.                                                    BILL000 
002700 1000-READ-CONTROL.                                               BILL000 
002800     OPEN INPUT CTL-FILE.                                         BILL000 
002900     READ CTL-FILE INTO BILL-CONTROL                              BILL000 
003000        AT END MOVE ERR-NO-CONTROL TO WS-RETURN                   BILL000 
003100     END-READ.                                                    BILL000 
003200     CLOSE CTL-FILE.                                              BILL000 
003300 9000-AUDIT.                                                      BILL000 
003400*    THE AUDIT PROGRAM IS CHOSEN AT RUN TIME.                     BILL000 
003500     CALL WS-PGM-NAME USING BILL-CONTROL WS-RETURN.               BILL000 
