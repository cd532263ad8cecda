#include "report/ReportePorLista.h"

#include "report/ArmarFiltro.h"
#include "report/FormularioTarifario.h"
#include "report/ReporteEntorno.h"
#include "startup/NombreReporte.h"
#include "suite/DLL_Print.h"
#include "suite/Utilidades.h"
#include "ui/Operador.h"

namespace rp::report {

using suite::Utilidades;

TablaFiltros ReportePorLista::filtros(const FormularioTarifario& f) {
    struct Rango {
        QString campo;
        const char* desde;
        const char* hasta;
        qint16 tipo;
        bool sinRecorte;
    };
    const QList<Rango> rangos = {
        {QStringLiteral("{") + f.vistaPrincipal() + QStringLiteral(".IdLista") +
             QStringLiteral("}"),
         "ListaDesde", "ListaHasta", 200, false},
        {QStringLiteral("{v_ma_precioscab.Nombre") + QStringLiteral("}"), "NombreDesde",
         "NombreHasta", 129, false},
        {QStringLiteral("{v_ma_articulos.idrubro}"), "RubroDesde", "RubroHasta", 129, false},
        {QStringLiteral("{v_ma_articulos.cuentaproveedor}"), "ProveedorDesde", "ProveedorHasta",
         129, false},
        {QStringLiteral("{v_ma_articulos.idfamilia}"), "FamiliaDesde", "FamiliaHasta", 129, false},
        {QStringLiteral("{v_mv_precioshis.fechahora}"), "FechaDesde", "FechaHasta", 7, false},
        {QStringLiteral("{v_mv_precioshis.usuario}"), "UsuarioDesde", "UsuarioHasta", 129, false},
        {QStringLiteral("{v_ma_articulos.idarticulo}"), "ArticuloDesde", "ArticuloHasta", 129,
         true},
    };
    TablaFiltros t;
    for (const Rango& r : rangos) {
        FiltroRango fr;
        fr.CampoReporte = r.campo;
        fr.TipoDato = r.tipo;
        fr.SinRecorte = r.sinRecorte;
        fr.ValorDesde = f.textoDe(QLatin1String(r.desde)).trimmed();
        fr.ValorHasta = f.textoDe(QLatin1String(r.hasta)).trimmed();
        if (r.sinRecorte) {
            fr.ValorDesde = Utilidades::FormatoCodigo(fr.ValorDesde, 25);
            fr.ValorHasta = Utilidades::FormatoCodigo(fr.ValorHasta, 25);
        }
        t << fr;
    }
    return t;
}

QString ReportePorLista::ocultarColumnas(const FormularioTarifario& f) {
    QString lista;
    for (int i = 0; i <= 9; ++i) {
        if (!f.chkFiltro(i))
            lista += QString::number(i) + QStringLiteral(" - ");
    }
    return QStringLiteral("OcultarColumnas = '") + lista + QStringLiteral("'");
}

QString ReportePorLista::ocultarVariacion(const FormularioTarifario& f) {
    QString lista;
    for (int i = 0; i <= 8; ++i) {
        if (!f.mostrarVariacion() || !f.chkFiltro(i))
            lista += QStringLiteral("v") + QString::number(i) + QStringLiteral(" - ");
    }
    return QStringLiteral("OcultarVariacion = '") + lista + QStringLiteral("'");
}

QStringList ReportePorLista::textosPrecio(const FormularioTarifario& f) {
    QStringList textos{QString()};
    for (int i = 1; i <= 8; ++i) {
        textos << QStringLiteral("Precio") + QString::number(i) + QStringLiteral("='") +
                      (f.chkFiltro(i) ? f.tituloChkFiltro(i) : QString()) + QStringLiteral("'");
    }
    return textos;
}

QString ReportePorLista::campoOrden(const FormularioTarifario& f) {
    return QStringLiteral("+") + f.campoOrden();
}

void ReportePorLista::ejecutar(ReporteEntorno& e) {
    const FormularioTarifario& f = e.formulario;
    // 1. Ranges and selection formula; rejected ranges stop the run.
    QString formula;
    QString mensaje;
    if (!ArmarFiltro(filtros(f), formula, mensaje)) {
        ui::operador().mensaje(mensaje, ui::estilo::Exclamation,
                               QStringLiteral("Aviso al Usuario"));
        return;
    }
    // 2-5. Formula texts and sort field.
    const QString texto0 = e.tituloEmpresa();
    const QString texto4 = ocultarColumnas(f);
    const QStringList orden{campoOrden(f)};
    // 6-7. The report output's switches and the price-column titles.
    suite::DLL_Print& salida = suite::dllPrint();
    salida.ConFormulas = true;
    salida.ConOrden = true;
    salida.ConTextosAdicionales = true;
    // The change columns' switch goes in the slot after the price titles.
    salida.FormulasAdicionales(textosPrecio(f) << ocultarVariacion(f), 5);
    // 8-9. Template and output.
    const QString archivo = startup::NombreReporte(QStringLiteral("RP_CambioPreciosHIS"));
    salida.ImprimirReporte(archivo, orden, formula, e.cadenaDSN(), texto0, QString(), QString(),
                           QString(), texto4, QString(), QString(), QString());
    // 10.
    salida.CopiasMaximas = 20;
}

} // namespace rp::report
