#include "BaseTemporal.h"

#include "db/provider/SqlTrace.h"

#include <QFile>

using namespace rp::db;

TEST(SqlTrace, OneLinePerStatementAsWrittenAndAsSent) {
    rp::prueba::BaseTemporal db;
    const QString path = db.dir.filePath(QStringLiteral("trace.log"));
    SqlTrace trace(path);
    ASSERT_TRUE(trace.isOpen());
    Connection::setTrace(&trace);
    db.ejecutar(QStringLiteral("CREATE TABLE T (A INT)"));
    db.conexion.execute(QStringLiteral("SELECT TOP 1 A FROM dbo.T with(nolock)\r\nWHERE A = 1"));
    EXPECT_THROW(db.conexion.execute(QStringLiteral("SELECT * FROM NOEXISTE")), DbError);
    trace.note(QStringLiteral("REPORT"), QStringLiteral("RP_CambioPreciosHIS"));
    Connection::setTrace(nullptr);
    db.ejecutar(QStringLiteral("SELECT 1")); // not traced any more

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].contains(
        QStringLiteral("written: SELECT TOP 1 A FROM dbo.T with(nolock)\\r\\nWHERE A = 1")));
    EXPECT_TRUE(
        lines[1].contains(QStringLiteral("sent: SELECT A FROM T \\r\\nWHERE A = 1 LIMIT 1")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral(" us\t")));
    EXPECT_TRUE(lines[2].contains(QStringLiteral("error")));
    EXPECT_TRUE(lines[3].contains(QStringLiteral("REPORT\tRP_CambioPreciosHIS")));
}
