000100 IDENTIFICATION DIVISION.                                         BILL200 
000200 PROGRAM-ID. BILL200.                                             BILL200 
000300*    INVOICE CALCULATION: ONE INVOICE PER ACCOUNT AND PERIOD.     BILL200 
000400 DATA DIVISION.                                                   BILL200 
000500 WORKING-STORAGE SECTION.                                         BILL200 
000600     COPY INVREC.                                                 BILL200 
000700     COPY TAXRATES.                                               BILL200 
000800 01  WS-DAYS                 PIC 9(3) VALUE ZERO.                 BILL200 
000900 01  WS-TOTAL                PIC S9(9)V99 VALUE ZERO.             BILL200 
001000 LINKAGE SECTION.                                                 BILL200 
001100     COPY BILLCTL.                                                BILL200 
001200 01  LS-RETURN               PIC S9(4) COMP.                      BILL200 
001300 PROCEDURE DIVISION USING BILL-CONTROL LS-RETURN.                 BILL200 
001400 0000-MAIN.                                                       BILL200 
001500     CALL 'DATEUTIL' USING BILL-RUN-DATE WS-DAYS.                 BILL200 
001600     PERFORM 1000-CALCULATE.                                      BILL200 
001700     PERFORM 2000-TAX THRU 2000-EXIT.                             BILL200 
001800     MOVE ZERO TO LS-RETURN.                                      BILL200 
001900     GOBACK.                                                      BILL200 
002000 1000-CALCULATE.                                                  BILL200 
002100     COMPUTE INV-AMOUNT = INV-DAILY-RATE * WS-DAYS.               BILL200 
002200     ADD INV-AMOUNT TO WS-TOTAL.                                  BILL200 
002300 2000-TAX.                                                        BILL200 
002400     IF INV-AMOUNT > ZERO                                         BILL200 
002500        COMPUTE INV-TAX = INV-AMOUNT * TAX-STANDARD-RATE / 100    BILL200 
002600     END-IF.                                                      BILL200 
002700 2000-EXIT.                                                       BILL200 
002800     EXIT.                                                        BILL200 
