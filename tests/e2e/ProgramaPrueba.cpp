#include "ProgramaPrueba.h"

#include "app/demo/CarpetaDemo.h"
#include "db/DB_Dll.h"
#include "db/provider/Connection.h"
#include "db/provider/SqliteProvider.h"
#include "report/widgets/QtCampoTexto.h"
#include "startup/Configuracion.h"
#include "startup/Sesion.h"
#include "suite/DLL_Print.h"
#include "suite/Regional.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

namespace rp::e2e {

namespace {

// The demo folder is generated once per test run and copied for each test:
// the tests write to it (access log, cost dates).
QString carpetaModelo() {
    static QTemporaryDir modelo;
    static const QString ruta = [] {
        const QString r = modelo.filePath(QStringLiteral("demo"));
        rp::demo::CarpetaDemo demo;
        demo.setCarpetaPlantillas(QStringLiteral(RP_SOURCE_DIR "/templates"));
        if (!demo.prepararCarpetaDemo(r))
            ADD_FAILURE() << demo.error().toStdString();
        return r;
    }();
    return ruta;
}

bool copiarCarpeta(const QString& desde, const QString& hasta) {
    if (!QDir().mkpath(hasta))
        return false;
    QDirIterator it(desde, QDir::Files);
    while (it.hasNext()) {
        it.next();
        if (!QFile::copy(it.filePath(), QDir(hasta).filePath(it.fileName())))
            return false;
    }
    return true;
}

} // namespace

void ProgramaPrueba::SetUp() {
    ASSERT_TRUE(dir.isValid());
    carpeta = dir.filePath(QStringLiteral("programa"));
    ASSERT_TRUE(copiarCarpeta(carpetaModelo(), carpeta));
    carpeta += QLatin1Char('/');
    // The workstation of the tests reads dates day first with "/".
    rp::suite::Regional::establecer(rp::suite::Regional::espaniol());
}

void ProgramaPrueba::TearDown() {
    cerrarPrevias();
    programa.reset();
    EXPECT_TRUE(guion.sinInesperadas()) << guion.resumenInesperadas().toStdString();
    // The process keeps the session of a run; the next test starts afresh.
    for (rp::db::DB_Dll* db : {&rp::db::baseCompartida(), &rp::startup::gDBEstadisticas()}) {
        if (db->gCnn && db->gCnn->isOpen())
            db->gCnn->close();
        db->gCnn.reset();
        db->gOpenFlag = false;
    }
    rp::startup::sesion() = rp::startup::Sesion{};
    rp::startup::configuracion() = rp::startup::ConfiguracionCargada{};
    rp::suite::dllPrint() = rp::suite::DLL_Print{};
}

void ProgramaPrueba::arrancar(const QStringList& argumentos) {
    QString error;
    const auto opciones = rp::app::OpcionesPrograma::leer(
        QStringList{QStringLiteral("--demo"), QStringLiteral("--program-folder"), carpeta} +
            argumentos,
        error);
    ASSERT_TRUE(opciones) << error.toStdString();
    programa = std::make_unique<rp::app::Ensamblaje>(*opciones, &guion);
    const std::optional<int> estado = programa->arrancar();
    ASSERT_FALSE(estado) << "the program ended with status " << *estado;
    ASSERT_NE(programa->ventana(), nullptr);
    ventana().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana()));
}

rp::report::VentanaTarifario& ProgramaPrueba::ventana() const {
    return *programa->ventana();
}

QWidget* ProgramaPrueba::campo(const QString& clave) const {
    for (auto* c : ventana().findChildren<rp::report::QtCampoTexto*>()) {
        if (c->property("key").toString().compare(clave, Qt::CaseInsensitive) == 0)
            return c;
    }
    ADD_FAILURE() << "no field " << clave.toStdString();
    return nullptr;
}

void ProgramaPrueba::teclear(const QString& clave, const QString& texto) {
    QWidget* c = campo(clave);
    if (!c)
        return;
    QTest::mouseClick(c, Qt::LeftButton);
    c->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(c, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(c, Qt::Key_Delete);
    QTest::keyClicks(c, texto);
}

void ProgramaPrueba::tecla(int key, Qt::KeyboardModifiers mods) {
    QWidget* destino = QApplication::focusWidget();
    if (!destino)
        destino = &ventana();
    QTest::keyClick(destino, Qt::Key(key), mods);
}

void ProgramaPrueba::irAPestana(int n) {
    auto* pestanas = ventana().findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    ASSERT_NE(pestanas, nullptr);
    for (int vueltas = 0; pestanas->currentIndex() != n && vueltas < 6; ++vueltas) {
        if (!QApplication::focusWidget())
            pestanas->setFocus();
        tecla(Qt::Key_Tab, pestanas->currentIndex() < n ? Qt::ControlModifier
                                                        : Qt::ControlModifier | Qt::ShiftModifier);
    }
    ASSERT_EQ(pestanas->currentIndex(), n);
}

QList<rp::motor::VentanaVistaPrevia*> ProgramaPrueba::previas() const {
    QList<rp::motor::VentanaVistaPrevia*> r;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* v = qobject_cast<rp::motor::VentanaVistaPrevia*>(w); v && v->isVisible())
            r << v;
    }
    return r;
}

rp::motor::VentanaVistaPrevia* ProgramaPrueba::esperarPrevia() {
    if (!QTest::qWaitFor([this] { return !previas().isEmpty(); }, 30000))
        return nullptr;
    rp::motor::VentanaVistaPrevia* v = previas().first();
    if (!QTest::qWaitFor([v] { return v->terminado(); }, 30000))
        return nullptr;
    return v;
}

void ProgramaPrueba::cerrarPrevias() {
    for (auto* v : previas())
        v->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QVariant ProgramaPrueba::valor(const QString& sql) const {
    rp::db::Connection cnn;
    cnn.openWith(std::make_unique<rp::db::SqliteProvider>(),
                 carpeta + rp::demo::CarpetaDemo::archivoEmpresa());
    auto c = cnn.execute(sql);
    return c && c->fetch() ? c->value(0) : QVariant();
}

QStringList ProgramaPrueba::mensajes() const {
    QStringList r;
    for (const auto& m : guion.mensajes())
        r << m.titulo + QLatin1Char('|') + m.texto;
    return r;
}

int ProgramaPrueba::paginasPdf(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray datos = f.readAll();
    static const QRegularExpression pagina(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    return static_cast<int>(QString::fromLatin1(datos).count(pagina));
}

} // namespace rp::e2e
