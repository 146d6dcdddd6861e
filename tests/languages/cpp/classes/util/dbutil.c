/* The one place that talks to the database. */
#include <stdio.h>
#include <string.h>
#include "dbutil.h"

static int connected = 0;

static int db_connect(void)
{
    if (!connected) {
        connected = 1;
        printf("connected\n");
    }
    return connected;
}

int db_execute(const char *statement, int key)
{
    if (!db_connect())
        return 0;
    printf("%s [%d]\n", statement, key);
    return (int)strlen(statement);
}

int db_count(const char *table)
{
    char buffer[256];
    snprintf(buffer, sizeof buffer, "SELECT COUNT(*) FROM %s", table);
    return db_execute(buffer, 0);
}
