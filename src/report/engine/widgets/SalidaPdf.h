#pragma once

#include "report/engine/FuenteDatos.h"
#include "report/engine/PaginaReporte.h"
#include "report/engine/widgets/PintorPagina.h"

#include <QIODevice>
#include <QList>
#include <QRectF>
#include <QString>
#include <functional>

class QPainter;

namespace rp::motor {

class IndicePaginas;
class ReportePreparado;

// The one writer of PDF documents: laid-out pages, one PDF page per report
// page on the template's paper and orientation. `export`, the preview's export
// button and printing into a PDF file all write through it. Report pages go
// straight into the document (EscritorPdf); a cover figure, the reference
// mode and fonts without TrueType outlines go through Qt's PDF engine.
class SalidaPdf {
public:
    // Called after each page with the pages written so far; false stops the
    // writing (ErrorMotor "exportación cancelada").
    using Continuar = std::function<bool(qint64)>;
    // A figure that goes on a page of its own before the report's pages (an
    // article's chart), painted into `area`: the page less its margins.
    using Portada = std::function<void(QPainter& pintor, const QRectF& area)>;

    // Writes the pages of `orden` (indexes into `paginas`, in that order;
    // every page when empty). `modo` Referencia paints every text through
    // QPainter::drawText (the reference the page painter's fast path is
    // compared with).
    static void escribir(const ReportePreparado& reporte, const QList<PaginaReporte>& paginas,
                         QIODevice& salida, const QList<int>& orden,
                         const Continuar& continuar = {},
                         PintorPagina::Modo modo = PintorPagina::Modo::Rapido,
                         const Portada& portada = {});
    // Every page.
    static void escribir(const ReportePreparado& reporte, const QList<PaginaReporte>& paginas,
                         QIODevice& salida, PintorPagina::Modo modo = PintorPagina::Modo::Rapido) {
        escribir(reporte, paginas, salida, {}, {}, modo);
    }
    // Writes laid-out pages to `ruta` through QSaveFile: the file appears
    // whole or not at all (nothing when cancelled). Returns the pages written.
    // Throws ErrorMotor.
    static int escribirArchivo(const ReportePreparado& reporte, const QList<PaginaReporte>& paginas,
                               const QString& ruta, const QList<int>& orden = {},
                               const Continuar& continuar = {}, const Portada& portada = {});
    // Pages handed to `cada` in order, one at a time (false stops).
    using Recorrido = std::function<void(const std::function<bool(const PaginaReporte&)>& cada)>;
    // Writes the `total` pages `recorrido` hands out, each painted and let go.
    static void escribir(const ReportePreparado& reporte, QIODevice& salida, int total,
                         const Recorrido& recorrido, const Continuar& continuar = {},
                         PintorPagina::Modo modo = PintorPagina::Modo::Rapido,
                         const Portada& portada = {});
    // Writes the `total` pages `recorrido` hands out to `ruta` (as above).
    static void escribirArchivo(const ReportePreparado& reporte, int total,
                                const Recorrido& recorrido, const QString& ruta,
                                const Continuar& continuar = {}, const Portada& portada = {});
    // Writes every page of the report to `ruta` (as above), laid out one at a
    // time from the rows of `fuente`; `indice` is complete (the page count).
    static int escribirArchivo(const ReportePreparado& reporte, const IndicePaginas& indice,
                               const FuenteDatos& fuente, const QString& ruta,
                               const Continuar& continuar = {}, const Portada& portada = {});
    // Counts the pages of the report (IndicePaginas), then writes them as
    // above: no more than one page in memory. Returns the number of pages.
    // Throws ErrorMotor.
    static int escribirArchivo(const ReportePreparado& reporte, const FuenteDatos& fuente,
                               const QString& ruta);
};

} // namespace rp::motor
