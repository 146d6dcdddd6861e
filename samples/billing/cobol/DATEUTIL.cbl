000100 IDENTIFICATION DIVISION.                                         DATEUTIL
000200 PROGRAM-ID. DATEUTIL.                                            DATEUTIL
000300*    DAYS IN THE BILLING PERIOD OF A RUN DATE (YYYYMMDD).         DATEUTIL
000400 DATA DIVISION.                                                   DATEUTIL
000500 WORKING-STORAGE SECTION.                                         DATEUTIL
000600 01  WS-MONTH                PIC 99.                              DATEUTIL
000700 LINKAGE SECTION.                                                 DATEUTIL
000800 01  LS-DATE                 PIC 9(8).                            DATEUTIL
000900 01  LS-DAYS                 PIC 9(3).                            DATEUTIL
001000 PROCEDURE DIVISION USING LS-DATE LS-DAYS.                        DATEUTIL
001100 0000-MAIN.                                                       DATEUTIL
001200     MOVE LS-DATE(5:2) TO WS-MONTH.                               DATEUTIL
001300     EVALUATE WS-MONTH                                            DATEUTIL
001400        WHEN 2                                                    DATEUTIL
001500           MOVE 28 TO LS-DAYS                                     DATEUTIL
001600        WHEN 4                                                    DATEUTIL
001700        WHEN 6                                                    DATEUTIL
001800        WHEN 9                                                    DATEUTIL
001900        WHEN 11                                                   DATEUTIL
002000           MOVE 30 TO LS-DAYS                                     DATEUTIL
002100        WHEN OTHER                                                DATEUTIL
002200           MOVE 31 TO LS-DAYS                                     DATEUTIL
002300     END-EVALUATE.                                                DATEUTIL
002400     GOBACK.                                                      DATEUTIL
