#ifndef DBUTIL_H
#define DBUTIL_H

#ifdef __cplusplus
extern "C" {
#endif

int db_execute(const char *statement, int key);
int db_count(const char *table);

#ifdef __cplusplus
}
#endif

#endif /* DBUTIL_H */
