// The ODBC provider against a real server: the local PostgreSQL started by
// scripts/pg-start.sh, through its Unicode ODBC driver (RP_TEST_PG holds the
// connection string). Skipped when the server is not reachable, except under
// CI, where these tests must run.

#include "OdbcTestSupport.h"
#include "db/provider/Connection.h"

#include <QThread>
#include <gtest/gtest.h>

using namespace rp::db;
using namespace rp::db::testing;

namespace {

class OdbcPostgres : public ::testing::Test {
protected:
    void SetUp() override {
        try {
            provider.open(postgresTarget(), errors);
            control.open(postgresTarget(), errors);
        } catch (const DbError& e) {
            if (runningUnderCi())
                FAIL() << "PostgreSQL is not reachable under CI: " << e.description().toStdString();
            GTEST_SKIP() << "PostgreSQL is not reachable (run scripts/pg-start.sh): "
                         << e.description().toStdString();
        }
    }

    qint64 backend(ProviderConnection& p) {
        return query(p, "SELECT pg_backend_pid()", errors).rows.value(0).value(0).toLongLong();
    }

    // Ends `pid`'s server process from the second connection and waits until
    // it is gone.
    void terminate(qint64 pid) {
        const Result r =
            query(control, QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid), errors);
        ASSERT_EQ(r.rows.size(), 1);
        for (int i = 0; i < 100; ++i) {
            const Result left = query(
                control,
                QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE pid = %1").arg(pid),
                errors);
            if (left.rows[0][0].toLongLong() == 0)
                return;
            QThread::msleep(50);
        }
        FAIL() << "backend " << pid << " did not end";
    }

    static bool isLostState(const QString& state) {
        return state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")) ||
               state == QLatin1String("HYT00");
    }

    OdbcProvider provider;
    OdbcProvider control;
    QList<ProviderError> errors;
};

} // namespace

TEST_F(OdbcPostgres, UnicodeDriverTypesAndTexts) {
    EXPECT_EQ(provider.dbmsName(), "PostgreSQL");
    const QString text = QString::fromUtf8("Ñandú €uro 𝄞 日本");
    const Result r = query(provider,
                           QStringLiteral("SELECT CAST(? AS VARCHAR(30)) AS t, "
                                          "CAST(12.50 AS NUMERIC(10,2)) AS n, 7 AS i, "
                                          "CAST('2024-12-31 10:11:12' AS TIMESTAMP) AS f, "
                                          "CAST(NULL AS VARCHAR(3)) AS z"),
                           errors, {text});
    ASSERT_EQ(r.rows.size(), 1);
    EXPECT_EQ(r.fields[0].type, adtype::VarWChar);
    EXPECT_EQ(r.fields[0].definedSize, 30);
    EXPECT_EQ(r.fields[1].type, adtype::Numeric);
    EXPECT_EQ(r.fields[2].type, adtype::Integer);
    EXPECT_EQ(r.fields[3].type, adtype::DBTimeStamp);
    EXPECT_EQ(r.rows[0][0].toString(), text);
    EXPECT_DOUBLE_EQ(r.rows[0][1].toDouble(), 12.5);
    EXPECT_EQ(r.rows[0][2].toLongLong(), 7);
    EXPECT_EQ(r.rows[0][3].toDateTime(), QDateTime(QDate(2024, 12, 31), QTime(10, 11, 12)));
    EXPECT_TRUE(r.rows[0][4].isNull());
}

TEST_F(OdbcPostgres, ServerErrorsKeepTheirStates) {
    try {
        run(provider, "SELECT * FROM tabla_que_no_existe", errors);
        FAIL() << "no error";
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), errc::ObjectNotFound);
    }
    ASSERT_FALSE(errors.isEmpty());
    EXPECT_EQ(errors[0].sqlState, "42P01");
    EXPECT_TRUE(provider.isOpen());
    EXPECT_EQ(query(provider, "SELECT 1", errors).rows.size(), 1);
}

