000100*    POSTAL ADDRESS, SHARED BY ACCOUNTS AND INVOICES.             ADDRREC 
000200     05  ADDR-STREET         PIC X(40).                           ADDRREC 
000300     05  ADDR-CITY           PIC X(30).                           ADDRREC 
000400     05  ADDR-POSTCODE       PIC X(10).                           ADDRREC 
