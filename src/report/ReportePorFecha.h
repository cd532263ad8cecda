#pragma once

#include <QDate>
#include <QString>
#include <array>
#include <optional>

namespace rp::report {

class FormularioTarifario;
struct ReporteEntorno;

// The report by date (tab 1, "Último cambio según Fecha"): for one price list
// and one date, each article's last change up to that date with the current
// and previous value of one price class, from the database procedure
// "KS_RP_CambiosPreciosHis" (@FECHA, @LISTA, @CLASE, @WHERE), template
// "RP_CambioPreciosHISFEcha", run through Reporte.
class ReportePorFecha {
public:
    static void ejecutar(ReporteEntorno& entorno);

    // The article condition @WHERE: " WHERE col>='bound' " joined with " AND ",
    // or empty. Bounds keep their apostrophes doubled, so the condition stays
    // one condition whatever was typed.
    static QString condicionArticulos(const FormularioTarifario& formulario);
    // The selection formula on the user (empty when UsrDesde is empty).
    static QString formulaUsuario(const FormularioTarifario& formulario);
    // The date of the "Fecha" field as this workstation reads it; none when it
    // is no date or lies outside what the procedure can take.
    static std::optional<QDate> fecha(const FormularioTarifario& formulario);
    // The procedure parameters "@FECHA;yyyymmdd;TRUE", "@LISTA;..;TRUE",
    // "@CLASE;..;TRUE", "@WHERE;..;TRUE".
    static std::array<QString, 4> parametros(const FormularioTarifario& formulario);
    // The first selected price option of the tab (0 "Costo" .. 8).
    static int clase(const FormularioTarifario& formulario);
};

} // namespace rp::report
