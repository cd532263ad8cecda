#pragma once

#include "report/HistorialArticulo.h"
#include "report/engine/FuenteDatos.h"

#include <QWidget>
#include <functional>
#include <memory>

class QChart;
class QChartView;
class QComboBox;
class QPainter;
class QRectF;
class QSplitter;

namespace rp::motor {
class ReportePreparado;
class VentanaVistaPrevia;
} // namespace rp::motor
namespace rp::ui {
class Operador;
}

namespace rp::report {

// The history of one article, opened from a line of a report preview:
// above, a chart of one value class ("Clase": the cost or a price class)
// with one line per list, where hovering a point shows its list, date,
// value and user; below, the history of the cost and that class as a report
// preview (print, export; its PDF starts with the chart). Esc closes it and
// goes back to the preview it came from.
class VentanaDetalleArticulo : public QWidget {
    Q_OBJECT
public:
    // The history report of a class, ready to run. Throws like the engine.
    using Preparar = std::function<std::shared_ptr<const motor::ReportePreparado>(int clase)>;

    // `titulosClase`: the captions of the classes 0..8 (DetalleArticulo::titulosClase).
    VentanaDetalleArticulo(QString codigo, QList<HistorialArticulo::Cambio> cambios,
                           const QStringList& titulosClase, Preparar preparar,
                           motor::FuenteDatos fuente, ui::Operador& operador,
                           QWidget* parent = nullptr);

    // Reads the article's history through the shared database object and
    // opens the window over `sobre` (maximised; it closes with `sobre`). A template or statement
    // that fails is reported through the operator; then null.
    static VentanaDetalleArticulo* abrir(QWidget* sobre, const QString& codigo);

    const QString& codigo() const { return codigo_; }
    const QList<HistorialArticulo::Cambio>& cambios() const { return cambios_; }
    // The class the chart shows: 0 the cost, 1..8 the price classes.
    int clase() const { return clase_; }
    // Shows class `clase` in the chart and in the report below. A report that
    // cannot be prepared is reported through the operator.
    void fijarClase(int clase);
    // The title and the chart as they go on the first page of the PDF.
    void pintarGrafico(QPainter& pintor, const QRectF& area) const;
    QChart* grafico() const { return grafico_; }
    motor::VentanaVistaPrevia& previa() const { return *previa_; }

private:
    void dibujar();
    void mostrarReporte();

    QString codigo_;
    Preparar preparar_;
    motor::FuenteDatos fuente_;
    ui::Operador& operador_;
    QSplitter* division_;
    QList<HistorialArticulo::Cambio> cambios_;
    int clase_ = 1;
    QComboBox* clases_;
    QChartView* vista_;
    QChart* grafico_;
    motor::VentanaVistaPrevia* previa_;
};

} // namespace rp::report
