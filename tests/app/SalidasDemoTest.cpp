// The program's outputs on the demo database stay what they were: the CSV of
// the change history and of the last-cost report byte for byte as the
// references in datos/ (written by the program before its speed work), the
// PDF's text as the reference's, and the last-cost scan writing the dates the
// rules give, worked out here from the demo rows. The PDF pages themselves
// are compared as images in the engine's render tests (PintorRapidoTest).
#include "db/provider/Connection.h"
#include "db/provider/SqliteProvider.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kPrograma = QStringLiteral(RP_BINARY_DIR "/src/app/rp_tarifario");
const QString kDatos = QStringLiteral(RP_SOURCE_DIR "/tests/app/datos/");

class SalidasDemo : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    // The program on a demo folder of its own (prepared on the first run);
    // returns the exit status, the errors in `errores`.
    int correr(const QStringList& args, QString* errores = nullptr) {
        QProcess p;
        p.start(kPrograma, QStringList{QStringLiteral("--demo"), QStringLiteral("--program-folder"),
                                       dir_.path(), QStringLiteral("--batch")} +
                               args);
        if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit)
            return -1;
        if (errores)
            *errores = QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    }
    QString ruta(const char* nombre) const { return dir_.filePath(QString::fromLatin1(nombre)); }
    static QByteArray leer(const QString& archivo) {
        QFile f(archivo);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Each article's FHULTIMOCOSTO as "yyyy-MM-dd HH:mm:ss" (empty: none).
    QHash<QString, QString> fechasGuardadas() {
        rp::db::Connection c;
        c.openWith(std::make_unique<rp::db::SqliteProvider>(), ruta("EMPRESA_DEMO.db"));
        QHash<QString, QString> r;
        auto cur =
            c.execute(QStringLiteral("SELECT IDARTICULO, FHULTIMOCOSTO FROM V_MA_ARTICULOS"));
        while (cur && cur->fetch())
            r.insert(cur->value(0).toString(), texto(cur->value(1)));
        return r;
    }
    static QString texto(const QVariant& v) {
        if (v.isNull())
            return QString();
        if (v.typeId() == QMetaType::QDateTime)
            return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return v.toString().left(19).replace(QLatin1Char('T'), QLatin1Char(' '));
    }

    // Empty when equal, else the first line that differs in each.
    static std::string primeraDiferencia(const QByteArray& a, const QByteArray& b) {
        const QList<QByteArray> la = a.split('\n'), lb = b.split('\n');
        for (qsizetype i = 0; i < std::max(la.size(), lb.size()); ++i) {
            if (la.value(i) != lb.value(i))
                return "line " + std::to_string(i + 1) + ":\n" + la.value(i).toStdString() +
                       "\ninstead of\n" + lb.value(i).toStdString();
        }
        return std::string();
    }

    QTemporaryDir dir_;
};

const QStringList kHistorial = {QStringLiteral("--tab"),    QStringLiteral("0"),
                                QStringLiteral("--field"),  QStringLiteral("ArticuloDesde=1"),
                                QStringLiteral("--field"),  QStringLiteral("ArticuloHasta=12"),
                                QStringLiteral("--changes")};

} // namespace

// The history with its change columns (numbers, signs, arrows, percentages,
// dates) and the last-cost report: same bytes as before the speed work.
TEST_F(SalidasDemo, CsvComoLaReferencia) {
    QString errores;
    ASSERT_EQ(0, correr(QStringList{QStringLiteral("--export"), ruta("historial.csv")} + kHistorial,
                        &errores))
        << errores.toStdString();
    const QByteArray historial = leer(ruta("historial.csv"));
    ASSERT_GT(historial.count('\n'), 100);
    EXPECT_EQ(primeraDiferencia(historial, leer(kDatos + QStringLiteral("historial-demo.csv"))), "")
        << "the history CSV differs from tests/app/datos/historial-demo.csv";

    ASSERT_EQ(0, correr({QStringLiteral("--export"), ruta("ultimo.csv"), QStringLiteral("--tab"),
                         QStringLiteral("2"), QStringLiteral("--field"), QStringLiteral("ListaC=1"),
                         QStringLiteral("--field"), QStringLiteral("ArtDesdeC=1"),
                         QStringLiteral("--field"), QStringLiteral("ArtHastaC=300")},
                        &errores))
        << errores.toStdString();
    const QByteArray ultimo = leer(ruta("ultimo.csv"));
    ASSERT_GT(ultimo.count('\n'), 10);
    EXPECT_EQ(primeraDiferencia(ultimo, leer(kDatos + QStringLiteral("ultimo-costo-demo.csv"))), "")
        << "the last-cost CSV differs from tests/app/datos/ultimo-costo-demo.csv";
}

