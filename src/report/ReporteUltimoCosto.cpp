#include "report/ReporteUltimoCosto.h"

#include "banner/Dll_Display.h"
#include "db/TextoVb.h"
#include "report/EscaneoUltimoCosto.h"
#include "report/FormularioTarifario.h"
#include "report/Reporte.h"
#include "report/ReporteEntorno.h"
#include "report/ReportePasos.h"
#include "suite/Utilidades.h"
#include "ui/Operador.h"

namespace rp::report {

using db::TextoVb;
using suite::Utilidades;

ReporteUltimoCosto::Rangos ReporteUltimoCosto::rangos(const FormularioTarifario& f) {
    struct Par {
        const char* desde;
        const char* hasta;
        const char* campo;
        const char* columna;
        int ancho; // 0 = as typed
    };
    static const Par pares[] = {
        {"ArtDesdeC", "ArtHastaC", "{V_MA_ARTICULOS.IDARTICULO}", "V_MA_ARTICULOS.IDARTICULO", 25},
        {"RubDesdeC", "RubHastaC", "{V_MA_ARTICULOS.IDRUBRO}", "V_MA_ARTICULOS.IDRUBRO", 4},
        {"ProvDesdeC", "ProvHastaC", "{V_MA_ARTICULOS.CUENTAPROVEEDOR}",
         "V_MA_ARTICULOS.CUENTAPROVEEDOR", 0},
        {"FliaDesdeC", "FliaHastaC", "{V_MA_ARTICULOS.IDFAMILIA}", "V_MA_ARTICULOS.IDFAMILIA", 0},
    };
    Rangos r;
    for (const Par& p : pares) {
        auto cota = [&](const char* clave) {
            const QString t = f.textoDe(QLatin1String(clave)).trimmed();
            if (t.isEmpty())
                return QString();
            return TextoVb::duplicarApostrofes(p.ancho > 0 ? Utilidades::FormatoCodigo(t, p.ancho)
                                                           : t);
        };
        const QString desde = cota(p.desde);
        const QString hasta = cota(p.hasta);
        const QString campo = QLatin1String(p.campo);
        const QString columna = QLatin1String(p.columna);
        QString g;
        if (!desde.isEmpty()) {
            r.formula += (r.formula.isEmpty() ? QStringLiteral(" ") : QStringLiteral(" AND ")) +
                         campo + QStringLiteral(">='") + desde + QStringLiteral("' ");
            g = QLatin1Char(' ') + columna + QStringLiteral(">='") + desde + QLatin1Char('\'');
        }
        if (!hasta.isEmpty()) {
            r.formula += (r.formula.isEmpty() ? QStringLiteral(" ") : QStringLiteral(" AND ")) +
                         campo + QStringLiteral("<='") + hasta + QStringLiteral("' ");
            g += (g.isEmpty() ? QStringLiteral(" ") : QStringLiteral(" AND ")) + columna +
                 QStringLiteral("<='") + hasta + QLatin1Char('\'');
        }
        if (!desde.isEmpty() && !hasta.isEmpty())
            g = QLatin1Char('(') + g + QLatin1Char(')');
        if (!g.isEmpty())
            r.condicion = r.condicion.isEmpty() ? g : r.condicion + QStringLiteral(" AND ") + g;
    }
    return r;
}

int ReporteUltimoCosto::clase(const FormularioTarifario& f) {
    for (int i = 0; i <= 17; ++i) {
        if (f.optPrecios(i))
            return i;
    }
    return 0;
}

void ReporteUltimoCosto::ejecutar(ReporteEntorno& e) {
    const FormularioTarifario& f = e.formulario;
    ReporteControl& control = e.control;
    TitulosReporte titulos;
    Rangos r;
    ReportePasos paso([&e](const suite::CodErr& error) {
        e.cartel().CartelCerrar();
        return Utilidades::MensajeError(error);
    });
    const QString nombre = QStringLiteral("RP_CambioPreciosHISFEchacosto");
    bool fin = false;
    const QList<std::function<void()>> pasos = {
        [&] {
            titulos[0] = e.tituloEmpresa();
            // The header names the list this tab scans (not the fields of
            // the report by date), quoted as a formula text.
            titulos[1] =
                QStringLiteral("Parametros='Lista=") +
                TextoVb::duplicarApostrofes(f.textoDe(QStringLiteral("ListaC")).trimmed()) +
                QStringLiteral("'");
        },
        [&] { e.prepararControl(); },
        [&] { ReporteEntorno::titulosDePrecio(titulos, f.tituloOptPrecios(clase(f))); },
        [&] { r = rangos(f); },
        // Without a price list the scan would find nothing and the report
        // would list stale dates.
        [&] {
            if (f.textoDe(QStringLiteral("ListaC")).trimmed().isEmpty()) {
                ui::operador().mensaje(QStringLiteral("Debe Informar la Lista de Precios!!!"),
                                       ui::estilo::Information, QStringLiteral("Aviso al Usuario"));
                fin = true;
            }
        },
        // Whatever would refuse the report is checked before the scan
        // writes a date.
        [&] { fin = !ComprobarReporte(nombre); },
        // The scan can be long: the banner offers to stop it.
        [&] { e.cartel().CartelInicio(QStringLiteral("Calculando.."), true); },
        [&] {
            const EscaneoUltimoCosto::Resultado escaneo =
                EscaneoUltimoCosto(e.base(), e.cartel())
                    .ejecutar(f.textoDe(QStringLiteral("ListaC")).trimmed(), r.condicion);
            // A scan stopped by the operator or by a failure (already
            // reported) leaves the report unrun: its dates would be stale.
            fin = !escaneo.completo;
        },
        [&] {
            Reporte(control, e.dialogo, nombre, {QString()}, r.formula, e.cadenaDSN(), titulos);
        },
    };
    for (const auto& p : pasos) {
        if (!paso(p) || fin)
            return;
    }
}

} // namespace rp::report
