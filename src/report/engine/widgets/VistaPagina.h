#pragma once

#include "report/engine/PaginaReporte.h"

#include <QWidget>

namespace rp::motor {

// Shows one laid-out page as a sheet of paper at a zoom factor. When the page
// knows its detail lines, a click selects one (Up / Down move the selection)
// and a double click or Enter asks for that line's history.
class VistaPagina : public QWidget {
    Q_OBJECT
public:
    explicit VistaPagina(QString letra, double tamanoLetra, QWidget* parent = nullptr);

    void mostrar(const PaginaReporte* pagina, int totalPaginas, double anchoPapelMm,
                 double altoPapelMm);
    void fijarZoom(double zoom);
    // Search hits to mark on the page (element indexes), `actual` stronger.
    void marcar(QList<int> elementos, int actual);
    // Where element `elemento` of the shown page is, in this widget.
    QRect rectElemento(int elemento) const;
    double zoom() const { return zoom_; }
    // The selected detail line of the shown page (-1: none).
    int seleccion() const { return linea_; }
    void seleccionarLinea(int linea);
    // Where detail line `linea` of the shown page is, in this widget.
    QRect rectLinea(int linea) const;
    QSize sizeHint() const override;

Q_SIGNALS:
    // Double click or Enter on a detail line: its key.
    void lineaActivada(const QString& clave);
    void lineaSeleccionada(const QRect& donde);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QSize tamanoHoja() const;
    int lineaEn(const QPointF& punto) const;
    // A box in millimetres of the page, in this widget.
    QRect rectMm(double x, double y, double ancho, double alto) const;

    QString letra_;
    double tamanoLetra_;
    const PaginaReporte* pagina_ = nullptr;
    int numero_ = 0; // the number of the page shown
    int total_ = 0;
    double anchoMm_ = 210, altoMm_ = 297;
    double zoom_ = 1.0;
    QList<int> marcas_;
    int marcaActual_ = -1;
    int linea_ = -1;
};

} // namespace rp::motor
