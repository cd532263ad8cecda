#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>

namespace rp::db {

class DialectRewriter;
struct SqlToken;

// Stored procedures on SQLite. A procedure is one row of the table
// RP_PROCEDIMIENTOS (NOMBRE, PARAMETROS "@A,@B DATETIME,...", CUERPO: one statement in
// the SQL Server dialect). In the body, {@NAME} is replaced by the argument's
// raw text (dynamic SQL, as sp_executesql runs it) and a plain @NAME is bound
// as a parameter.
class SqliteProcedures {
public:
    struct Argument {
        QString name;    // "@NAME" when passed by name, else empty
        QVariant value;  // null for NULL / DEFAULT
        int marker = -1; // index of the caller's "?" parameter, or -1
    };
    struct Call {
        QString procedure;
        QList<Argument> arguments;
    };
    // The statement after binding: SQL with ?NNN markers and their values.
    struct Expansion {
        QString sql;
        QVariantList values;
    };

    // Recognises "EXEC name a, b", "EXECUTE name @P=a", "{call name(?,?)}" and
    // "{? = call name(...)}". False for any other statement.
    static bool parseCall(const QString& sql, Call& call);

    // Binds the call's arguments into `body` (parameter names `parameters`).
    // Throws DbError with SQL Server's messages for missing or extra
    // arguments. Text arguments holding a workstation date are passed as ISO
    // date-times, as SQL Server converts them for datetime parameters.
    static Expansion expand(const Call& call, const QString& parameters, const QString& body,
                            const QVariantList& callerParams, const DialectRewriter& rewriter);
};

} // namespace rp::db
