#include "RewriteCase.h"

#include <QDateTime>

// A parameter compared with a date column is read as SQL Server reads a text
// there; a bound date passes unchanged.
TEST(RewriteDates, ParametersComparedWithADateColumnAreReadAsDates) {
    rp::prueba::BaseTemporal db;
    createRewriteSample(db);
    rp::db::DialectRewriter r;
    r.setTables(rp::db::SqliteProvider::dialectTables(db.proveedor().handle()));
    EXPECT_EQ(r.rewrite(QStringLiteral("SELECT 1 FROM MV_PRECIOSHIS WHERE FECHAHORA > ? AND "
                                       "USUARIO = ?")),
              QStringLiteral("SELECT 1 FROM MV_PRECIOSHIS WHERE FECHAHORA > rp_to_datetime(?, "
                             "103) AND USUARIO = ?"));
    const QString sql = QStringLiteral("SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE FECHAHORA > ?");
    EXPECT_EQ(db.escalar(sql, {QStringLiteral("30/12/2024 10:00")}), QStringLiteral("2"));
    EXPECT_EQ(db.escalar(sql, {QStringLiteral("2024-12-30 10:00:00")}), QStringLiteral("2"));
    EXPECT_EQ(db.escalar(sql, {QDateTime(QDate(2024, 12, 30), QTime(10, 0))}), QStringLiteral("2"));
    // a table created later is known to the next statement
    db.ejecutar(QStringLiteral("CREATE TABLE TA_ACCESOS (USUARIO VARCHAR(20), INGRESO VARCHAR(20), "
                               "ALTA DATETIME)"));
    db.ejecutar(QStringLiteral("INSERT INTO TA_ACCESOS VALUES ('ANA', '09/12/26 10:15', "
                               "'09/12/2026 10:15')"));
    EXPECT_EQ(db.escalar(QStringLiteral("SELECT INGRESO || '|' || ALTA FROM TA_ACCESOS")),
              QStringLiteral("09/12/26 10:15|2026-12-09 10:15:00"));
}

TEST(RewriteDates, UpdateWithAWorkstationDateStoresIsoText) {
    rp::prueba::BaseTemporal db;
    createRewriteSample(db);
    db.ejecutar(QStringLiteral("UPDATE MA_ARTICULOS SET FHULTIMOCOSTO='31/12/2024 10:00:00' WHERE "
                               "IDARTICULO='                      200'"));
    EXPECT_EQ(db.escalar(QStringLiteral("SELECT FHULTIMOCOSTO FROM MA_ARTICULOS WHERE STOCK = 0")),
              QStringLiteral("2024-12-31T10:00:00.000"));
}

TEST(RewriteDates, DateOrderAndSeparatorAreSettings) {
    rp::db::DialectRewriter r;
    EXPECT_EQ(r.isoDateText(QStringLiteral("05/04/2024")), QStringLiteral("2024-04-05 00:00:00"));
    r.setDateOrder(rp::db::DialectRewriter::DateOrder::MonthDayYear);
    EXPECT_EQ(r.isoDateText(QStringLiteral("05/04/2024 1:02:03 PM")),
              QStringLiteral("2024-05-04 13:02:03"));
    r.setDateOrder(rp::db::DialectRewriter::DateOrder::YearMonthDay);
    r.setDateSeparator(u'.');
    EXPECT_EQ(r.isoDateText(QStringLiteral("2024.04.05")), QStringLiteral("2024-04-05 00:00:00"));
    EXPECT_EQ(r.isoDateText(QStringLiteral("05/04/2024")), QString());
    EXPECT_EQ(r.isoDateText(QStringLiteral("2024-04-05T07:08:09")),
              QStringLiteral("2024-04-05 07:08:09"));
    EXPECT_EQ(r.isoDateText(QStringLiteral("abc")), QString());
}
