#pragma once

#include "report/engine/FuenteDatos.h"
#include "report/engine/PaginaReporte.h"
#include "report/engine/widgets/PintorPagina.h"

#include <QIODevice>
#include <QList>
#include <QString>

namespace rp::motor {

class ReportePreparado;

// Laid-out pages as a PDF document (QPdfWriter), one PDF page per report page
// on the template's paper and orientation.
class SalidaPdf {
public:
    // `modo` Referencia paints every text through QPainter::drawText (the
    // reference the page painter's fast path is compared with).
    static void escribir(const ReportePreparado& reporte, const QList<PaginaReporte>& paginas,
                         QIODevice& salida, PintorPagina::Modo modo = PintorPagina::Modo::Rapido);
    // Runs and lays out the report and writes the file through QSaveFile.
    // Returns the number of pages. Throws ErrorMotor.
    static int escribirArchivo(const ReportePreparado& reporte, const FuenteDatos& fuente,
                               const QString& ruta);
};

} // namespace rp::motor
