000100 IDENTIFICATION DIVISION.                                         BILL900 
000200 PROGRAM-ID. BILL900.                                             BILL900 
000300*    AUDIT: RECORDS THE OUTCOME OF THE RUN.                       BILL900 
000400 DATA DIVISION.                                                   BILL900 
000500 WORKING-STORAGE SECTION.                                         BILL900 
000600     COPY ERRCODES.                                               BILL900 
000700     EXEC SQL INCLUDE SQLCA END-EXEC.                             BILL900 
000800 LINKAGE SECTION.                                                 BILL900 
000900     COPY BILLCTL.                                                BILL900 
001000 01  LS-RETURN               PIC S9(4) COMP.                      BILL900 
001100 PROCEDURE DIVISION USING BILL-CONTROL LS-RETURN.                 BILL900 
001200 0000-MAIN.                                                       BILL900 
001300     EXEC SQL                                                     BILL900 
001400          INSERT INTO BILLING_AUDIT (RUN_DATE, RETURN_CODE)       BILL900 
001500          VALUES (:BILL-RUN-DATE, :LS-RETURN)                     BILL900 
001600     END-EXEC.                                                    BILL900 
001700     IF LS-RETURN NOT = ZERO                                      BILL900 
001800        DISPLAY 'BILLING RUN FAILED ' LS-RETURN                   BILL900 
001900     END-IF.                                                      BILL900 
002000     GOBACK.                                                      BILL900 
