#include "RewriteCase.h"

#include <QDateTime>

// Date literals in the workstation's form (day/month/year with "/" here)
// become the ISO text the database stores.
TEST(RewriteDates, WorkstationDatesBecomeIsoText) {
    runRewriteCases({
        {"SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE FECHAHORA > '31/12/2024'",
         "SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE FECHAHORA > '2024-12-31 00:00:00' COLLATE "
         "MSSQL",
         "2"},
        {"SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE FECHAHORA>'31/12/2024 10:00' AND PRECIO>0",
         "SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE FECHAHORA>'2024-12-31 10:00:00' COLLATE MSSQL "
         "AND PRECIO>0",
         "1"},
        {"SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE FECHAHORA BETWEEN '1/6/2024' AND "
         "'30/12/24 23:59:59'",
         "SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE FECHAHORA BETWEEN '2024-06-01 00:00:00' "
         "COLLATE MSSQL AND '2024-12-30 23:59:59' COLLATE MSSQL",
         "2"},
        {"SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE FECHAHORA >= '2024-12-31'",
         "SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE FECHAHORA >= '2024-12-31 00:00:00' COLLATE "
         "MSSQL",
         "2"},
        {"SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE FECHAHORA = '2024-12-31 10:00:00'",
         "SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE FECHAHORA = '2024-12-31 10:00:00' COLLATE "
         "MSSQL",
         "1"},
        // Not dates: impossible days and other texts stay as written.
        {"SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE USUARIO = '31/02/2024'",
         "SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE USUARIO = '31/02/2024' COLLATE MSSQL", "0"},
        {"SELECT '12/2024' FROM MA_ARTICULOS WHERE STOCK = 7",
         "SELECT '12/2024' FROM MA_ARTICULOS WHERE STOCK = 7", "12/2024"},
    });
}

// A date-looking text is read as a date only where SQL Server reads it as one:
// against a date column or date expression, inserted into a date column, or
// as the argument of a date function. Anywhere else it stays as written.
TEST(RewriteDates, OnlyTextsMeetingADateAreConverted) {
    runRewriteCases({
        // text columns: compared as text
        {"SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE IDLISTA >= '01/01/2024'",
         "SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE IDLISTA >= '01/01/2024' COLLATE MSSQL", "4"},
        {"SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE IDLISTA BETWEEN '01/01/2024' AND "
         "'31/12/2024'",
         "SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE IDLISTA BETWEEN '01/01/2024' COLLATE MSSQL "
         "AND '31/12/2024' COLLATE MSSQL",
         "4"},
        {"SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE IDLISTA IN ('01/01/2024', '1')",
         "SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE IDLISTA COLLATE MSSQL IN ('01/01/2024' COLLATE "
         "MSSQL, '1' COLLATE MSSQL)",
         "3"},
        {"SELECT '01/02/2024' FROM MA_ARTICULOS WHERE STOCK = 7",
         "SELECT '01/02/2024' FROM MA_ARTICULOS WHERE STOCK = 7", "01/02/2024"},
        {"SELECT USUARIO FROM MV_PRECIOSHIS WHERE USUARIO = 'ANA' OR USUARIO LIKE '01/02/2024'",
         "SELECT USUARIO FROM MV_PRECIOSHIS WHERE USUARIO = 'ANA' COLLATE MSSQL OR USUARIO LIKE "
         "'01/02/2024'",
         "ANA|ana  "},
        // inserted: the text column keeps the text, the date column gets the date
        {"INSERT INTO MV_PRECIOSHIS (IDLISTA, USUARIO, FECHAHORA) VALUES ('9', '01/02/24 10:30', "
         "'01/02/24 10:30')",
         "INSERT INTO MV_PRECIOSHIS (IDLISTA, USUARIO, FECHAHORA) VALUES ('9', '01/02/24 10:30', "
         "'2024-02-01 10:30:00')"},
        {"INSERT INTO MV_PRECIOSHIS VALUES ('9', '01/02/2024', '01/02/2024', 1, '01/02/2024')",
         "INSERT INTO MV_PRECIOSHIS VALUES ('9', '01/02/2024', '2024-02-01 00:00:00', 1, "
         "'01/02/2024')"},
        // date columns, either side, qualified, IN lists and date expressions
        {"SELECT COUNT(*) FROM MV_PRECIOSHIS h WHERE '30/12/2024 10:00' < h.FECHAHORA",
         "SELECT COUNT(*) FROM MV_PRECIOSHIS h WHERE '2024-12-30 10:00:00' COLLATE MSSQL < "
         "h.FECHAHORA",
         "2"},
        {"SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE FECHAHORA NOT IN ('31/12/2024 10:00', "
         "'1/6/2024 9:30')",
         "SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE FECHAHORA COLLATE MSSQL NOT IN ('2024-12-31 "
         "10:00:00' COLLATE MSSQL, '2024-06-01 09:30:00' COLLATE MSSQL)",
         "2"},
        {"SELECT COUNT(*) FROM MA_ARTICULOS WHERE GETDATE() > '01/01/2024'",
         "SELECT COUNT(*) FROM MA_ARTICULOS WHERE GETDATE() > '2024-01-01 00:00:00' COLLATE MSSQL",
         "5"},
        {"SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE DATEADD(day, 1, FECHAHORA) > '31/12/2024'",
         "SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE DATEADD('day', 1, FECHAHORA) > '2024-12-31 "
         "00:00:00' COLLATE MSSQL",
         "3"},
        // CONVERT with a style reads the text in that style
        {"SELECT CONVERT(datetime, '02/01/2024', 101) FROM MA_ARTICULOS WHERE STOCK = 7",
         "SELECT rp_to_datetime('02/01/2024', 101) FROM MA_ARTICULOS WHERE STOCK = 7",
         "2024-02-01T00:00:00.000"},
        {"SELECT CAST('02/01/2024' AS datetime) FROM MA_ARTICULOS WHERE STOCK = 7",
         "SELECT rp_to_datetime('2024-01-02 00:00:00', 103) FROM MA_ARTICULOS WHERE STOCK = 7",
         "2024-01-02T00:00:00.000"},
    });
}

