#include "app/VentanaPrograma.h"

#include "banner/Dll_Display.h"
#include "banner/widgets/VentanaCartel.h"
#include "connections/frmAcceso.h"
#include "connections/widgets/VentanaAcceso.h"
#include "db/DB_Dll.h"
#include "lookup/widgets/VentanaConsulta.h"
#include "report/ComandosBarra.h"
#include "report/FormularioTarifario.h"
#include "report/engine/widgets/VentanaDialogoImpresion.h"
#include "report/widgets/VentanaFiltros.h"
#include "report/widgets/VentanaTarifario.h"
#include "startup/Configuracion.h"
#include "startup/Sesion.h"
#include "ui/widgets/OperadorQt.h"

#include <QApplication>
#include <QIcon>
#include <memory>

namespace rp::app {

struct VentanaPrograma::Impl {
    QApplication& aplicacion;
    rp::ui::Operador& operador;
    rp::connections::frmAcceso acceso;
    // The open window and what it works with (built by abrir).
    std::unique_ptr<rp::report::FormularioTarifario> modelo;
    std::unique_ptr<rp::banner::Dll_Display> cartel;
    std::unique_ptr<rp::report::ComandosBarra> comandos;
    std::unique_ptr<rp::report::VentanaTarifario> ventana;
};

VentanaPrograma::VentanaPrograma(QApplication& aplicacion, rp::ui::Operador& operador)
    : d(new Impl{aplicacion, operador, {}, {}, {}, {}, {}}) {
    rp::report::VentanaTarifario::aplicarEstilo(aplicacion);
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("x-office-spreadsheet")));
    if (auto* qt = dynamic_cast<rp::ui::OperadorQt*>(&operador)) {
        rp::connections::VentanaAcceso::registrar(*qt, d->acceso);
        rp::lookup::VentanaConsulta::registrar(*qt);
        rp::report::VentanaFiltros::registrar(*qt);
        qt->registrarDialogo(QStringLiteral("DialogoImpresion"),
                             [](rp::ui::DialogoModal& modelo, QWidget* padre) {
                                 return rp::motor::VentanaDialogoImpresion::mostrar(modelo, padre);
                             });
    }
}

VentanaPrograma::~VentanaPrograma() {
    if (auto* qt = dynamic_cast<rp::ui::OperadorQt*>(&d->operador))
        qt->setPadre(nullptr);
    // The window goes before the commands and the form it shows.
    d->ventana.reset();
    d->comandos.reset();
    if (d->modelo)
        d->modelo->descargar();
    d->cartel.reset();
    d->modelo.reset();
    delete d;
}

void VentanaPrograma::abrir() {
    const rp::startup::Sesion& s = rp::startup::sesion();
    d->modelo = std::make_unique<rp::report::FormularioTarifario>();
    rp::report::FormularioTarifario& modelo = *d->modelo;
    modelo.establecerColoresFoco(s.gColorFondoFoco, s.gColorLetraFoco);
    modelo.barra().setStyleBar(s.gFlatToolbars);
    d->cartel = std::make_unique<rp::banner::Dll_Display>(rp::banner::VentanaCartel::fabrica());
    auto cfg = [](const QString& clave) { return rp::startup::Cfg(clave); };
    d->comandos = std::make_unique<rp::report::ComandosBarra>(modelo, d->cartel.get(),
                                                              &rp::db::baseCompartida(), cfg);

    d->ventana = std::make_unique<rp::report::VentanaTarifario>(modelo);
    if (auto* qt = dynamic_cast<rp::ui::OperadorQt*>(&d->operador))
        qt->setPadre(d->ventana.get());
    modelo.cargar(cfg);
    QObject::connect(d->ventana.get(), &rp::report::VentanaTarifario::cerrada, &d->aplicacion,
                     &QCoreApplication::quit);
    d->ventana->show();
}

rp::report::VentanaTarifario* VentanaPrograma::ventana() const {
    return d->ventana.get();
}

} // namespace rp::app
