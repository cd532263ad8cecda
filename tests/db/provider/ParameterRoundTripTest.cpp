#include "BaseTemporal.h"
#include "TextosHostiles.h"

using namespace rp::db;
using rp::prueba::BaseTemporal;

// Values that break statements built by pasting text must survive a bound
// INSERT and come back unchanged.
TEST(ParameterRoundTrip, HostileTextsSurviveInsertAndSelect) {
    BaseTemporal db;
    db.ejecutar(QStringLiteral("CREATE TABLE T (ID INT, V TEXT COLLATE MSSQL)"));
    const QStringList values = rp::prueba::textosHostiles();
    for (int i = 0; i < values.size(); ++i) {
        const QVariant v = i == 2 ? QVariant(QString(QLatin1String(""))) : QVariant(values[i]);
        db.ejecutar(QStringLiteral("INSERT INTO T (ID, V) VALUES (?, ?)"), {i, v});
    }
    auto c = db.conexion.execute(QStringLiteral("SELECT ID, V FROM T ORDER BY ID"));
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
        EXPECT_EQ(db.escalar(QStringLiteral("SELECT COUNT(*) FROM T WHERE V = ?"), {values[i]}),
                  QStringLiteral("1"))
            << i;
}
