#include "ProviderTestSupport.h"

using namespace rp::db;
using rp::db::test::TempDatabase;

// Values that break statements built by pasting text must survive a bound
// INSERT and come back unchanged.
TEST(ParameterRoundTrip, HostileTextsSurviveInsertAndSelect) {
    TempDatabase db;
    db.run(QStringLiteral("CREATE TABLE T (ID INT, V TEXT COLLATE MSSQL)"));
    const QStringList values = {
        QStringLiteral("O'Brien"),
        QStringLiteral("' OR '1'='1"),
        QString(),
        QStringLiteral("C:\\carpeta\\"),
        QStringLiteral("--"),
        QStringLiteral("línea 1\r\nlínea 2"),
        QString(QChar(0x02BC)) + QStringLiteral("x"),
        QString(QChar(0xFF07)) + QStringLiteral(" OR 1=1"),
        QStringLiteral("?"),
        QStringLiteral("{fn NOW()}"),
        QStringLiteral("%_["),
        QString(4001, QChar(u'ñ')),
    };
    for (int i = 0; i < values.size(); ++i) {
        const QVariant v = i == 2 ? QVariant(QString(QLatin1String(""))) : QVariant(values[i]);
        db.run(QStringLiteral("INSERT INTO T (ID, V) VALUES (?, ?)"), {i, v});
    }
    auto c = db.connection.execute(QStringLiteral("SELECT ID, V FROM T ORDER BY ID"));
    int n = 0;
    while (c && c->fetch()) {
        const int i = c->value(0).toInt();
        EXPECT_FALSE(c->value(1).isNull()) << i;
        EXPECT_EQ(c->value(1).toString(), values[i]) << i;
        ++n;
    }
    EXPECT_EQ(n, values.size());
    // Each value is also found again by a bound comparison.
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM T WHERE V = ?"), {values[i]}),
                  QStringLiteral("1"))
            << i;
}
