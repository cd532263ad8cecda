#include "RewriteCase.h"

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
