#include "report/engine/widgets/SalidaImpresora.h"

#include "report/engine/DisenoPagina.h"
#include "report/engine/ErrorMotor.h"
#include "report/engine/ReportePreparado.h"
#include "report/engine/widgets/PintorPagina.h"
#include "report/engine/widgets/SalidaPdf.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace rp::motor {

int SalidaImpresora::imprimir(const ReportePreparado& rep, const QList<PaginaReporte>& paginas,
                              const OpcionesImpresion& o,
                              const std::function<bool(qint64)>& continuar) {
    return imprimir(
        rep, static_cast<int>(paginas.size()),
        [&](int desde, int hasta, const std::function<bool(const PaginaReporte&)>& cada) {
            for (int n = desde; n <= hasta; ++n) {
                if (!cada(paginas.at(n - 1)))
                    return;
            }
        },
        o, continuar);
}

int SalidaImpresora::imprimir(const ReportePreparado& rep, int total, const Recorrido& recorrido,
                              const OpcionesImpresion& o,
                              const std::function<bool(qint64)>& continuar) {
    const Plantilla& p = rep.plantilla();
    const DisenoPagina d = DisenoPagina::calcular(rep);
    const int desde = o.desdePagina > 0 ? std::min(o.desdePagina, total) : 1;
    const int hasta = o.hastaPagina > 0 ? std::min(o.hastaPagina, total) : total;
    const int copias = std::max(1, o.copias);
    if (!o.archivoPdf.isEmpty()) {
        // A file makes no copies itself: the range once per copy, collated.
        if (desde > hasta || total == 0)
            return 0;
        SalidaPdf::escribirArchivo(
            rep, total,
            [&](const std::function<bool(const PaginaReporte&)>& cada) {
                for (int v = 0; v < copias; ++v)
                    recorrido(desde, hasta, cada);
            },
            o.archivoPdf, continuar);
        return (hasta - desde + 1) * copias;
    }
    QPrinter impresora(QPrinter::HighResolution);
    if (!o.impresora.isEmpty()) {
        impresora.setPrinterName(o.impresora);
    }
    if (!impresora.isValid())
        throw ErrorMotor(
            QStringLiteral("la impresora no está disponible: %1")
                .arg(o.impresora.isEmpty() ? QStringLiteral("(predeterminada)") : o.impresora));
    impresora.setDocName(QStringLiteral("rp_tarifario"));
    double ancho = 0, alto = 0;
    DisenoPagina::tamanoPapel(p.papel, ancho, alto);
    impresora.setPageSize(QPageSize(QSizeF(ancho, alto), QPageSize::Millimeter));
    impresora.setPageOrientation(d.horizontal ? QPageLayout::Landscape : QPageLayout::Portrait);
    impresora.setFullPage(true);

    int vueltas = copias;
    if (impresora.supportsMultipleCopies()) {
        impresora.setCopyCount(copias);
        vueltas = 1;
    }
    if (desde > hasta || total == 0)
        return 0;

    QPainter pintor;
    if (!pintor.begin(&impresora))
        throw ErrorMotor(QStringLiteral("la impresora no está en línea"));
    const PintorPagina pintorPagina(p.letra, p.tamanoLetra);
    const QRectF area = impresora.paperRect(QPrinter::DevicePixel);
    int hojas = 0;
    for (int v = 0; v < vueltas; ++v) {
        recorrido(desde, hasta, [&](const PaginaReporte& pagina) {
            if (hojas > 0)
                impresora.newPage();
            pintorPagina.pintar(pintor, pagina, QRectF(0, 0, area.width(), area.height()),
                                d.anchoPapel, d.altoPapel, total);
            ++hojas;
            if (continuar && !continuar(hojas)) {
                impresora.abort();
                throw ErrorMotor(QStringLiteral("impresión cancelada"));
            }
            return true;
        });
    }
    pintor.end();
    return hojas * (vueltas == 1 ? copias : 1);
}

} // namespace rp::motor
