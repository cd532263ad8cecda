#pragma once

#include "report/engine/PaginaReporte.h"

#include <QList>
#include <QString>

namespace rp::motor {

// Text search over the laid-out pages of a report while they are still being
// laid out: each call to avanzar() looks through a slice of the pages that
// will not change any more, so a window can run it a little per turn of its
// event loop, and the hits found so far can be visited at once. Letter case
// is ignored; the page-count mark of footers is not part of their text.
class BuscadorPaginas {
public:
    struct Coincidencia {
        int pagina = 0;   // page index (from 0)
        int elemento = 0; // index in the page's elementos
        bool operator==(const Coincidencia&) const = default;
    };

    // Starts a new search for `texto` (blank texts find nothing).
    void comenzar(const QString& texto);
    // Stops looking; the hits found so far stay.
    void cancelar();

    // Looks through up to `maximo` of the pages [revisadas, completas), where
    // `completas` pages of `paginas` are final and `terminado` tells whether
    // the layout is over. Returns true while there is more to look through.
    bool avanzar(const QList<PaginaReporte>& paginas, int completas, bool terminado,
                 int maximo = 200);
    // The same over pages that are not kept: looks through `pagina`, the
    // next page in order; terminar() once the last one was looked through.
    void revisar(const PaginaReporte& pagina);
    void terminar();

    bool activa() const { return activa_; }
    bool cancelada() const { return cancelada_; }
    // True when every page was looked through.
    bool completa() const { return completa_; }
    const QString& texto() const { return texto_; }
    int paginasRevisadas() const { return revisadas_; }
    const QList<Coincidencia>& coincidencias() const { return coincidencias_; }

    // The current hit (-1 = none yet).
    int actual() const { return actual_; }
    // Moves to the next / previous hit, round to the first / last once the
    // search is complete. False when there is none to move to (yet).
    bool siguiente();
    bool anterior();
    // The hits of one page (element indexes).
    QList<int> elementosDe(int pagina) const;

    // "N de M": M+ while the search goes on.
    QString etiqueta() const;

private:
    QString texto_;
    QList<Coincidencia> coincidencias_;
    int revisadas_ = 0;
    int actual_ = -1;
    bool activa_ = false;
    bool cancelada_ = false;
    bool completa_ = false;
};

} // namespace rp::motor
