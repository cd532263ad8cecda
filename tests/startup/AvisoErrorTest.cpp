#include "startup/AvisoError.h"

#include "suite/SistemaInfo.h"
#include "ui/OperadorGuion.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using rp::startup::AvisoError;
using rp::startup::RutaLogAvisoError;
using rp::suite::CodErr;
using rp::ui::OperadorGuion;

namespace {

// Each test gets its own folders: "tmp" (the log folder) and TMPDIR (the
// system folder), and a scripted operator.
class AvisoErrorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(logDir_.isValid());
        ASSERT_TRUE(sistemaDir_.isValid());
        for (const QString& k : QProcessEnvironment::systemEnvironment().keys()) {
            if (k.compare("temp", Qt::CaseInsensitive) == 0 ||
                k.compare("tmp", Qt::CaseInsensitive) == 0)
                qunsetenv(k.toLocal8Bit().constData());
        }
        tmpdirAnterior_ = qgetenv("TMPDIR");
        qputenv("TMPDIR", sistemaDir_.path().toLocal8Bit());
        qputenv("temp", "x");
        qputenv("tmp", logDir_.path().toLocal8Bit());
        rp::ui::setOperador(&guion_);
    }
    void TearDown() override {
        rp::ui::setOperador(nullptr);
        qunsetenv("temp");
        qunsetenv("tmp");
        if (tmpdirAnterior_.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", tmpdirAnterior_);
    }

    QByteArray log(const QString& carpeta) const {
        QFile f(carpeta + "/KSERR.LOG");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The log text after the "mm-dd-yyyy hh:mm:ss" stamp, checking the stamp.
    static QByteArray sinFecha(const QByteArray& linea) {
        static const QRegularExpression sello("^\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d$");
        EXPECT_TRUE(sello.match(QString::fromLatin1(linea.left(19))).hasMatch()) << linea.data();
        return linea.mid(19);
    }

    QTemporaryDir logDir_;
    QTemporaryDir sistemaDir_;
    QByteArray tmpdirAnterior_;
    OperadorGuion guion_;
};

} // namespace

TEST_F(AvisoErrorTest, ErrorNumberZeroShowsNothingAndWritesNothing) {
    EXPECT_EQ(AvisoError(CodErr{0, "nada", "src"}, 18, QString("Cfg")), 0);
    EXPECT_TRUE(guion_.interacciones().isEmpty());
    EXPECT_FALSE(QFile::exists(logDir_.filePath("KSERR.LOG")));
}

TEST_F(AvisoErrorTest, BoxAndLogLineWithRoutine) {
    guion_.responderMensaje(rp::ui::vbRetry);
    EXPECT_EQ(
        AvisoError(CodErr{3021, "  No hay fila actual.  ", "ADODB.Recordset"}, 18, QString("Cfg")),
        4);
    ASSERT_EQ(guion_.mensajes().size(), 1);
    const auto m = guion_.mensajes().first();
    EXPECT_EQ(m.titulo, "ADODB.RecordsetCfg -  Aviso al operador!!! - 2 ");
    EXPECT_EQ(m.texto, "Ha ocurrido el Siguiente Error (3021) No hay fila actual.");
    EXPECT_EQ(m.estilo, 18);
    EXPECT_EQ(sinFecha(log(logDir_.path())),
              QByteArray(" Rutina: Cfg - Mensaje Ha ocurrido el Siguiente Error (3021) No hay "
                         "fila actual. Respondi\xF3 : Reintentar\r\n"));
    EXPECT_TRUE(guion_.sinInesperadas());
}

TEST_F(AvisoErrorTest, WithoutRoutineOrButtons) {
    guion_.responderMensaje(rp::ui::vbIgnore);
    EXPECT_EQ(AvisoError(CodErr{-2147467259, "Fallo", "Microsoft OLE DB"}), 5);
    const auto m = guion_.mensajes().first();
    EXPECT_EQ(m.titulo, "Microsoft OLE DB Aviso al operador!!! - 2 ");
    EXPECT_EQ(m.estilo, 18);
    EXPECT_EQ(rp::ui::respuestaPorDefecto(m.estilo), rp::ui::vbAbort);
    EXPECT_EQ(sinFecha(log(logDir_.path())),
              QByteArray(" Rutina:  Mensaje Ha ocurrido el Siguiente Error (-2147467259) Fallo "
                         "Respondi\xF3 : Ignorar\r\n"));
}

TEST_F(AvisoErrorTest, OkOnlyAnswerLeavesTheAnswerTextEmpty) {
    guion_.responderMensaje(rp::ui::vbOK);
    guion_.responderMensaje(rp::ui::vbYes);
    EXPECT_EQ(AvisoError(CodErr{5, "año", "s"}, 0, QString("FormLoad")), 1);
    EXPECT_EQ(AvisoError(CodErr{6, "b", "s"}, 4, QString("FormLoad")), 6);
    const QList<QByteArray> lineas = log(logDir_.path()).split('\n');
    ASSERT_EQ(lineas.size(), 3);
    EXPECT_EQ(sinFecha(lineas[0]), QByteArray(" Rutina: FormLoad - Mensaje Ha ocurrido el "
                                              "Siguiente Error (5) a\xF1o Respondi\xF3 : \r"));
    EXPECT_TRUE(lineas[1].endsWith("Respondi\xF3 : S\xED\r"));
    EXPECT_TRUE(lineas[2].isEmpty());
}

TEST_F(AvisoErrorTest, LogFolderFallsBackToTheSystemFolder) {
    qputenv("tmp", "   ");
    EXPECT_EQ(RutaLogAvisoError(), sistemaDir_.path() + "/KSERR.LOG");
    qunsetenv("temp");
    qputenv("tmp", logDir_.path().toLocal8Bit());
    EXPECT_EQ(RutaLogAvisoError(), sistemaDir_.path() + "/KSERR.LOG");
    guion_.responderMensaje(rp::ui::vbAbort);
    EXPECT_EQ(AvisoError(CodErr{1, "x", "s"}), 3);
    EXPECT_TRUE(log(sistemaDir_.path()).endsWith("Respondi\xF3 : Abortar\r\n"));
    EXPECT_FALSE(QFile::exists(logDir_.filePath("KSERR.LOG")));
}

TEST_F(AvisoErrorTest, VariableNamesMatchInAnyCase) {
    qunsetenv("temp");
    qunsetenv("tmp");
    qputenv("TEMP", "x");
    qputenv("TMP", (logDir_.path() + "/").toLocal8Bit());
    EXPECT_EQ(RutaLogAvisoError(), logDir_.path() + "/KSERR.LOG");
    qunsetenv("TEMP");
    qunsetenv("TMP");
}

TEST_F(AvisoErrorTest, UnwritableFolderStillAsksAndReturnsTheAnswer) {
    QFile archivo(logDir_.filePath("no-es-carpeta"));
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.close();
    qputenv("tmp", archivo.fileName().toLocal8Bit());
    guion_.responderMensaje(rp::ui::vbRetry);
    EXPECT_EQ(AvisoError(CodErr{9, "x", "s"}, 18, QString("R")), 4);
    EXPECT_EQ(guion_.mensajes().size(), 1);
}
