#pragma once

#include "report/engine/PaginaReporte.h"

#include <QList>
#include <QString>
#include <functional>

namespace rp::motor {

class ReportePreparado;

struct OpcionesImpresion {
    QString impresora; // empty = the system's default printer
    int copias = 1;
    int desdePagina = 0; // 0 = first page
    int hastaPagina = 0; // 0 = last page
    QString archivoPdf;  // print into this PDF file instead of a printer
};

// Sends laid-out pages to a printer (QPrinter) on the template's paper and
// orientation, honouring the page range and the number of copies; where the
// printer cannot make copies itself (a PDF file) the pages are sent once per
// copy, collated. A PDF file is written by SalidaPdf, whole or not at all.
class SalidaImpresora {
public:
    // Returns the number of sheets sent (pages in range times copies).
    // Throws ErrorMotor when no printer can be used, and when `continuar`
    // (called after each sheet with the sheets sent) answers false: the
    // print job is aborted ("impresión cancelada"), a PDF file not written.
    static int imprimir(const ReportePreparado& reporte, const QList<PaginaReporte>& paginas,
                        const OpcionesImpresion& opciones,
                        const std::function<bool(qint64)>& continuar = {});
    // Pages [desde, hasta] handed to `cada` in order, one at a time.
    using Recorrido = std::function<void(int desde, int hasta,
                                         const std::function<bool(const PaginaReporte&)>& cada)>;
    // The same over `total` pages laid out as they are sent and let go.
    static int imprimir(const ReportePreparado& reporte, int total, const Recorrido& recorrido,
                        const OpcionesImpresion& opciones,
                        const std::function<bool(qint64)>& continuar = {});
};

} // namespace rp::motor
