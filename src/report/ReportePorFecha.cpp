#include "report/ReportePorFecha.h"

#include "db/TextoVb.h"
#include "report/FormularioTarifario.h"
#include "report/Reporte.h"
#include "report/ReporteEntorno.h"
#include "report/ReportePasos.h"
#include "suite/Regional.h"
#include "suite/Utilidades.h"
#include "ui/Operador.h"

namespace rp::report {

using db::TextoVb;
using suite::Utilidades;

QString ReportePorFecha::condicionArticulos(const FormularioTarifario& f) {
    struct Columna {
        const char* campo;
        const char* comparacion;
        int ancho; // 0 = as typed
    };
    static const Columna columnas[] = {
        {"ArtDesde", "V_MA_ARTICULOS.IDARTICULO>=", 25},
        {"ArtHasta", "V_MA_ARTICULOS.IDARTICULO<=", 25},
        {"RubDesde", "V_MA_ARTICULOS.IDRUBRO>=", 4},
        {"RubHasta", "V_MA_ARTICULOS.IDRUBRO<=", 4},
        {"ProvDesde", "V_MA_ARTICULOS.CUENTAPROVEEDOR>=", 0},
        {"ProvHasta", "V_MA_ARTICULOS.CUENTAPROVEEDOR<=", 0},
        {"FliaDesde", "V_MA_ARTICULOS.IDFAMILIA>=", 0},
        {"FliaHasta", "V_MA_ARTICULOS.IDFAMILIA<=", 0},
    };
    QString w;
    for (const Columna& c : columnas) {
        const QString texto = f.textoDe(QLatin1String(c.campo)).trimmed();
        if (texto.isEmpty())
            continue;
        const QString cota = c.ancho > 0 ? Utilidades::FormatoCodigo(texto, c.ancho) : texto;
        w += (w.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ")) +
             QLatin1String(c.comparacion) + QLatin1Char('\'') + TextoVb::duplicarApostrofes(cota) +
             QStringLiteral("' ");
    }
    return w;
}

QString ReportePorFecha::formulaUsuario(const FormularioTarifario& f) {
    const QString usuario = f.textoDe(QStringLiteral("UsrDesde")).trimmed();
    if (usuario.isEmpty())
        return QString();
    return QStringLiteral("{KS_RP_CambiosPreciosHis;1.USUARIO}='") +
           TextoVb::duplicarApostrofes(usuario) + QStringLiteral("'");
}

int ReportePorFecha::clase(const FormularioTarifario& f) {
    for (int i = 0; i <= 8; ++i) {
        if (f.optPrecios(i))
            return i;
    }
    return 0;
}

std::optional<QDate> ReportePorFecha::fecha(const FormularioTarifario& f) {
    const std::optional<QDateTime> m =
        suite::Regional::actual().textoAFechaHora(f.textoDe(QStringLiteral("Fecha")));
    // The procedure looks up to the end of the day: the day after must exist too.
    if (!m || m->date() < QDate(1753, 1, 1) || m->date() > QDate(9999, 12, 30))
        return std::nullopt;
    return m->date();
}

std::array<QString, 4> ReportePorFecha::parametros(const FormularioTarifario& f) {
    const QString fin = QStringLiteral(";TRUE");
    // The date as read on this workstation, in the one form every database
    // reads alike (yyyymmdd), never the typed text.
    const std::optional<QDate> d = fecha(f);
    const QString textoFecha =
        d ? d->toString(QStringLiteral("yyyyMMdd")) : f.textoDe(QStringLiteral("Fecha"));
    return {QStringLiteral("@FECHA;") + textoFecha + fin,
            QStringLiteral("@LISTA;") + f.textoDe(QStringLiteral("Lista")) + fin,
            QStringLiteral("@CLASE;") + QString::number(clase(f)) + fin,
            QStringLiteral("@WHERE;") + condicionArticulos(f) + fin};
}

void ReportePorFecha::ejecutar(ReporteEntorno& e) {
    const FormularioTarifario& f = e.formulario;
    ReporteControl& control = e.control;
    const QString lista = f.textoDe(QStringLiteral("Lista"));
    const QString fecha = f.textoDe(QStringLiteral("Fecha"));
    TitulosReporte titulos;
    QString formula;
    bool detener = false;
    ReportePasos paso([](const suite::CodErr& error) { return Utilidades::MensajeError(error); });

    const QList<std::function<void()>> pasos = {
        [&] { titulos[0] = e.tituloEmpresa(); },
        [&] {
            // Field texts inside the formula's quotes, apostrophes doubled.
            titulos[1] = QStringLiteral("Parametros='Lista=") + TextoVb::duplicarApostrofes(lista) +
                         QStringLiteral("   Fecha=") + TextoVb::duplicarApostrofes(fecha) +
                         QStringLiteral("'");
        },
        [&] { e.prepararControl(); },
        [&] {
            QString aviso;
            if (lista.trimmed().isEmpty())
                aviso = QStringLiteral("Debe Informar la Lista de Precios!!!");
            else if (!ReportePorFecha::fecha(f))
                aviso = QStringLiteral("La fecha informada es incorrecta!!!");
            if (!aviso.isEmpty()) {
                ui::operador().mensaje(aviso, ui::estilo::Information,
                                       QStringLiteral("Aviso al Usuario"));
                detener = true;
            }
        },
        [&] { ReporteEntorno::titulosDePrecio(titulos, f.tituloOptPrecios(clase(f))); },
        [&] { formula = formulaUsuario(f); },
        [&] {
            const std::array<QString, 4> p = parametros(f);
            for (int i = 0; i < 4; ++i)
                control.ParameterFields[i] = p[i];
        },
        [&] {
            Reporte(control, e.dialogo, QStringLiteral("RP_CambioPreciosHISFEcha"), {QString()},
                    formula, e.cadenaDSN(), titulos);
        },
    };
    for (const auto& p : pasos) {
        if (!paso(p) || detener)
            return;
    }
}

} // namespace rp::report
