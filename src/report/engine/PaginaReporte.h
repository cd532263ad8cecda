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
};

// A laid-out page: what the painter draws, independent of the device.
struct PaginaReporte {
    int numero = 0;
    QList<ElementoPagina> elementos;
    int filas = 0; // detail rows on the page
};

} // namespace rp::motor
