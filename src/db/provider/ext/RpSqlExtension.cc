// Entry point of the loadable SQLite extension "rpsqlext": the SQL Server
// functions and the MSSQL collation for the sqlite3 shell (.load rpsqlext)
// and for the SQLite ODBC driver (LoadExt=<path>).
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#include "db/provider/SqlServerFunctions.h"

extern "C" __attribute__((visibility("default"))) int
sqlite3_rpsqlext_init(sqlite3* db, char** errorMessage, const sqlite3_api_routines* api) {
    SQLITE_EXTENSION_INIT2(api);
    const int rc = rp::db::registerSqlServerFunctions(db);
    if (rc != SQLITE_OK && errorMessage)
        *errorMessage = sqlite3_mprintf("rpsqlext: registration failed (%d)", rc);
    return rc;
}
