#include "app/Ensamblaje.h"

#include "app/MotorReportes.h"
#include "app/Programa.h"
#include "app/VentanaPrograma.h"
#include "db/provider/Connection.h"
#include "report/ExportarReporte.h"
#include "ui/Operador.h"
#include "ui/OperadorLote.h"
#include "ui/OperadorQt.h"

#include <QApplication>
#include <QDir>

namespace rp::app {

namespace {

bool sinVentanas(const OpcionesPrograma& o) {
    return o.lote || o.consulta || !o.exportar.isEmpty();
}

// Queries and health checks need no painting at all.
bool sinPintura(const OpcionesPrograma& o) {
    return sinVentanas(o) && o.exportar.isEmpty();
}

} // namespace

struct Ensamblaje::Impl {
    OpcionesPrograma opciones;
    std::unique_ptr<rp::ui::Operador> operadorPropio;
    rp::ui::Operador* operador = nullptr;
    std::unique_ptr<VentanaPrograma> ventanas;
    Programa programa;
};

std::unique_ptr<QCoreApplication> Ensamblaje::crearAplicacion(const OpcionesPrograma& o, int& argc,
                                                              char** argv) {
    if (sinPintura(o))
        return std::make_unique<QCoreApplication>(argc, argv);
    // Reports are painted even without a display: exports draw offscreen.
    if (sinVentanas(o)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
            qputenv("XDG_RUNTIME_DIR", QDir::tempPath().toLocal8Bit() + "/rp_tarifario-runtime");
    }
    return std::make_unique<QApplication>(argc, argv);
}

Ensamblaje::Ensamblaje(OpcionesPrograma opciones, rp::ui::Operador* operador)
    : d(std::make_unique<Impl>()) {
    d->opciones = std::move(opciones);
    QCoreApplication::setApplicationName(QStringLiteral("rp_tarifario"));
    QCoreApplication::setOrganizationName(QStringLiteral("rp_tarifario"));
    QCoreApplication::setApplicationVersion(QStringLiteral(RP_VERSION));

    const bool conVentanas = !sinVentanas(d->opciones);
    auto* aplicacion = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (operador) {
        d->operador = operador;
    } else if (conVentanas && aplicacion) {
        d->operadorPropio = std::make_unique<rp::ui::OperadorQt>();
        d->operador = d->operadorPropio.get();
    } else {
        d->operadorPropio = std::make_unique<rp::ui::OperadorLote>();
        d->operador = d->operadorPropio.get();
    }
    if (conVentanas && aplicacion)
        d->ventanas = std::make_unique<VentanaPrograma>(*aplicacion, *d->operador);
    rp::ui::setOperador(d->operador);
    if (!sinPintura(d->opciones))
        instalarMotorReportes();

    if (d->ventanas)
        d->programa.abrirVentana = [this] {
            d->ventanas->abrir();
            return std::optional<int>();
        };
    d->programa.exportar = [](const OpcionesPrograma& o) {
        return rp::report::ExportarReporte(o.exportar, o.pestana.value_or(0), o.campos, o.columnas,
                                           o.precio, o.orden);
    };
}

Ensamblaje::~Ensamblaje() {
    d->ventanas.reset();
    quitarMotorReportes();
    rp::ui::setOperador(nullptr);
    rp::db::Connection::setTrace(nullptr);
}

std::optional<int> Ensamblaje::arrancar() {
    return d->programa.arrancar(d->opciones);
}

rp::report::VentanaTarifario* Ensamblaje::ventana() const {
    return d->ventanas ? d->ventanas->ventana() : nullptr;
}

} // namespace rp::app
