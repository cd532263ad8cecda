// Golden cases of the dialect rewrite, one file per feature under rewrite/.
// Every case gives a statement in the SQL Server dialect, the statement
// SQLite receives, and optionally the rows it yields on the sample database.
//
// Case format (blank lines and lines starting with "#" are ignored):
//   == name
//   written: <the statement as the program writes it>
//   sent: <the rewritten statement, exactly>
//   rows: <first column of every row, joined with "|"; empty for none>
// Without "rows:" the statement only has to run. In the values "\n" is a
// line break, "\s" a blank (written for the blanks that end a value) and
// "\\" a backslash.
#include "CasosTexto.h"
#include "RewriteCase.h"

#include <QTemporaryDir>

namespace {

using rp::prueba::CasoTexto;

const QString kCarpeta = QStringLiteral(RP_SOURCE_DIR "/tests/db/provider/rewrite");
const QStringList kClaves = {QStringLiteral("written"), QStringLiteral("sent"),
                             QStringLiteral("rows")};
const QStringList kObligatorias = {QStringLiteral("written"), QStringLiteral("sent")};

QList<CasoTexto> casos() {
    return rp::prueba::leerCasos(kCarpeta, kClaves, kObligatorias).casos;
}

class RewriteCases : public ::testing::TestWithParam<CasoTexto> {
protected:
    static void SetUpTestSuite() {
        db_ = new rp::prueba::BaseTemporal();
        createRewriteSample(*db_);
        rewriter_ = new rp::db::DialectRewriter();
        rewriter_->setTables(rp::db::SqliteProvider::dialectTables(db_->proveedor().handle()));
    }
    static void TearDownTestSuite() {
        delete rewriter_;
        delete db_;
    }
    static rp::prueba::BaseTemporal* db_;
    static rp::db::DialectRewriter* rewriter_;
};

rp::prueba::BaseTemporal* RewriteCases::db_ = nullptr;
rp::db::DialectRewriter* RewriteCases::rewriter_ = nullptr;

TEST_P(RewriteCases, RewritesAndRuns) {
    const CasoTexto& c = GetParam();
    std::optional<QString> rows;
    if (c.tiene(QStringLiteral("rows")))
        rows = rp::prueba::desescapar(c.valor(QStringLiteral("rows")));
    const std::optional<QString> written =
        rp::prueba::desescapar(c.valor(QStringLiteral("written")));
    const std::optional<QString> sent = rp::prueba::desescapar(c.valor(QStringLiteral("sent")));
    ASSERT_TRUE(written && sent && (rows || !c.tiene(QStringLiteral("rows"))))
        << c.donde().toStdString() << ": a \"\\\" other than \\n, \\s or \\\\";
    runRewriteCase(*db_, *rewriter_, *written, *sent, rows,
                   (c.donde() + QLatin1Char(' ') + c.nombre).toStdString());
}

INSTANTIATE_TEST_SUITE_P(Files, RewriteCases, ::testing::ValuesIn(casos()),
                         [](const ::testing::TestParamInfo<CasoTexto>& info) {
                             return rp::prueba::nombreDePrueba(
                                 info.param,
                                 info.param.archivo.section(QLatin1Char('.'), 0, 0) + "_");
                         });

// Every file reads without a fault, and there are cases to run.
TEST(RewriteCaseFiles, AreWellFormed) {
    const rp::prueba::LecturaCasos r = rp::prueba::leerCasos(kCarpeta, kClaves, kObligatorias);
    for (const QString& e : r.errores)
        ADD_FAILURE() << e.toStdString();
    EXPECT_GE(r.casos.size(), 80);
}

// A malformed case is reported with its file and line and left out.
TEST(RewriteCaseFiles, MalformedCasesNameFileAndLine) {
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("x.test")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("written: before any case\n" // 1
            "== good\n"                  // 2
            "written: SELECT 1\n"        // 3
            "sent: SELECT 1\n"           // 4
            "\n"                         // 5
            "== no sent\n"               // 6
            "written: SELECT 2\n"        // 7
            "== typo\n"                  // 8
            "writen: SELECT 3\n"         // 9
            "sent: SELECT 3\n"           // 10
            "== twice\n"                 // 11
            "written: SELECT 4\n"        // 12
            "written: SELECT 5\n"        // 13
            "sent: SELECT 4\n"           // 14
            "SELECT 6\n"                 // 15
            "==\n");                     // 16
    f.close();
    const rp::prueba::LecturaCasos r = rp::prueba::leerCasos(dir.path(), kClaves, kObligatorias);
    ASSERT_EQ(r.casos.size(), 1);
    EXPECT_EQ(r.casos.first().nombre, "good");
    EXPECT_EQ(r.casos.first().donde(QStringLiteral("sent")), "x.test:4");
    EXPECT_EQ(
        r.errores,
        QStringList({"x.test:1: \"written:\" before the first \"== name\"",
                     "x.test:6: case without \"sent:\"", "x.test:9: unknown key \"writen\"",
                     "x.test:8: case without \"written:\"", "x.test:13: \"written:\" given twice",
                     "x.test:15: expected \"key: value\"", "x.test:16: case without a name",
                     "x.test:16: case without \"written:\"", "x.test:16: case without \"sent:\""}));
    EXPECT_EQ(rp::prueba::desescapar(QStringLiteral("a\\nb\\s\\\\")), QStringLiteral("a\nb \\"));
    EXPECT_FALSE(rp::prueba::desescapar(QStringLiteral("LIKE '\\%'")).has_value());
}

} // namespace
