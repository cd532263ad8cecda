#include "app/Ensamblaje.h"

#include "app/MotorReportes.h"
#include "app/Programa.h"
#include "app/VentanaPrograma.h"
#include "db/provider/Connection.h"
#include "report/ExportarReporte.h"
#include "ui/Operador.h"
#include "ui/OperadorLote.h"
#include "ui/widgets/OperadorQt.h"

#include <QApplication>
#include <QDir>

namespace rp::app {

namespace {

bool sinVentanas(const OpcionesPrograma& o) {
    return o.lote || o.consulta || !o.exportar.isEmpty() || o.guardarFiltro;
}

// Queries and health checks need no painting at all.
bool sinPintura(const OpcionesPrograma& o) {
    return sinVentanas(o) && o.exportar.isEmpty();
}

// The form options of the command line (--tab, --field, --columns,
// --price, --order, --changes).
rp::report::OpcionesFormulario opcionesFormulario(const OpcionesPrograma& o) {
    rp::report::OpcionesFormulario f;
    f.pestana = o.pestana;
    f.campos = o.campos;
    f.columnas = o.columnas;
    if (o.precio)
        f.precios = {*o.precio};
    f.orden = o.orden;
    if (o.variacion)
        f.variacion = true;
    return f;
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
        rp::report::FiltrosGuardados filtros;
        return o.filtro ? rp::report::ExportarConFiltro(o.exportar, *o.filtro,
                                                        opcionesFormulario(o), filtros)
                        : rp::report::ExportarReporte(o.exportar, opcionesFormulario(o));
    };
    d->programa.guardarFiltro = [](const OpcionesPrograma& o) {
        rp::report::FiltrosGuardados filtros;
        return rp::report::GuardarFiltroDeOpciones(*o.guardarFiltro, opcionesFormulario(o),
                                                   filtros);
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
