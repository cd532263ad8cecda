#include "report/ComandosBarra.h"

#include "lookup/Lib_ClsCons3.h"
#include "report/FormularioTarifario.h"
#include "report/Reporte.h"
#include "report/ReportePorFecha.h"
#include "report/ReportePorLista.h"
#include "report/ReporteUltimoCosto.h"
#include "suite/DLL_Print.h"

namespace rp::report {

ComandosBarra::ComandosBarra(FormularioTarifario& formulario, banner::Dll_Display* cartel,
                             db::DB_Dll* base, ReporteEntorno::LectorConfiguracion cfg)
    : entorno_(formulario, cartel, base, std::move(cfg)) {
    for (int pestana = 0; pestana < 3; ++pestana) {
        formulario.establecerReporte(
            pestana, [this, pestana](FormularioTarifario::Destino d) { ejecutar(pestana, d); });
    }
    formulario.establecerConsultor(&ComandosBarra::consultar);
    suite::DLL_Print::establecerImpresor([this](const suite::DLL_Print::Trabajo& t) {
        ReporteControl& control = entorno_.control;
        control.FormulasAdicionales = t.formulasAdicionales;
        control.CopiasMaximas = t.copiasMaximas;
        Reporte(control, entorno_.dialogo, t.archivo, t.orden, t.formula, t.cadenaConexion,
                t.formulas, t.subinformes[0], t.subinformes[1], t.subinformes[2]);
        control.CopiasMaximas = 0;
    });
}

ComandosBarra::~ComandosBarra() {
    suite::DLL_Print::establecerImpresor(nullptr);
    for (int pestana = 0; pestana < 3; ++pestana)
        entorno_.formulario.establecerReporte(pestana, nullptr);
    entorno_.formulario.establecerConsultor(nullptr);
}

std::optional<QString> ComandosBarra::consultar(const ConsultaCampo& consulta) {
    lookup::Lib_ClsCons3& request = lookup::gConsulta();
    request.CampoDevuelto = consulta.campoDevuelto;
    request.ConsultaSearch(consulta.sql, consulta.arbol);
    if (!request.Aceptada)
        return std::nullopt;
    return request.ValorDevuelto;
}

void ComandosBarra::ejecutar(int pestana, int destino) {
    suite::dllPrint().Destino = destino == FormularioTarifario::DestinoImpresora
                                    ? suite::DLL_Print::DestinoImpresora
                                    : suite::DLL_Print::DestinoPantalla;
    if (pestana == 0)
        ReportePorLista::ejecutar(entorno_);
    else if (pestana == 1)
        ReportePorFecha::ejecutar(entorno_);
    else
        ReporteUltimoCosto::ejecutar(entorno_);
}

} // namespace rp::report
