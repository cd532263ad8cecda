#include "report/engine/DisenoPagina.h"

#include "report/engine/ReportePreparado.h"

#include <utility>

namespace rp::motor {

void DisenoPagina::tamanoPapel(const QString& papel, double& ancho, double& alto) {
    if (papel.compare(QLatin1String("Carta"), Qt::CaseInsensitive) == 0) {
        ancho = 215.9;
        alto = 279.4;
    } else if (papel.compare(QLatin1String("Oficio"), Qt::CaseInsensitive) == 0) {
        ancho = 215.9;
        alto = 355.6;
    } else {
        ancho = 210;
        alto = 297;
    }
}

DisenoPagina DisenoPagina::calcular(const ReportePreparado& reporte) {
    const Plantilla& p = reporte.plantilla();
    DisenoPagina d;
    tamanoPapel(p.papel, d.anchoPapel, d.altoPapel);
    if (p.horizontal)
        std::swap(d.anchoPapel, d.altoPapel);
    d.izquierda = p.margenIzquierdo;
    d.derecha = std::max(d.izquierda + 10, d.anchoPapel - p.margenDerecho);
    d.arriba = p.margenSuperior;
    d.abajo = std::max(d.arriba + 20, d.altoPapel - p.margenInferior);
    // One point is 0.3528 mm; lines get 40 % leading.
    d.alturaLinea = p.tamanoLetra * 0.3528 * 1.4;
    d.alturaTitulo = d.alturaLinea * 1.6;

    double total = 0;
    for (int i : reporte.columnasVisibles())
        total += p.columnas.at(i).ancho;
    const double factor = total > d.anchoUtil() ? d.anchoUtil() / total : 1.0;
    double x = d.izquierda;
    for (int i : reporte.columnasVisibles()) {
        Columna c;
        c.indice = i;
        c.x = x;
        c.ancho = p.columnas.at(i).ancho * factor;
        x += c.ancho;
        d.columnas << c;
    }
    return d;
}

} // namespace rp::motor
