// Saved filters from the real window: Ctrl+S saves the form under a name,
// Ctrl+O loads one back; the same filter gives the same rows in the
// window's preview and with --export --preset on the command line.
#include "ProgramaPrueba.h"

#include "report/ComandosFiltros.h"
#include "report/FiltrosGuardados.h"
#include "report/engine/widgets/VentanaVistaPrevia.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>

namespace {

using rp::e2e::ProgramaPrueba;

class FiltrosVentana : public ProgramaPrueba {
protected:
    QByteArray configuracionAnterior;
    void SetUp() override {
        ProgramaPrueba::SetUp();
        configuracionAnterior = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
    }
    void TearDown() override {
        ProgramaPrueba::TearDown();
        if (configuracionAnterior.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", configuracionAnterior);
    }
    QString texto(const QString& clave) const {
        auto* l = qobject_cast<QLineEdit*>(campo(clave));
        return l ? l->text() : QString();
    }
    static QByteArray leer(const QString& ruta) {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(FiltrosVentana, GuardarCargarYLaMismaExportacionQueLaLineaDeComandos) {
    arrancar();
    teclear(QStringLiteral("ListaDesde"), QStringLiteral("1"));
    teclear(QStringLiteral("ListaHasta"), QStringLiteral("1"));
    teclear(QStringLiteral("ProveedorDesde"), QStringLiteral("20010"));
    guion.responderIngresar(QStringLiteral("Lista 1, proveedores desde 20010"));
    tecla(Qt::Key_S, Qt::ControlModifier);
    rp::report::FiltrosGuardados filtros;
    ASSERT_TRUE(filtros.existe(QStringLiteral("Lista 1, proveedores desde 20010")))
        << filtros.carpeta().toStdString();

    // The form changed, then the filter loaded back with Ctrl+O.
    teclear(QStringLiteral("ListaDesde"), QStringLiteral("2"));
    teclear(QStringLiteral("ProveedorDesde"), QString());
    bool mostrado = false;
    guion.responderDialogo([&](rp::ui::DialogoModal& d) {
        mostrado = true;
        auto& lista = dynamic_cast<rp::report::ListaFiltros&>(d);
        EXPECT_EQ(lista.entradas().size(), 1);
        lista.setSeleccionada(0);
        return lista.cargar();
    });
    tecla(Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(mostrado);
    EXPECT_EQ(texto(QStringLiteral("ListaDesde")), "1");
    EXPECT_EQ(texto(QStringLiteral("ProveedorDesde")), "20010");

    // The window's report of that state, exported from its preview.
    const QString desdeVentana = dir.filePath(QStringLiteral("ventana.csv"));
    tecla(Qt::Key_F5);
    rp::motor::VentanaVistaPrevia* previa = esperarPrevia();
    ASSERT_NE(previa, nullptr);
    guion.responderArchivo(desdeVentana);
    QAction* exportar = previa->findChild<QAction*>(QStringLiteral("exportarCsv"));
    ASSERT_NE(exportar, nullptr);
    exportar->trigger();
    cerrarPrevias();
    EXPECT_TRUE(mensajes().isEmpty()) << mensajes().join('\n').toStdString();
    programa.reset();

    // The command line with the same filter.
    const QString desdeLinea = dir.filePath(QStringLiteral("linea.csv"));
    QString error;
    const auto opciones = rp::app::OpcionesPrograma::leer(
        {QStringLiteral("--demo"), QStringLiteral("--program-folder"), carpeta,
         QStringLiteral("--export"), desdeLinea, QStringLiteral("--preset"),
         QStringLiteral("Lista 1, proveedores desde 20010")},
        error);
    ASSERT_TRUE(opciones) << error.toStdString();
    programa = std::make_unique<rp::app::Ensamblaje>(*opciones, &guion);
    EXPECT_EQ(programa->arrancar(), std::optional<int>(0));
    const QByteArray ventana = leer(desdeVentana);
    EXPECT_GT(ventana.count('\n'), 1);
    EXPECT_EQ(ventana, leer(desdeLinea));
}

} // namespace

namespace {

// "Mostrar variación" checked in the window puts the change columns in the
// report the preview shows and exports.
TEST_F(FiltrosVentana, MostrarVariacionEnLaVistaPrevia) {
    arrancar();
    teclear(QStringLiteral("ListaDesde"), QStringLiteral("1"));
    teclear(QStringLiteral("ListaHasta"), QStringLiteral("1"));
    auto* variacion = ventana().findChild<QCheckBox*>(QStringLiteral("ChkVariacion"));
    ASSERT_NE(variacion, nullptr);
    EXPECT_EQ(variacion->text(), "Mostrar variación");
    QTest::mouseClick(variacion, Qt::LeftButton, {}, QPoint(8, variacion->height() / 2));
    ASSERT_TRUE(variacion->isChecked());
    tecla(Qt::Key_F5);
    rp::motor::VentanaVistaPrevia* previa = esperarPrevia();
    ASSERT_NE(previa, nullptr);
    const QString csv = dir.filePath(QStringLiteral("variacion.csv"));
    guion.responderArchivo(csv);
    previa->findChild<QAction*>(QStringLiteral("exportarCsv"))->trigger();
    cerrarPrevias();
    const QByteArray texto = leer(csv);
    const QByteArray titulos = texto.left(texto.indexOf('\n'));
    EXPECT_TRUE(titulos.contains("Costo Ant.,Variación Costo,Variación % Costo"))
        << titulos.toStdString();
    EXPECT_TRUE(mensajes().isEmpty()) << mensajes().join('\n').toStdString();
}

} // namespace
