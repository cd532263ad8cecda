#pragma once

#include "BaseTemporal.h"

#include "db/provider/DialectRewriter.h"

#include <optional>
#include <string>

// A sample database for the golden cases: articles, price history and a view.
inline void createRewriteSample(rp::prueba::BaseTemporal& db) {
    db.ejecutar(QStringLiteral(
        "CREATE TABLE MA_ARTICULOS (IDARTICULO VARCHAR(25) COLLATE MSSQL PRIMARY KEY, "
        "DESCRIPCION VARCHAR(60) COLLATE MSSQL, IDRUBRO CHAR(4) COLLATE MSSQL, "
        "COSTO MONEY, STOCK INT, FHULTIMOCOSTO DATETIME)"));
    db.ejecutar(
        QStringLiteral("CREATE TABLE MV_PRECIOSHIS (IDLISTA VARCHAR(4) COLLATE MSSQL, "
                       "IDARTICULO VARCHAR(25) COLLATE MSSQL, FECHAHORA DATETIME, PRECIO MONEY, "
                       "USUARIO VARCHAR(30) COLLATE MSSQL)"));
    db.ejecutar(QStringLiteral("CREATE VIEW V_MA_ARTICULOS AS SELECT * FROM MA_ARTICULOS"));
    db.ejecutar(QStringLiteral(
        "INSERT INTO MA_ARTICULOS VALUES "
        "('                      100', 'Tornillo', '   1', 10.5, 7, '2024-12-01 08:00:00'),"
        "('                      200', 'Tuerca', '   1', 2, 0, NULL),"
        "('                      300', 'Arandela ñandú', '   2', 0.25, 12, NULL),"
        "('                      400', 'Clavo', '   2', 1, 3, NULL),"
        "('                      500', 'Perno', '  10', 4, 1, NULL)"));
    db.ejecutar(
        QStringLiteral("INSERT INTO MV_PRECIOSHIS VALUES "
                       "('1', '                      100', '2024-12-30 10:00:00', 11, 'ANA'),"
                       "('1', '                      100', '2024-12-31 10:00:00', 12, 'ana  '),"
                       "('1', '                      200', '2024-06-01 09:30:00', 3, 'Luis'),"
                       "('2', '                      300', '2025-01-02 00:00:00', 1, 'Ñoño')"));
}

// Runs one golden case (from the files of rewrite/, see RewriteCasesTest):
// the rewrite must give `sent` exactly, and the written statement must run on
// the sample database with the expected rows (first column joined with "|"),
// when `rows` is given. `donde` names the case in a failure.
inline void runRewriteCase(rp::prueba::BaseTemporal& db, const rp::db::DialectRewriter& rewriter,
                           const QString& written, const QString& sent,
                           const std::optional<QString>& rows, const std::string& donde) {
    EXPECT_EQ(rewriter.rewrite(written).toStdString(), sent.toStdString()) << donde;
    try {
        db.conexion.beginTrans();
        auto cursor = db.conexion.execute(written);
        QStringList found;
        while (cursor && cursor->fetch())
            found.append(cursor->value(0).isNull() ? QStringLiteral("<null>")
                                                   : cursor->value(0).toString());
        if (rows) {
            EXPECT_EQ(found.join(u'|').toStdString(), rows->toStdString()) << donde;
        }
        db.conexion.rollbackTrans();
    } catch (const rp::db::DbError& e) {
        ADD_FAILURE() << donde << ": does not run: " << written.toStdString()
                      << "\n  sent: " << sent.toStdString() << "\n  "
                      << e.description().toStdString();
        try {
            db.conexion.rollbackTrans();
        } catch (const rp::db::DbError&) {
        }
    }
}