TEST_F(OdbcPostgres, LostConnectionIsReportedForRecoveryAndReopenWorks) {
    const qint64 pid = backend(provider);
    ASSERT_GT(pid, 0);
    terminate(pid);
    errors.clear();

    try {
        run(provider, "SELECT 1", errors);
        FAIL() << "statement ran on a terminated connection";
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), errc::Unspecified);
    }
    ASSERT_FALSE(errors.isEmpty());
    bool lost = false;
    for (const ProviderError& e : errors)
        lost = lost || isLostState(e.sqlState);
    EXPECT_TRUE(lost) << errors[0].sqlState.toStdString() << " "
                      << errors[0].description.toStdString();
    EXPECT_FALSE(provider.isOpen());

    // Further use keeps reporting the lost link the same way.
    errors.clear();
    try {
        run(provider, "SELECT 1", errors);
        FAIL() << "statement ran on a lost connection";
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), errc::Unspecified);
    }
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0].sqlState, "08S01");

    // Close and open again, as the reconnection does.
    provider.close();
    errors.clear();
    ASSERT_NO_THROW(provider.open(postgresTarget(), errors));
    EXPECT_TRUE(provider.isOpen());
    const qint64 again = backend(provider);
    EXPECT_GT(again, 0);
    EXPECT_NE(again, pid);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(OdbcPostgres, LostConnectionInsideATransaction) {
    provider.beginTrans(errors);
    terminate(backend(provider));
    EXPECT_THROW(run(provider, "SELECT 1", errors), DbError);
    EXPECT_FALSE(provider.isOpen());
    // Closing a dead connection with a transaction pending neither hangs nor throws.
    EXPECT_NO_THROW(provider.close());
    errors.clear();
    ASSERT_NO_THROW(provider.open(postgresTarget(), errors));
    EXPECT_FALSE(provider.inTransaction());
}

TEST_F(OdbcPostgres, UnreachableServerFailsToOpen) {
    OdbcProvider other;
    errors.clear();
    try {
        other.open("DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=1;DATABASE=rp_test;"
                   "UID=rp_test;PWD=rp_test;",
                   errors);
        FAIL() << "opened a closed port";
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), errc::Unspecified);
    }
    ASSERT_FALSE(errors.isEmpty());
    EXPECT_TRUE(errors[0].sqlState.startsWith("08")) << errors[0].sqlState.toStdString();
    EXPECT_FALSE(other.isOpen());
}

TEST_F(OdbcPostgres, CommandTimeoutCancelsALongStatement) {
    provider.setCommandTimeout(1);
    EXPECT_THROW(run(provider, "SELECT pg_sleep(5)", errors), DbError);
    ASSERT_FALSE(errors.isEmpty());
    // The connection survives a cancelled statement.
    EXPECT_TRUE(provider.isOpen());
    EXPECT_EQ(query(provider, "SELECT 2", errors).rows[0][0].toLongLong(), 2);
}

TEST_F(OdbcPostgres, SchemaCatalogueFindsTablesWithoutRegardToCase) {
    // Tables of the test database may belong to other tests running alongside:
    // use a name of this process alone.
    const QString name = QStringLiteral("ta_odbc_%1").arg(backend(provider));
    run(provider,
        QStringLiteral("CREATE TABLE %1 (nombre VARCHAR(20), administrador INTEGER)").arg(name),
        errors);
    std::unique_ptr<Cursor> cols = provider.schemaColumns("rp_test", name.toUpper(), errors);
    QStringList columns;
    while (cols->fetch())
        columns << cols->value(3).toString();
    run(provider, QStringLiteral("DROP TABLE %1").arg(name), errors);
    EXPECT_EQ(columns, QStringList({"nombre", "administrador"}));
}

// The isolation level reaches the server as SQL_ATTR_TXN_ISOLATION: the next
// transaction runs at it.
TEST_F(OdbcPostgres, IsolationLevelAppliesToTheNextTransaction) {
    auto nivel = [&] {
        provider.beginTrans(errors);
        const QString n =
            query(provider, "SHOW transaction_isolation", errors).rows.value(0).value(0).toString();
        provider.rollbackTrans(errors);
        return n;
    };
    provider.setIsolationLevel(adXactSerializable, errors);
    EXPECT_EQ(nivel(), "serializable");
    provider.setIsolationLevel(adXactRepeatableRead, errors);
    EXPECT_EQ(nivel(), "repeatable read");
    // PostgreSQL runs read uncommitted as read committed; the driver takes it.
    provider.setIsolationLevel(adXactReadUncommitted, errors);
    EXPECT_EQ(nivel(), "read uncommitted");
    EXPECT_TRUE(errors.isEmpty());
}
