#pragma once

#include "report/engine/PaginaReporte.h"

#include <QList>
#include <QString>

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
// copy, collated.
class SalidaImpresora {
public:
    // Returns the number of sheets sent (pages in range times copies).
    // Throws ErrorMotor when no printer can be used.
    static int imprimir(const ReportePreparado& reporte, const QList<PaginaReporte>& paginas,
                        const OpcionesImpresion& opciones);
};

} // namespace rp::motor
