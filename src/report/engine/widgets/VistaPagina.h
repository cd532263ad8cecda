#pragma once

#include "report/engine/PaginaReporte.h"

#include <QWidget>

namespace rp::motor {

// Shows one laid-out page as a sheet of paper at a zoom factor.
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
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize tamanoHoja() const;

    QString letra_;
    double tamanoLetra_;
    const PaginaReporte* pagina_ = nullptr;
    int total_ = 0;
    double anchoMm_ = 210, altoMm_ = 297;
    double zoom_ = 1.0;
    QList<int> marcas_;
    int marcaActual_ = -1;
};

} // namespace rp::motor
