#include "RewriteCase.h"

#include "db/provider/SqlTokenizer.h"

#include <QRandomGenerator>

using namespace rp::db;

// Tokens always give back the statement, whatever the text holds.
TEST(RewriteMalformed, TokensJoinBackToTheText) {
    const QString alphabet = QStringLiteral("ab1 '\"[]()-*/+,;.?@#{}\n\r\tñ=<>%_");
    QRandomGenerator random(20241231);
    for (int round = 0; round < 2000; ++round) {
        QString s;
        const int n = int(random.bounded(40));
        for (int k = 0; k < n; ++k)
            s += alphabet.at(int(random.bounded(alphabet.size())));
        ASSERT_EQ(joinTokens(tokenizeSql(s)), s);
        const DialectRewriter r;
        (void)r.rewrite(s); // must not crash or hang
    }
}

// Broken statements are refused by the database as errors, never crash.
TEST(RewriteMalformed, BrokenStatementsFailAsErrors) {
    rp::prueba::BaseTemporal db;
    createRewriteSample(db);
    const char* broken[] = {
        "SELECT TOP FROM MA_ARTICULOS",
        "SELECT TOP 5 PERCENT",
        "SELECT (SELECT TOP 1 x FROM",
        "SELECT 'unterminated FROM MA_ARTICULOS",
        "SELECT [unterminated FROM MA_ARTICULOS",
        "SELECT * FROM MA_ARTICULOS WITH (NOLOCK",
        "SELECT CONVERT(varchar) FROM MA_ARTICULOS",
        "SELECT CONVERT() + ",
        "SELECT 1 + + ",
        "SELECT DATEADD(, 1) ))",
        ") SELECT 1",
        "EXEC",
        "{call}",
    };
    for (const char* sql : broken) {
        db.conexion.clearErrors();
        try {
            auto c = db.conexion.execute(QString::fromUtf8(sql));
            while (c && c->fetch()) {
            }
        } catch (const DbError&) {
            EXPECT_FALSE(db.conexion.errors().isEmpty()) << sql;
        }
    }
}

// Every nested TOP n PERCENT repeats its SELECT in the row count, doubling the
// text per level: past a bound the statement is passed unchanged (and refused
// by the database) instead of growing for ever. Found by the dialect fuzzer.
TEST(RewriteMalformed, NestedTopPercentDoesNotGrowWithoutBound) {
    QString sql = QStringLiteral("SELECT * FROM MA_ARTICULOS");
    for (int i = 0; i < 40; ++i)
        sql = QStringLiteral("SELECT TOP 50 PERCENT * FROM (%1) t%2").arg(sql).arg(i);
    const DialectRewriter r;
    EXPECT_EQ(r.rewrite(sql), sql);
    // A few levels still work.
    QString pocas = QStringLiteral("SELECT IDARTICULO FROM MA_ARTICULOS");
    for (int i = 0; i < 3; ++i)
        pocas = QStringLiteral("SELECT TOP 50 PERCENT * FROM (%1) t%2").arg(pocas).arg(i);
    rp::prueba::BaseTemporal db;
    createRewriteSample(db);
    EXPECT_EQ(db.columna(QStringLiteral("SELECT COUNT(*) FROM (%1) x").arg(pocas)),
              QStringList{QStringLiteral("1")});
}
