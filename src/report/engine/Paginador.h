#pragma once

#include "report/engine/DisenoPagina.h"
#include "report/engine/FormatoValores.h"
#include "report/engine/PaginaReporte.h"

#include <QList>
#include <QVariant>

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
class Paginador {
public:
    Paginador(const ReportePreparado& reporte, FormatoValores formato = FormatoValores());

    // Adds the current row of `filas`.
    void agregar(const LectorFilas& filas);
    // Closes the last page.
    void terminar();

    bool terminado() const { return terminado_; }
    // Pages laid out so far; the last one is still open until terminar().
    const QList<PaginaReporte>& paginas() const { return paginas_; }
    // Pages that will not change any more.
    int paginasCompletas() const;
    const DisenoPagina& diseno() const { return diseno_; }
    int filasPorPagina() const { return filasPorPagina_; }

    // Lays a whole report out (rows from `filas`).
    static QList<PaginaReporte> componer(const ReportePreparado& reporte, LectorFilas& filas,
                                         int* total = nullptr);

    // The direction a change column's text shows (its arrow).
    static ElementoPagina::Tono tonoDeCambio(const QString& texto);

private:
    void abrirPagina();
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
