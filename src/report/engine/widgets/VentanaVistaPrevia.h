#pragma once

#include "report/engine/DisenoPagina.h"
#include "report/engine/FuenteDatos.h"
#include "report/engine/PaginaReporte.h"
#include "report/engine/widgets/SalidaPdf.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QProgressBar;
class QScrollArea;
class QToolBar;

namespace rp::ui {
class Operador;
}

namespace rp::motor {

class IndicePaginas;
class ProgresoTarea;
class ReportePreparado;
class VistaPagina;
class BarraBusqueda;

// The report preview: a maximised window that finds where every page starts
// (IndicePaginas, a batch of rows per turn of the event loop) and lays out
// only the pages it shows, as they are asked for, keeping the last few
// (PaginasEnMemoria); the first page shows as soon as its rows are known.
// Toolbar: first / previous / next / last page, the page label ("Página N de
// M", "M+" while the pages are still being counted), zoom, print (print
// dialog through the operator), export to PDF, CSV and Excel (file dialogs
// through the operator), search (Ctrl+F, see BarraBusqueda). Esc closes it.
//
// Long work shows its progress in the toolbar (a bar, the page label) with a
// "Cancelar" button: the count of the pages (cancelling stops it where it
// is; an export or print goes on from there), and printing and the exports,
// which run in slices between turns of the event loop and lay out, paint and
// let go one page at a time. Esc or the button cancel an export or a print:
// the window stays usable and no file is left behind.
class VentanaVistaPrevia : public QWidget {
    Q_OBJECT
public:
    VentanaVistaPrevia(std::shared_ptr<const ReportePreparado> reporte, FuenteDatos fuente,
                       rp::ui::Operador& operador, QWidget* parent = nullptr);
    ~VentanaVistaPrevia() override;

    // Pages laid out and kept at most.
    static constexpr int PaginasEnMemoria = 16;

    // Starts reading the rows (called by show paths; idempotent).
    void comenzar();
    // Counts the remaining pages at once.
    void terminarAhora();

    bool terminado() const;
    int paginaActual() const { return actual_ + 1; }
    int paginasListas() const;
    void irAPagina(int numero);
    QString textoEtiqueta() const;
    const ReportePreparado& reporte() const { return *rep_; }
    int filasPorPagina() const { return filasPorPagina_; }
    // Page `numero` (1..paginasListas()), laid out now unless it is among the
    // pages kept; null on an error (told to the operator).
    std::shared_ptr<const PaginaReporte> pagina(int numero);
    // The page shown (null before the first).
    const PaginaReporte* paginaMostrada() const { return mostrada_.get(); }
    // Pages laid out and kept now.
    int paginasEnMemoria() const { return static_cast<int>(memoria_.size()); }
    // Every page, laid out anew in one pass (for checks on small reports).
    QList<PaginaReporte> todasLasPaginas() const;

    // Rows per turn of the event loop (by default as many as fit in 20 ms).
    void fijarLote(int filas) { lote_ = std::max(1, filas); }

    void imprimir();
    // The laid-out pages as a PDF document (SalidaPdf).
    void exportarPdf();
    // A figure the PDF export puts on a page of its own before the report
    // (see SalidaPdf::Portada); none by default.
    void fijarPortada(SalidaPdf::Portada portada) { portada_ = std::move(portada); }
    void exportarCsv();
    void exportarXlsx();
    // True while an export or a print runs.
    bool exportando() const { return tarea_ != nullptr; }
    // Cancels the running export or print, or stops the layout.
    void cancelar();

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
    // Counts pages until page `numero` is known; false on an error.
    bool contarHasta(int numero);
    void fallar(const QString& texto);
    void actualizar();
    void escape();
    void mostrarCoincidencia(int pagina, int elemento);
    // Runs `trabajo` with its progress shown and the toolbar waiting; false
    // when it was cancelled or failed (the error told to the operator).
    bool conProgreso(const std::function<void(ProgresoTarea&)>& trabajo);
    // Counts the remaining pages in slices (a task's first step).
    void componerTodo(ProgresoTarea& progreso);
    // Asks for the file (`titulo`, `filtro`) and runs `escribir` on it as a
    // task; `paginas`: the pages are laid out first.
    void exportar(const QString& titulo, const QString& filtro, bool paginas,
                  const std::function<void(const QString& ruta, ProgresoTarea&)>& escribir);
    void mostrarProgreso(const QString& texto, qint64 hecho, qint64 total);
    void error(const QString& texto);

    std::shared_ptr<const ReportePreparado> rep_;
    FuenteDatos fuente_;
    rp::ui::Operador& operador_;
    DisenoPagina diseno_;
    int filasPorPagina_ = 1;
    std::unique_ptr<IndicePaginas> indice_;
    bool leyendo_ = false;                                // the count of the pages goes on
    bool primeraLista_ = false;                           // the first page was laid out
    QList<std::shared_ptr<const PaginaReporte>> memoria_; // most recently used last
    std::shared_ptr<const PaginaReporte> mostrada_;
    QTimer temporizador_;
    int lote_ = 0; // rows per turn; 0: by time
    int actual_ = 0;
    bool comenzado_ = false;
    bool fallo_ = false;
    VistaPagina* vista_;
    QScrollArea* desplazamiento_;
    QLabel* etiqueta_;
    QComboBox* zoom_;
    BarraBusqueda* busqueda_;
    QToolBar* barra_;
    QProgressBar* progreso_;
    QAction* accionProgreso_;
    QAction* accionCancelar_;
    ProgresoTarea* tarea_ = nullptr; // the running export or print
    SalidaPdf::Portada portada_;
    QElapsedTimer repintado_; // since the page and the label were last brought up to date
    int totalMostrado_ = 0;   // the page count the shown page's footer has
};

} // namespace rp::motor