// The PDF of the same history reads as the reference (pdftotext of the PDF
// the program wrote before its speed work), but for the date and time it
// was printed: the same words on the pages.
TEST_F(SalidasDemo, PdfConElTextoDeLaReferencia) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) not installed";
    QString errores;
    ASSERT_EQ(0, correr(QStringList{QStringLiteral("--export"), ruta("historial.pdf")} + kHistorial,
                        &errores))
        << errores.toStdString();
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {ruta("historial.pdf"), QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(120000));
    const auto palabras = [](QString t) {
        static const QRegularExpression impreso(
            QStringLiteral("Impreso el \\d\\d/\\d\\d/\\d{4} a las \\d\\d:\\d\\d"));
        static const QRegularExpression fecha(QStringLiteral("Fecha: \\d\\d/\\d\\d/\\d{4}"));
        t.replace(impreso, QStringLiteral("Impreso el")).replace(fecha, QStringLiteral("Fecha:"));
        QStringList r = t.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        r.sort();
        return r;
    };
    const QStringList pdf = palabras(QString::fromUtf8(p.readAllStandardOutput()));
    const QStringList referencia =
        palabras(QString::fromUtf8(leer(kDatos + QStringLiteral("historial-demo-pdf.txt"))));
    ASSERT_GT(referencia.size(), 1000);
    EXPECT_EQ(pdf.size(), referencia.size());
    for (qsizetype i = 0; i < std::min(pdf.size(), referencia.size()); ++i) {
        if (pdf[i] != referencia[i]) {
            ADD_FAILURE() << "word " << i << ": " << pdf[i].toStdString() << " instead of "
                          << referencia[i].toStdString();
            break;
        }
    }
}

// The scan of list 1 over the whole catalogue writes, for each article, the
// latest change of list 1 with a cost above 0 when there was no date or the
// stored one is more than 10 seconds earlier; other articles keep theirs.
TEST_F(SalidasDemo, EscaneoCambiaLasFilasQueDanLasReglas) {
    ASSERT_EQ(0, correr({QStringLiteral("--query"), QStringLiteral("SELECT 1")}));
    QHash<QString, QString> esperadas = fechasGuardadas();
    ASSERT_GT(esperadas.size(), 50);
    int cambian = 0;
    {
        rp::db::Connection c;
        c.openWith(std::make_unique<rp::db::SqliteProvider>(), ruta("EMPRESA_DEMO.db"));
        auto cur = c.execute(
            QStringLiteral("SELECT IDARTICULO, MAX(FECHAHORA) FROM V_MV_PRECIOSHIS WHERE IDLISTA "
                           "= '1' AND COSTO > 0 GROUP BY IDARTICULO"));
        const QString formato = QStringLiteral("yyyy-MM-dd HH:mm:ss");
        while (cur && cur->fetch()) {
            const QString articulo = cur->value(0).toString();
            const QString ultima = texto(cur->value(1));
            const QString guardada = esperadas.value(articulo);
            if (guardada.isEmpty() ||
                QDateTime::fromString(guardada, formato)
                        .secsTo(QDateTime::fromString(ultima, formato)) > 10) {
                esperadas[articulo] = ultima;
                ++cambian;
            }
        }
    }
    ASSERT_GT(cambian, 0);
    QString errores;
    ASSERT_EQ(0,
              correr({QStringLiteral("--export"), ruta("ultimo.csv"), QStringLiteral("--tab"),
                      QStringLiteral("2"), QStringLiteral("--field"), QStringLiteral("ListaC=1")},
                     &errores))
        << errores.toStdString();
    const QHash<QString, QString> despues = fechasGuardadas();
    EXPECT_EQ(despues.size(), esperadas.size());
    int distintas = 0;
    for (auto it = esperadas.cbegin(); it != esperadas.cend(); ++it) {
        if (despues.value(it.key()) != it.value() && ++distintas <= 5)
            ADD_FAILURE() << "article " << it.key().trimmed().toStdString() << ": "
                          << despues.value(it.key()).toStdString() << " instead of "
                          << it.value().toStdString();
    }
    EXPECT_EQ(distintas, 0);
}
