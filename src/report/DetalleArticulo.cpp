#include "report/DetalleArticulo.h"

#include "db/TextoVb.h"
#include "report/ArmarFiltro.h"
#include "suite/Utilidades.h"

namespace rp::report {

namespace {

constexpr int kAnchoCodigo = 25;

QString literal(const QString& texto) {
    return QLatin1Char('\'') + db::TextoVb::duplicarApostrofes(texto) + QLatin1Char('\'');
}

} // namespace

QStringList DetalleArticulo::titulosClase(const LectorConfiguracion& cfg) {
    QStringList t{QStringLiteral("Costo")};
    for (int clase = 1; clase <= 8; ++clase) {
        QString titulo = cfg ? cfg(QStringLiteral("NOM_PCLASE%1").arg(clase)).trimmed() : QString();
        t << (titulo.isEmpty() ? QStringLiteral("Precio %1").arg(clase) : titulo);
    }
    return t;
}

motor::SolicitudReporte DetalleArticulo::solicitud(const QString& codigo, const QString& plantilla,
                                                   const LectorConfiguracion& cfg, int clase) {
    const auto leer = [&cfg](const QString& clave) {
        return cfg ? cfg(clave).trimmed() : QString();
    };
    motor::SolicitudReporte s;
    s.plantilla = plantilla;
    s.destino = motor::Destino::Pantalla;

    // The article's stored code, bound as both ends of the article range.
    FiltroRango articulo;
    articulo.CampoReporte = QStringLiteral("{V_MV_PRECIOSHIS.IDARTICULO}");
    articulo.TipoDato = 129;
    articulo.SinRecorte = true;
    articulo.ValorDesde = suite::Utilidades::FormatoCodigo(codigo.trimmed(), kAnchoCodigo);
    articulo.ValorHasta = articulo.ValorDesde;
    QString mensaje;
    ArmarFiltro(TablaFiltros{articulo}, s.formula, mensaje);

    s.orden = QStringList{QStringLiteral("+{V_MV_PRECIOSHIS.FECHAHORA}"),
                          QStringLiteral("+{V_MV_PRECIOSHIS.IDLISTA}")};
    s.formulas[0] = QStringLiteral("Nombreempresa = ") + literal(leer(QStringLiteral("NOMBRE")));
    s.formulas[1] =
        QStringLiteral("Parametros = ") + literal(QStringLiteral("Artículo: ") + codigo.trimmed());
    // The cost and the chosen class, each with its change; taxes hidden.
    QString ocultas, variacion;
    for (int k = 0; k <= 9; ++k) {
        if (k != 0 && k != clase)
            ocultas += QString::number(k) + QStringLiteral(" - ");
        if (k <= 8 && k != 0 && k != clase)
            variacion += QStringLiteral("v") + QString::number(k) + QStringLiteral(" - ");
    }
    s.formulas[4] = QStringLiteral("OcultarColumnas = ") + literal(ocultas);
    const QStringList titulos = titulosClase(cfg);
    for (int k = 1; k <= 8; ++k)
        s.textosPrecio << QStringLiteral("Precio%1=").arg(k) + literal(titulos.at(k));
    s.textosPrecio << QStringLiteral("OcultarVariacion = ") + literal(variacion);
    return s;
}

} // namespace rp::report
