000100*    CONTROL CARD OF A BILLING RUN.                               BILLCTL 
000200 01  BILL-CONTROL.                                                BILLCTL 
000300     05  BILL-RUN-DATE       PIC 9(8).                            BILLCTL 
000400     05  BILL-RUN-TYPE       PIC X.                               BILLCTL 
000500         88  BILL-FULL-RUN   VALUE 'F'.                           BILLCTL 
