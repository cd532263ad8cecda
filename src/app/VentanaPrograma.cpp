#include "app/VentanaPrograma.h"

#include "banner/Dll_Display.h"
#include "banner/VentanaCartel.h"
#include "connections/VentanaAcceso.h"
#include "connections/frmAcceso.h"
#include "db/DB_Dll.h"
#include "report/ComandosBarra.h"
#include "report/FormularioTarifario.h"
#include "report/VentanaTarifario.h"
#include "report/engine/VentanaDialogoImpresion.h"
#include "startup/Configuracion.h"
#include "startup/Sesion.h"
#include "ui/OperadorQt.h"

#include <QApplication>
#include <QIcon>

namespace rp::app {

struct VentanaPrograma::Impl {
    QApplication& aplicacion;
    rp::ui::OperadorQt& operador;
    rp::connections::frmAcceso acceso;
};

VentanaPrograma::VentanaPrograma(QApplication& aplicacion, rp::ui::OperadorQt& operador)
    : d(new Impl{aplicacion, operador, {}}) {
    rp::report::VentanaTarifario::aplicarEstilo(aplicacion);
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("x-office-spreadsheet")));
    rp::connections::VentanaAcceso::registrar(operador, d->acceso);
    operador.registrarDialogo(QStringLiteral("DialogoImpresion"),
                              [](rp::ui::DialogoModal& modelo, QWidget* padre) {
                                  return rp::motor::VentanaDialogoImpresion::mostrar(modelo, padre);
                              });
}

VentanaPrograma::~VentanaPrograma() {
    delete d;
}

int VentanaPrograma::ejecutar() {
    const rp::startup::Sesion& s = rp::startup::sesion();
    rp::report::FormularioTarifario modelo;
    modelo.establecerColoresFoco(s.gColorFondoFoco, s.gColorLetraFoco);
    modelo.barra().setStyleBar(s.gFlatToolbars);
    rp::banner::Dll_Display cartel(rp::banner::VentanaCartel::fabrica());
    auto cfg = [](const QString& clave) { return rp::startup::Cfg(clave); };
    rp::report::ComandosBarra comandos(modelo, &cartel, &rp::db::baseCompartida(), cfg);

    rp::report::VentanaTarifario ventana(modelo);
    d->operador.setPadre(&ventana);
    modelo.cargar(cfg);
    QObject::connect(&ventana, &rp::report::VentanaTarifario::cerrada, &d->aplicacion,
                     &QCoreApplication::quit);
    ventana.show();
    const int estado = d->aplicacion.exec();
    d->operador.setPadre(nullptr);
    return estado;
}

} // namespace rp::app
