#pragma once

#include "report/engine/Plantilla.h"

#include <QList>
#include <QString>

namespace rp::motor {

// One thing drawn on a page; positions and sizes in millimetres from the
// page's top-left corner.
struct ElementoPagina {
    enum Tipo { Texto, Linea };
    Tipo tipo = Texto;
    double x = 0, y = 0, ancho = 0, alto = 0;
    QString texto; // may hold ContextoReporte::marcaTotalPaginas()
    Alineacion alineacion = Alineacion::Izquierda;
    bool negrita = false;
    double escala = 1.0; // font size relative to the template's
    // A change value's direction, coloured on screen and paper (the text
    // carries an arrow too, for black and white).
    enum Tono { Neutro, Sube, Baja };
    Tono tono = Neutro;
};

// Where a detail line is on its page and the key the template gives it
// (the article code), for opening that line's history.
struct LineaDetalle {
    double y = 0, alto = 0;
    QString clave;
};

// A laid-out page: what the painter draws, independent of the device.
struct PaginaReporte {
    int numero = 0;
    QList<ElementoPagina> elementos;
    int filas = 0;              // detail rows on the page
    QList<LineaDetalle> lineas; // only when the template names a detail key

    // The detail line at `yMm` millimetres from the top, or null.
    const LineaDetalle* lineaEn(double yMm) const {
        for (const LineaDetalle& l : lineas) {
            if (yMm >= l.y && yMm < l.y + l.alto)
                return &l;
        }
        return nullptr;
    }
};

} // namespace rp::motor
