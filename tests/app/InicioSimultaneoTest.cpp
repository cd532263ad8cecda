#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

const QString kPrograma = QStringLiteral(RP_BINARY_DIR "/src/app/rp_tarifario");

QStringList argumentos(const QString& carpeta) {
    return {QStringLiteral("--demo"), QStringLiteral("--program-folder"), carpeta,
            QStringLiteral("--batch")};
}

} // namespace

// Many users starting at the same moment on one database: every start waits
// its turn for the access log instead of failing with "database is locked",
// and the error log never holds a torn line.
TEST(InicioSimultaneo, VeinteProcesosALaVezArrancanTodos) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    {
        QProcess primero;
        primero.start(kPrograma, argumentos(dir.path()));
        ASSERT_TRUE(primero.waitForFinished(600000));
        ASSERT_EQ(primero.exitCode(), 0) << primero.readAllStandardError().toStdString();
    }
    std::vector<std::unique_ptr<QProcess>> procesos;
    for (int i = 0; i < 20; ++i) {
        procesos.push_back(std::make_unique<QProcess>());
        procesos.back()->start(kPrograma, argumentos(dir.path()));
    }
    for (size_t i = 0; i < procesos.size(); ++i) {
        QProcess& p = *procesos[i];
        ASSERT_TRUE(p.waitForFinished(600000)) << "process " << i;
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << "process " << i;
        EXPECT_EQ(p.exitCode(), 0)
            << "process " << i << ": " << p.readAllStandardError().toStdString();
    }
    QFile log(dir.filePath(QStringLiteral("KSERR.LOG")));
    if (!log.exists())
        return;
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray todo = log.readAll();
    if (todo.isEmpty())
        return;
    EXPECT_TRUE(todo.endsWith("\r\n"));
    static const QRegularExpression registro(
        QStringLiteral(R"(^\d\d-\d\d-\d{4} \d\d:\d\d:\d\d Rutina: )"));
    QList<QByteArray> lineas = todo.split('\n');
    lineas.removeLast(); // after the last line break
    for (const QByteArray& linea : lineas) {
        const QString texto = QString::fromLatin1(linea);
        EXPECT_TRUE(texto.endsWith(u'\r') && registro.match(texto).hasMatch())
            << texto.toStdString();
    }
}

// A health check whose launch string names no database has not checked the
// database: it must not report success.
TEST(InicioSimultaneo, ChequeoSinBaseDeDatosNoSeDaPorCompleto) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcess p;
    p.start(kPrograma, argumentos(dir.path())
                           << QStringLiteral("@Server=sqlite; @Usuario=demo; @Password=demo; "
                                             "@Caja=1;"));
    ASSERT_TRUE(p.waitForFinished(600000));
    const QString salida = QString::fromUtf8(p.readAllStandardError());
    EXPECT_NE(p.exitCode(), 0) << salida.toStdString();
    EXPECT_FALSE(salida.contains(QStringLiteral("completas"))) << salida.toStdString();
}

// Exports to one file at the same time: each replaces the target in one
// rename, so all succeed and the file is one whole report.
TEST(InicioSimultaneo, ExportacionesSimultaneasAlMismoArchivo) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString destino = dir.filePath(QStringLiteral("historial.csv"));
    const QStringList exportar = argumentos(dir.path())
                                 << QStringLiteral("--export") << destino << QStringLiteral("--tab")
                                 << QStringLiteral("0") << QStringLiteral("--field")
                                 << QStringLiteral("ListaDesde=1") << QStringLiteral("--field")
                                 << QStringLiteral("ListaHasta=1");
    {
        QProcess primero;
        primero.start(kPrograma, exportar);
        ASSERT_TRUE(primero.waitForFinished(600000));
        ASSERT_EQ(primero.exitCode(), 0) << primero.readAllStandardError().toStdString();
    }
    QFile unico(destino);
    ASSERT_TRUE(unico.open(QIODevice::ReadOnly));
    const QByteArray esperado = unico.readAll();
    unico.close();
    std::vector<std::unique_ptr<QProcess>> procesos;
    for (int i = 0; i < 4; ++i) {
        procesos.push_back(std::make_unique<QProcess>());
        procesos.back()->start(kPrograma, exportar);
    }
    for (auto& p : procesos) {
        ASSERT_TRUE(p->waitForFinished(600000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    ASSERT_TRUE(unico.open(QIODevice::ReadOnly));
    EXPECT_EQ(unico.readAll(), esperado);
}