// A parameter compared with a date column is read as SQL Server reads a text
// there; a bound date passes unchanged.
TEST(RewriteDates, ParametersComparedWithADateColumnAreReadAsDates) {
    rp::db::test::TempDatabase db;
    createRewriteSample(db);
    rp::db::DialectRewriter r;
    r.setTables(rp::db::SqliteProvider::dialectTables(db.provider().handle()));
    EXPECT_EQ(r.rewrite(QStringLiteral("SELECT 1 FROM MV_PRECIOSHIS WHERE FECHAHORA > ? AND "
                                       "USUARIO = ?")),
              QStringLiteral("SELECT 1 FROM MV_PRECIOSHIS WHERE FECHAHORA > rp_to_datetime(?, "
                             "103) AND USUARIO = ?"));
    const QString sql = QStringLiteral("SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE FECHAHORA > ?");
    EXPECT_EQ(db.scalar(sql, {QStringLiteral("30/12/2024 10:00")}), QStringLiteral("2"));
    EXPECT_EQ(db.scalar(sql, {QStringLiteral("2024-12-30 10:00:00")}), QStringLiteral("2"));
    EXPECT_EQ(db.scalar(sql, {QDateTime(QDate(2024, 12, 30), QTime(10, 0))}), QStringLiteral("2"));
    // a table created later is known to the next statement
    db.run(QStringLiteral("CREATE TABLE TA_ACCESOS (USUARIO VARCHAR(20), INGRESO VARCHAR(20), "
                          "ALTA DATETIME)"));
    db.run(QStringLiteral("INSERT INTO TA_ACCESOS VALUES ('ANA', '09/12/26 10:15', "
                          "'09/12/2026 10:15')"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT INGRESO || '|' || ALTA FROM TA_ACCESOS")),
              QStringLiteral("09/12/26 10:15|2026-12-09 10:15:00"));
}

TEST(RewriteDates, UpdateWithAWorkstationDateStoresIsoText) {
    rp::db::test::TempDatabase db;
    createRewriteSample(db);
    db.run(QStringLiteral("UPDATE MA_ARTICULOS SET FHULTIMOCOSTO='31/12/2024 10:00:00' WHERE "
                          "IDARTICULO='                      200'"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT FHULTIMOCOSTO FROM MA_ARTICULOS WHERE STOCK = 0")),
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
