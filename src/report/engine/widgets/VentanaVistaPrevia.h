#pragma once

#include "report/engine/FuenteDatos.h"
#include "report/engine/Paginador.h"

#include <QTimer>
#include <QWidget>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QScrollArea;
class QToolBar;

namespace rp::ui {
class Operador;
}

namespace rp::motor {

class LectorFilas;
class ReportePreparado;
class VistaPagina;
class BarraBusqueda;

// The report preview: a maximised window that lays the report out while the
// rows arrive (a batch of rows per turn of the event loop) and shows the first
// page as soon as it is complete. Toolbar: first / previous / next / last
// page, the page label ("Página N de M", "M+" while pages are still being
// laid out), zoom, print (print dialog through the operator), export to PDF,
// CSV and Excel (file dialogs through the operator), search (Ctrl+F, see
// BarraBusqueda). Esc closes it.
class VentanaVistaPrevia : public QWidget {
    Q_OBJECT
public:
    VentanaVistaPrevia(std::shared_ptr<const ReportePreparado> reporte, FuenteDatos fuente,
                       rp::ui::Operador& operador, QWidget* parent = nullptr);
    ~VentanaVistaPrevia() override;

    // Starts reading the rows (called by show paths; idempotent).
    void comenzar();
    // Lays out the remaining rows at once.
    void terminarAhora();

    bool terminado() const;
    int paginaActual() const { return actual_ + 1; }
    int paginasListas() const;
    void irAPagina(int numero);
    QString textoEtiqueta() const;
    const Paginador& paginador() const { return *paginador_; }
    const ReportePreparado& reporte() const { return *rep_; }

    // Rows per turn of the event loop.
    void fijarLote(int filas) { lote_ = std::max(1, filas); }

    void imprimir();
    void exportarPdf();
    void exportarCsv();
    // The report's rows as an Excel workbook (file dialog through the
    // operator), with its progress in the page label; Esc cancels it.
    void exportarXlsx();
    bool exportando() const { return exportando_; }

    // The search bar (Ctrl+F; F3 / Shift+F3 next and previous hit; Esc
    // cancels a running search, then closes the bar, then the window).
    BarraBusqueda& busqueda() const { return *busqueda_; }
    VistaPagina& vista() const { return *vista_; }

protected:
    void closeEvent(QCloseEvent* evento) override;

Q_SIGNALS:
    void paginasCambiaron();
    void termino();
    // Double click or Enter on a detail line (the template's detail key,
    // the article code): its history is asked for.
    void detalleSolicitado(const QString& clave);

private:
    void procesarLote();
    void fallar(const QString& texto);
    void actualizar();
    void escape();
    void mostrarCoincidencia(int pagina, int elemento);

    std::shared_ptr<const ReportePreparado> rep_;
    FuenteDatos fuente_;
    rp::ui::Operador& operador_;
    std::unique_ptr<LectorFilas> filas_;
    std::unique_ptr<Paginador> paginador_;
    QTimer temporizador_;
    int lote_ = 200;
    int actual_ = 0;
    bool comenzado_ = false;
    bool fallo_ = false;
    VistaPagina* vista_;
    QScrollArea* desplazamiento_;
    QLabel* etiqueta_;
    QComboBox* zoom_;
    BarraBusqueda* busqueda_;
    QToolBar* barra_;
    bool exportando_ = false;
    bool cancelarExportacion_ = false;
};

} // namespace rp::motor
