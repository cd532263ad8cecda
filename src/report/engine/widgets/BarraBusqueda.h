#pragma once

#include "report/engine/BuscadorPaginas.h"
#include "report/engine/FuenteDatos.h"

#include <QTimer>
#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;

namespace rp::motor {

class LectorFilas;
class Paginador;
class ReportePreparado;

// The preview's search bar (Ctrl+F): a text field, previous / next buttons
// and the hit count ("N de M"). The search lays the report out in a pass of
// its own, a slice of pages per turn of the event loop, and keeps only the
// hits (page and element), not the pages: the window answers while it runs
// and the first hit shows as soon as its page is laid out. Enter searches (or
// goes to the next hit of the same text), Shift+Enter goes back; the window
// sends F3 / Shift+F3 and Esc here.
class BarraBusqueda : public QWidget {
    Q_OBJECT
public:
    BarraBusqueda(const ReportePreparado& reporte, FuenteDatos fuente, QWidget* parent = nullptr);
    ~BarraBusqueda() override;

    // Shows the bar and puts the focus in its text field.
    void abrir();
    // Starts a search for `texto` from the first page.
    void buscar(const QString& texto);
    void siguiente();
    void anterior();
    // Esc: cancels a running search, else closes the bar. False when there
    // was nothing to do (the bar was closed).
    bool escape();

    const BuscadorPaginas& buscador() const { return buscador_; }
    QString etiqueta() const;
    // Hits of page `pagina` (from 0) and the current hit's element on it (-1).
    QList<int> marcas(int pagina, int* actual) const;

    // Pages looked through per turn of the event loop (by default as many
    // as are laid out in 20 ms).
    void fijarLote(int paginas) { lote_ = std::max(1, paginas); }
    // True while the search's pass runs.
    bool buscando() const { return temporizador_.isActive(); }

Q_SIGNALS:
    // The current hit changed: show page `pagina` (from 0), element `elemento`.
    void mostrar(int pagina, int elemento);
    // Hits or their count changed (repaint the marks).
    void cambio();

private:
    void avanzar();
    void mostrarActual();
    void actualizarEtiqueta();

    void detener();

    const ReportePreparado& rep_;
    FuenteDatos fuente_;
    std::unique_ptr<LectorFilas> filas_;
    std::unique_ptr<Paginador> paginador_;
    BuscadorPaginas buscador_;
    QTimer temporizador_;
    int lote_ = 0;           // 0: by time
    bool pendiente_ = false; // F3 pressed past the last hit found so far
    QLineEdit* texto_;
    QLabel* etiqueta_;
};

} // namespace rp::motor
