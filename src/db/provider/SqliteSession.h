#pragma once

#include "db/provider/ProviderError.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>

struct sqlite3;

namespace rp::db {

// State of one open SQLite handle shared by the provider and the cursors it
// hands out: a cursor that outlives its connection finds the session closed
// instead of a dangling handle.
struct SqliteSession {
    sqlite3* db = nullptr;
    QString source;                         // provider name for error entries
    QList<ProviderError>* errors = nullptr; // the error list of the call in progress
    int timeoutMs = 30000;                  // command time-out; 0 = none
    QElapsedTimer clock;                    // started by every call that runs SQL
    bool timedOut = false;

    // Starts the command time-out for a call that runs SQL.
    void startClock();
    // The provider error for the failed sqlite3 call that returned rc.
    ProviderError error(int rc) const;
    // Appends error(rc) to the error list and throws it as DbError.
    [[noreturn]] void fail(int rc);
    // Appends an error of the layer's own and throws it.
    [[noreturn]] void failWith(const ProviderError& e);
};

} // namespace rp::db
