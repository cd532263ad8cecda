#include "report/engine/BuscadorPaginas.h"

#include "report/engine/ContextoReporte.h"

#include <algorithm>

namespace rp::motor {

void BuscadorPaginas::comenzar(const QString& texto) {
    texto_ = texto;
    coincidencias_.clear();
    revisadas_ = 0;
    actual_ = -1;
    cancelada_ = false;
    completa_ = texto.trimmed().isEmpty();
    activa_ = !completa_;
}

void BuscadorPaginas::cancelar() {
    if (!activa_)
        return;
    activa_ = false;
    cancelada_ = true;
}

bool BuscadorPaginas::avanzar(const QList<PaginaReporte>& paginas, int completas, bool terminado,
                              int maximo) {
    if (!activa_)
        return false;
    const int hasta = std::min<int>(static_cast<int>(paginas.size()),
                                    terminado ? static_cast<int>(paginas.size()) : completas);
    int vistas = 0;
    while (revisadas_ < hasta && vistas < maximo) {
        revisar(paginas.at(revisadas_));
        ++vistas;
    }
    if (terminado && revisadas_ >= paginas.size())
        terminar();
    return activa_;
}

void BuscadorPaginas::revisar(const PaginaReporte& p) {
    if (!activa_)
        return;
    const QString marca = ContextoReporte::marcaTotalPaginas();
    for (qsizetype i = 0; i < p.elementos.size(); ++i) {
        const ElementoPagina& e = p.elementos.at(i);
        if (e.tipo != ElementoPagina::Texto)
            continue;
        const bool hay = e.texto.contains(marca)
                             ? QString(e.texto).remove(marca).contains(texto_, Qt::CaseInsensitive)
                             : e.texto.contains(texto_, Qt::CaseInsensitive);
        if (hay)
            coincidencias_.append({revisadas_, static_cast<int>(i)});
    }
    ++revisadas_;
    if (actual_ < 0 && !coincidencias_.isEmpty())
        actual_ = 0;
}

void BuscadorPaginas::terminar() {
    if (!activa_)
        return;
    activa_ = false;
    completa_ = true;
}

bool BuscadorPaginas::siguiente() {
    if (coincidencias_.isEmpty())
        return false;
    if (actual_ + 1 < coincidencias_.size()) {
        ++actual_;
        return true;
    }
    if (!completa_)
        return false;
    actual_ = 0;
    return true;
}

bool BuscadorPaginas::anterior() {
    if (coincidencias_.isEmpty())
        return false;
    if (actual_ > 0) {
        --actual_;
        return true;
    }
    if (!completa_)
        return false;
    actual_ = static_cast<int>(coincidencias_.size()) - 1;
    return true;
}

QList<int> BuscadorPaginas::elementosDe(int pagina) const {
    QList<int> r;
    // Hits are in page order.
    auto it = std::lower_bound(coincidencias_.cbegin(), coincidencias_.cend(), pagina,
                               [](const Coincidencia& c, int p) { return c.pagina < p; });
    for (; it != coincidencias_.cend() && it->pagina == pagina; ++it)
        r << it->elemento;
    return r;
}

QString BuscadorPaginas::etiqueta() const {
    return QStringLiteral("%1 de %2%3")
        .arg(actual_ + 1)
        .arg(coincidencias_.size())
        .arg(completa_ ? QString() : QStringLiteral("+"));
}

} // namespace rp::motor
