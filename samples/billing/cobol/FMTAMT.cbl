000100 IDENTIFICATION DIVISION.                                         FMTAMT  
000200 PROGRAM-ID. FMTAMT.                                              FMTAMT  
000300*    EDITS AN AMOUNT FOR PRINTING.                                FMTAMT  
000400 DATA DIVISION.                                                   FMTAMT  
000500 WORKING-STORAGE SECTION.                                         FMTAMT  
000600 01  WS-EDITED               PIC Z,ZZZ,ZZZ,ZZ9.99-.               FMTAMT  
000700 LINKAGE SECTION.                                                 FMTAMT  
000800 01  LS-AMOUNT               PIC S9(9)V99.                        FMTAMT  
000900 01  LS-TEXT                 PIC X(16).                           FMTAMT  
001000 PROCEDURE DIVISION USING LS-AMOUNT LS-TEXT.                      FMTAMT  
001100 0000-MAIN.                                                       FMTAMT  
001200     MOVE LS-AMOUNT TO WS-EDITED.                                 FMTAMT  
001300     MOVE WS-EDITED TO LS-TEXT.                                   FMTAMT  
001400     GOBACK.                                                      FMTAMT  
