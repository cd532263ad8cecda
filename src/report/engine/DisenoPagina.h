#pragma once

#include "report/engine/Plantilla.h"

#include <QList>

namespace rp::motor {

class ReportePreparado;

// Page geometry of a prepared report, in millimetres: paper, printable area,
// line heights and the visible columns re-flowed side by side from the left
// margin (hidden columns leave no gap). Each column gets what its title and
// its widest value need (numbers and dates by their format, texts at least
// their template width); the page turns to landscape when the columns need
// it, the room to spare goes to the text columns, and when the columns are
// wider than the area even so they shrink in proportion.
struct DisenoPagina {
    struct Columna {
        int indice = 0; // in the template's columns
        double x = 0;
        double ancho = 0;
    };

    double anchoPapel = 210, altoPapel = 297;
    bool horizontal = false;
    double izquierda = 10, derecha = 200, arriba = 10, abajo = 287; // printable area
    double alturaLinea = 4;
    double alturaTitulo = 6;
    double separacion = 1.5; // gap under the column titles and above the footer
    QList<Columna> columnas;

    static DisenoPagina calcular(const ReportePreparado& reporte);
    // Paper size in millimetres (portrait) of a template paper name.
    static void tamanoPapel(const QString& papel, double& ancho, double& alto);

    double anchoUtil() const { return derecha - izquierda; }
    // The width (mm) column `c` with title `titulo` needs at `tamanoLetra` points.
    static double anchoNecesario(const ColumnaPlantilla& c, const QString& titulo,
                                 double tamanoLetra);
};

} // namespace rp::motor
