#pragma once

#include "report/engine/DisenoPagina.h"
#include "report/engine/FormatoValores.h"
#include "report/engine/PaginaReporte.h"

#include <QList>
#include <QVariant>
#include <functional>
#include <limits>

namespace rp::motor {

class LectorFilas;
class ReportePreparado;

// Lays a report out on pages as its rows arrive. Every page carries the page
// header (template lines, then the column titles and a rule), its detail
// rows (a group header row where the group value changes, never alone at the
// foot of a page and repeated, "(continúa)", on a page the group goes on to;
// a group footer row with the group's row count after its last row) and the
// footer ("Página N de M": the total is a mark the
// painter replaces once the last page is known). A report without rows still
// has one page.
//
// The same rules serve to lay out part of a report: limitar() builds only a
// range of pages and counts the others (no elements, no formulas of their
// columns); contar() takes a row's group value alone, so a pass over the
// group values finds where every page starts (IndicePaginas); reanudar()
// starts after a given page, so one page can be laid out alone from the rows
// it starts at.
class Paginador {
public:
    Paginador(const ReportePreparado& reporte, FormatoValores formato = FormatoValores());

    // Adds the current row of `filas`.
    void agregar(const LectorFilas& filas);
    // Adds a row of which only the group value is known (pages not built).
    void contar(const QVariant& grupo);
    // Closes the last page.
    void terminar();

    bool terminado() const { return terminado_; }
    // Pages laid out so far; the last one is still open until terminar().
    // With limitar(), only the pages of the range; see also tomarCompletas().
    const QList<PaginaReporte>& paginas() const { return paginas_; }
    // Pages that will not change any more.
    int paginasCompletas() const;
    // Takes the complete pages out of paginas() (a pass that does not keep
    // its pages); numbering goes on.
    QList<PaginaReporte> tomarCompletas();
    // Number of the page being laid out (0 before the first).
    int numeroActual() const { return numero_; }

    // Builds only pages [desde, hasta]; the others are counted.
    void limitar(int desde, int hasta);
    // Goes on as if page `numero` had just been filled: the next row opens
    // page numero + 1 (no group open).
    void reanudar(int numero);
    // ... within the group that starts at the current row of `filas`, of
    // which `filasAntes` rows (this one included) went on earlier pages.
    void reanudarGrupo(const LectorFilas& filas, qint64 filasAntes);

    // How a page opened: whether it goes on with a group begun on an earlier
    // page. Told to the observer of alAbrirPagina().
    struct Apertura {
        int numero = 0;
        bool continuaGrupo = false;
        // False when the page starts otherwise than reanudar() would start
        // it (a group footer or a row whose header stayed on the page before,
        // both only on pages too short for a few rows).
        bool reanudable = true;
    };
    void alAbrirPagina(std::function<void(const Apertura&)> observador) {
        alAbrir_ = std::move(observador);
    }
    const DisenoPagina& diseno() const { return diseno_; }
    int filasPorPagina() const { return filasPorPagina_; }

    // Lays a whole report out (rows from `filas`).
    static QList<PaginaReporte> componer(const ReportePreparado& reporte, LectorFilas& filas,
                                         int* total = nullptr);

    // The direction a change column's text shows (its arrow).
    static ElementoPagina::Tono tonoDeCambio(const QString& texto);

private:
    void colocar(const QVariant& grupo, const LectorFilas* filas);
    void iniciarGrupo(const QVariant& grupo, const LectorFilas* filas);
    PaginaReporte& pagina() { return construir_ ? paginas_.last() : descarte_; }
    // `reanudable`: the page starts with a row laid out as on a page of its
    // own (see Apertura).
    void abrirPagina(bool reanudable = true);
    void cerrarPagina();
    void cerrarGrupo();
    void tituloGrupo(const QString& t);
    void lineaBorde(PaginaReporte& pagina, const LineaBorde& linea, double y, double alto);
    double alturaBorde(const QList<LineaBorde>& lineas) const;
    void texto(PaginaReporte& p, double x, double y, double ancho, double alto, const QString& t,
               Alineacion a, bool negrita = false, double escala = 1.0);

    const ReportePreparado& rep_;
    FormatoValores formato_;
    DisenoPagina diseno_;
    QList<PaginaReporte> paginas_;
    PaginaReporte descarte_; // a page counted, not built
    int numero_ = 0;
    int desde_ = 1, hasta_ = std::numeric_limits<int>::max();
    bool construir_ = false;      // the open page is built
    int filasPagina_ = 0;         // detail rows of the open page
    bool filaNuevoGrupo_ = false; // the row being added opened its group
    std::function<void(const Apertura&)> alAbrir_;
    bool abierta_ = false;
    bool terminado_ = false;
    double yDetalle_ = 0; // where the detail area starts
    double yPie_ = 0;     // where the footer starts
    double y_ = 0;        // next detail line
    int filasPorPagina_ = 1;
    bool hayGrupo_ = false;
    QVariant grupoActual_;
    QString tituloGrupo_;       // the current group's header text
    qint64 filasGrupo_ = 0;     // its rows so far
    QVariantList valoresGrupo_; // its first row, for fields in the footer
    const QHash<QString, int>* indicesGrupo_ = nullptr;
};

} // namespace rp::motor
