000100 IDENTIFICATION DIVISION.                                         ACCT030 
000200 PROGRAM-ID. ACCT030.                                             ACCT030 
000300*    SHOWS THE OPEN INVOICES OF AN ACCOUNT.                       ACCT030 
000400 DATA DIVISION.                                                   ACCT030 
000500 WORKING-STORAGE SECTION.                                         ACCT030 
000600     COPY INVREC.                                                 ACCT030 
000700 01  INVMAPO.                                                     ACCT030 
000800     05  FILLER              PIC X(12).                           ACCT030 
000900     05  INVAMTO             PIC X(16).                           ACCT030 
001000 LINKAGE SECTION.                                                 ACCT030 
001100 01  DFHCOMMAREA.                                                 ACCT030 
001200     05  LS-ACCT-ID          PIC X(10).                           ACCT030 
001300     05  LS-FUNCTION         PIC X.                               ACCT030 
001400 PROCEDURE DIVISION.                                              ACCT030 
001500 0000-MAIN.                                                       ACCT030 
001600     MOVE LS-ACCT-ID TO INV-ACCT-ID.                              ACCT030 
001700     CALL 'FMTAMT' USING INV-AMOUNT INVAMTO.                      ACCT030 
001800     EXEC CICS SEND MAP('INVMAP') MAPSET('INVSET')                ACCT030 
001900          FROM(INVMAPO) ERASE                                     ACCT030 
002000     END-EXEC.                                                    ACCT030 
002100     EXEC CICS RETURN TRANSID('AC01') END-EXEC.                   ACCT030 
