000100*    RETURN CODES OF THE BILLING PROGRAMS.                        ERRCODES
000200 01  ERR-CODES.                                                   ERRCODES
000300     05  ERR-NO-CONTROL      PIC S9(4) COMP VALUE 8.              ERRCODES
000400     05  ERR-SQL             PIC S9(4) COMP VALUE 12.             ERRCODES
