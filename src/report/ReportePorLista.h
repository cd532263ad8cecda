#pragma once

#include "report/FiltroRango.h"

#include <QString>
#include <QStringList>

namespace rp::report {

class FormularioTarifario;
struct ReporteEntorno;

// The report by price list (tab 0, "Historial de cambios"): the change
// history of V_MV_PRECIOSHIS filtered by the tab's eight ranges, with the
// chosen columns and order, template "RP_CambioPreciosHIS" resolved through
// TA_REPORTES, handed to the report output (DLL_Print::ImprimirReporte).
//
// Ranges that ArmarFiltro rejects (bounds in the wrong order, a date that is
// no date) are shown to the operator ("Aviso al Usuario") and nothing runs.
class ReportePorLista {
public:
    static void ejecutar(ReporteEntorno& entorno);

    // The eight ranges of the tab, rebuilt from the form's fields.
    static TablaFiltros filtros(const FormularioTarifario& formulario);
    // "OcultarColumnas = '1 - 2 - ... '": the tags of the unchecked columns.
    static QString ocultarColumnas(const FormularioTarifario& formulario);
    // "OcultarVariacion = 'v0 - v1 - ... '": the change columns to hide, all
    // of them unless "Mostrar variación" is checked, else those of the
    // unchecked price columns.
    static QString ocultarVariacion(const FormularioTarifario& formulario);
    // Index 0 empty, then "Precio<i>='<caption>'" or "Precio<i>=''".
    static QStringList textosPrecio(const FormularioTarifario& formulario);
    // "+" and the tag of the selected order option.
    static QString campoOrden(const FormularioTarifario& formulario);
};

} // namespace rp::report
