#pragma once

#include "ProviderTestSupport.h"

#include "db/provider/DialectRewriter.h"

// Golden cases of the dialect rewrite: each case gives a statement in the SQL
// Server dialect, the statement SQLite receives, and optionally the rows the
// statement yields on the sample database (first column, joined with "|").
struct RewriteCase {
    const char* written;
    const char* sent;
    const char* rows = nullptr; // nullptr: only checked to run
};

// A sample database for the golden cases: articles, price history and a view.
inline void createRewriteSample(rp::db::test::TempDatabase& db) {
    db.run(QStringLiteral(
        "CREATE TABLE MA_ARTICULOS (IDARTICULO VARCHAR(25) COLLATE MSSQL PRIMARY KEY, "
        "DESCRIPCION VARCHAR(60) COLLATE MSSQL, IDRUBRO CHAR(4) COLLATE MSSQL, "
        "COSTO MONEY, STOCK INT, FHULTIMOCOSTO DATETIME)"));
    db.run(QStringLiteral("CREATE TABLE MV_PRECIOSHIS (IDLISTA VARCHAR(4) COLLATE MSSQL, "
                          "IDARTICULO VARCHAR(25) COLLATE MSSQL, FECHAHORA DATETIME, PRECIO MONEY, "
                          "USUARIO VARCHAR(30) COLLATE MSSQL)"));
    db.run(QStringLiteral("CREATE VIEW V_MA_ARTICULOS AS SELECT * FROM MA_ARTICULOS"));
    db.run(QStringLiteral(
        "INSERT INTO MA_ARTICULOS VALUES "
        "('                      100', 'Tornillo', '   1', 10.5, 7, '2024-12-01 08:00:00'),"
        "('                      200', 'Tuerca', '   1', 2, 0, NULL),"
        "('                      300', 'Arandela ñandú', '   2', 0.25, 12, NULL),"
        "('                      400', 'Clavo', '   2', 1, 3, NULL),"
        "('                      500', 'Perno', '  10', 4, 1, NULL)"));
    db.run(QStringLiteral("INSERT INTO MV_PRECIOSHIS VALUES "
                          "('1', '                      100', '2024-12-30 10:00:00', 11, 'ANA'),"
                          "('1', '                      100', '2024-12-31 10:00:00', 12, 'ana  '),"
                          "('1', '                      200', '2024-06-01 09:30:00', 3, 'Luis'),"
                          "('2', '                      300', '2025-01-02 00:00:00', 1, 'Ñoño')"));
}

// Runs the cases: the rewrite must give `sent` exactly, and the sent
// statement must run on the sample database (with the expected rows, if any).
inline void runRewriteCases(const std::vector<RewriteCase>& cases) {
    rp::db::test::TempDatabase db;
    createRewriteSample(db);
    rp::db::DialectRewriter rewriter;
    rewriter.setTables(rp::db::SqliteProvider::dialectTables(db.provider().handle()));
    for (const RewriteCase& c : cases) {
        const QString written = QString::fromUtf8(c.written);
        EXPECT_EQ(rewriter.rewrite(written).toStdString(), std::string(c.sent)) << c.written;
        try {
            db.connection.beginTrans();
            auto cursor = db.connection.execute(written);
            QStringList rows;
            while (cursor && cursor->fetch())
                rows.append(cursor->value(0).isNull() ? QStringLiteral("<null>")
                                                      : cursor->value(0).toString());
            if (c.rows) {
                EXPECT_EQ(rows.join(u'|').toStdString(), std::string(c.rows)) << c.written;
            }
            db.connection.rollbackTrans();
        } catch (const rp::db::DbError& e) {
            ADD_FAILURE() << "does not run: " << c.written << "\n  sent: " << c.sent << "\n  "
                          << e.description().toStdString();
            try {
                db.connection.rollbackTrans();
            } catch (const rp::db::DbError&) {
            }
        }
    }
}
