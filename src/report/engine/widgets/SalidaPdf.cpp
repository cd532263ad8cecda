#include "report/engine/widgets/SalidaPdf.h"

#include "report/engine/DisenoPagina.h"
#include "report/engine/ErrorMotor.h"
#include "report/engine/IndicePaginas.h"
#include "report/engine/ReportePreparado.h"
#include "report/engine/widgets/EscritorPdf.h"
#include "report/engine/widgets/PintorPagina.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace rp::motor {

namespace {

QPageLayout paginaDe(const Plantilla& p, const DisenoPagina& d) {
    double ancho = 0, alto = 0;
    DisenoPagina::tamanoPapel(p.papel, ancho, alto);
    return QPageLayout(QPageSize(QSizeF(ancho, alto), QPageSize::Millimeter),
                       d.horizontal ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

// Report pages straight into the document, without Qt's PDF engine.
void escribirDirecto(const ReportePreparado& rep, QIODevice& salida, int total,
                     const SalidaPdf::Recorrido& recorrido, const SalidaPdf::Continuar& continuar) {
    const DisenoPagina d = DisenoPagina::calcular(rep);
    const Plantilla& p = rep.plantilla();
    EscritorPdf pdf(salida, paginaDe(p, d), QStringLiteral("rp_tarifario"));
    const PintorPagina pintorPagina(p.letra, p.tamanoLetra);
    const QRectF area(QPointF(0, 0), pdf.tamanoDispositivo());
    qint64 escritas = 0;
    recorrido([&](const PaginaReporte& pagina) {
        pdf.comenzarPagina();
        pintorPagina.pintar(pdf, pagina, area, d.anchoPapel, d.altoPapel, total);
        ++escritas;
        if (continuar && !continuar(escritas))
            throw ErrorMotor(QStringLiteral("exportación cancelada"));
        return true;
    });
    pdf.terminar();
}

// The pages of `orden` (indexes into `paginas`; every page when empty).
SalidaPdf::Recorrido recorridoDe(const QList<PaginaReporte>& paginas, const QList<int>& orden) {
    return [&paginas, &orden](const std::function<bool(const PaginaReporte&)>& cada) {
        const qsizetype cuantas = orden.isEmpty() ? paginas.size() : orden.size();
        for (qsizetype i = 0; i < cuantas; ++i) {
            if (!cada(paginas.at(orden.isEmpty() ? i : orden.at(i))))
                return;
        }
    };
}

} // namespace

void SalidaPdf::escribir(const ReportePreparado& rep, const QList<PaginaReporte>& paginas,
                         QIODevice& salida, const QList<int>& orden, const Continuar& continuar,
                         PintorPagina::Modo modo, const Portada& portada) {
    escribir(rep, salida, static_cast<int>(paginas.size()), recorridoDe(paginas, orden), continuar,
             modo, portada);
}

void SalidaPdf::escribir(const ReportePreparado& rep, QIODevice& salida, int total,
                         const Recorrido& recorrido, const Continuar& continuar,
                         PintorPagina::Modo modo, const Portada& portada) {
    const Plantilla& p = rep.plantilla();
    // A cover figure is drawn by QPainter, and fonts without TrueType
    // outlines are embedded by Qt: those documents go through Qt's engine.
    if (modo == PintorPagina::Modo::Rapido && !portada && EscritorPdf::fuenteAdmitida(p.letra))
        return escribirDirecto(rep, salida, total, recorrido, continuar);
    const DisenoPagina d = DisenoPagina::calcular(rep);
    QPdfWriter pdf(&salida);
    pdf.setCreator(QStringLiteral("rp_tarifario"));
    pdf.setResolution(300);
    pdf.setPageLayout(paginaDe(p, d));
    QPainter pintor;
    if (!pintor.begin(&pdf))
        throw ErrorMotor(QStringLiteral("no se puede escribir el documento PDF"));
    const PintorPagina pintorPagina(p.letra, p.tamanoLetra, modo);
    const QRectF area(0, 0, pdf.width(), pdf.height());
    if (portada) {
        const double mm = pdf.width() / d.anchoPapel;
        pintor.save();
        portada(pintor, area.adjusted(p.margenIzquierdo * mm, p.margenSuperior * mm,
                                      -p.margenDerecho * mm, -p.margenInferior * mm));
        pintor.restore();
    }
    qint64 escritas = 0;
    recorrido([&](const PaginaReporte& pagina) {
        if (escritas > 0 || portada)
            pdf.newPage();
        pintorPagina.pintar(pintor, pagina, area, d.anchoPapel, d.altoPapel, total);
        ++escritas;
        if (continuar && !continuar(escritas))
            throw ErrorMotor(QStringLiteral("exportación cancelada"));
        return true;
    });
    pintor.end();
}

int SalidaPdf::escribirArchivo(const ReportePreparado& rep, const QList<PaginaReporte>& paginas,
                               const QString& ruta, const QList<int>& orden,
                               const Continuar& continuar, const Portada& portada) {
    escribirArchivo(rep, static_cast<int>(paginas.size()), recorridoDe(paginas, orden), ruta,
                    continuar, portada);
    return static_cast<int>(orden.isEmpty() ? paginas.size() : orden.size());
}

void SalidaPdf::escribirArchivo(const ReportePreparado& rep, int total, const Recorrido& recorrido,
                                const QString& ruta, const Continuar& continuar,
                                const Portada& portada) {
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly))
        throw ErrorMotor(
            QStringLiteral("no se puede crear el archivo %1: %2").arg(ruta, archivo.errorString()));
    escribir(rep, archivo, total, recorrido, continuar, PintorPagina::Modo::Rapido, portada);
    if (!archivo.commit())
        throw ErrorMotor(QStringLiteral("no se puede escribir el archivo %1: %2")
                             .arg(ruta, archivo.errorString()));
}

int SalidaPdf::escribirArchivo(const ReportePreparado& rep, const IndicePaginas& indice,
                               const FuenteDatos& fuente, const QString& ruta,
                               const Continuar& continuar, const Portada& portada) {
    const int total = indice.paginas();
    escribirArchivo(
        rep, total,
        [&](const std::function<bool(const PaginaReporte&)>& cada) {
            indice.recorrer(fuente, 1, total, cada);
        },
        ruta, continuar, portada);
    return total;
}

int SalidaPdf::escribirArchivo(const ReportePreparado& rep, const FuenteDatos& fuente,
                               const QString& ruta) {
    IndicePaginas indice(rep);
    indice.abrir(fuente);
    indice.completar();
    return escribirArchivo(rep, indice, fuente, ruta);
}

} // namespace rp::motor
