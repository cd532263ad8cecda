#include "report/engine/Paginador.h"

#include "report/engine/ContextoReporte.h"
#include "report/engine/EvaluadorFormula.h"
#include "report/engine/LectorFilas.h"
#include "report/engine/ReportePreparado.h"
#include "report/engine/ValoresFormula.h"

#include <cmath>

namespace rp::motor {

Paginador::Paginador(const ReportePreparado& reporte, FormatoValores formato)
    : rep_(reporte), formato_(std::move(formato)), diseno_(DisenoPagina::calcular(reporte)) {
    const Plantilla& p = rep_.plantilla();
    const double encabezado = alturaBorde(p.encabezado) + diseno_.alturaLinea + diseno_.separacion;
    const double pie = alturaBorde(p.pie) + (p.pie.isEmpty() ? 0 : diseno_.separacion);
    yDetalle_ = diseno_.arriba + encabezado;
    yPie_ = diseno_.abajo - pie;
    filasPorPagina_ =
        std::max(1, static_cast<int>(std::floor((yPie_ - yDetalle_) / diseno_.alturaLinea + 1e-9)));
}

double Paginador::alturaBorde(const QList<LineaBorde>& lineas) const {
    double h = 0;
    for (const LineaBorde& l : lineas)
        h += l.titulo ? diseno_.alturaTitulo : diseno_.alturaLinea;
    return h;
}

ElementoPagina::Tono Paginador::tonoDeCambio(const QString& texto) {
    if (texto.startsWith(QChar(0x25B2)))
        return ElementoPagina::Sube;
    if (texto.startsWith(QChar(0x25BC)))
        return ElementoPagina::Baja;
    return ElementoPagina::Neutro;
}

int Paginador::paginasCompletas() const {
    const int n = static_cast<int>(paginas_.size());
    return abierta_ && construir_ ? n - 1 : n;
}

QList<PaginaReporte> Paginador::tomarCompletas() {
    const int n = paginasCompletas();
    if (n == 0)
        return {};
    QList<PaginaReporte> r(std::make_move_iterator(paginas_.begin()),
                           std::make_move_iterator(paginas_.begin() + n));
    paginas_.remove(0, n);
    return r;
}

void Paginador::limitar(int desde, int hasta) {
    desde_ = desde;
    hasta_ = hasta;
}

void Paginador::reanudar(int numero) {
    numero_ = numero;
    abierta_ = true;
    construir_ = false;
    filasPagina_ = 1;
    y_ = std::numeric_limits<double>::max() / 4; // full: the next row opens a page
    hayGrupo_ = false;
}

void Paginador::reanudarGrupo(const LectorFilas& filas, qint64 filasAntes) {
    const EvaluadorFormula ev(filas.contexto());
    iniciarGrupo(rep_.plantilla().grupo ? ev.evaluar(rep_.plantilla().grupo) : QVariant(), &filas);
    filasGrupo_ = filasAntes;
}

void Paginador::texto(PaginaReporte& p, double x, double y, double ancho, double alto,
                      const QString& t, Alineacion a, bool negrita, double escala) {
    if (t.isEmpty() || !construir_)
        return;
    ElementoPagina e;
    e.tipo = ElementoPagina::Texto;
    e.x = x;
    e.y = y;
    e.ancho = ancho;
    e.alto = alto;
    e.texto = t;
    e.alineacion = a;
    e.negrita = negrita;
    e.escala = escala;
    p.elementos << e;
}

void Paginador::lineaBorde(PaginaReporte& pagina, const LineaBorde& linea, double y, double alto) {
    ContextoReporte ctx(rep_);
    ctx.fijarPagina(pagina.numero);
    const auto formatear = [this](const QVariant& v) { return formato_.texto(v); };
    const double x = diseno_.izquierda, w = diseno_.anchoUtil();
    if (linea.titulo) {
        texto(pagina, x, y, w, alto, linea.centro.evaluar(ctx, formatear), Alineacion::Centro, true,
              1.6);
        return;
    }
    texto(pagina, x, y, w, alto, linea.izquierda.evaluar(ctx, formatear), Alineacion::Izquierda);
    texto(pagina, x, y, w, alto, linea.centro.evaluar(ctx, formatear), Alineacion::Centro);
    texto(pagina, x, y, w, alto, linea.derecha.evaluar(ctx, formatear), Alineacion::Derecha);
}

void Paginador::abrirPagina(bool reanudable) {
    ++numero_;
    abierta_ = true;
    y_ = yDetalle_;
    filasPagina_ = 0;
    construir_ = numero_ >= desde_ && numero_ <= hasta_;
    if (alAbrir_)
        alAbrir_({numero_, hayGrupo_ && !filaNuevoGrupo_, reanudable});
    if (!construir_)
        return;
    PaginaReporte p;
    p.numero = numero_;
    // A full page: its rows' cells, a group header or two, the borders.
    p.elementos.reserve(16 + (filasPorPagina_ + 2) * (diseno_.columnas.size() + 1));
    const Plantilla& pl = rep_.plantilla();
    double y = diseno_.arriba;
    for (const LineaBorde& l : pl.encabezado) {
        const double alto = l.titulo ? diseno_.alturaTitulo : diseno_.alturaLinea;
        lineaBorde(p, l, y, alto);
        y += alto;
    }
    ContextoReporte ctx(rep_);
    ctx.fijarPagina(p.numero);
    const auto formatear = [this](const QVariant& v) { return formato_.texto(v); };
    for (const DisenoPagina::Columna& c : diseno_.columnas) {
        const ColumnaPlantilla& col = pl.columnas.at(c.indice);
        texto(p, c.x, y, c.ancho, diseno_.alturaLinea, col.titulo.evaluar(ctx, formatear),
              col.alineacion, true);
    }
    y += diseno_.alturaLinea;
    ElementoPagina regla;
    regla.tipo = ElementoPagina::Linea;
    regla.x = diseno_.izquierda;
    regla.y = y + diseno_.separacion / 3;
    regla.ancho = diseno_.anchoUtil();
    p.elementos << regla;

    double yp = yPie_ + (pl.pie.isEmpty() ? 0 : diseno_.separacion);
    if (!pl.pie.isEmpty()) {
        ElementoPagina linea = regla;
        linea.y = yPie_ + diseno_.separacion / 3;
        p.elementos << linea;
    }
    for (const LineaBorde& l : pl.pie) {
        const double alto = l.titulo ? diseno_.alturaTitulo : diseno_.alturaLinea;
        lineaBorde(p, l, yp, alto);
        yp += alto;
    }
    paginas_ << p;
}

void Paginador::cerrarPagina() {
    abierta_ = false;
}

void Paginador::tituloGrupo(const QString& t) {
    texto(pagina(), diseno_.izquierda, y_, diseno_.anchoUtil(), diseno_.alturaLinea, t,
          Alineacion::Izquierda, true);
    y_ += diseno_.alturaLinea;
}

void Paginador::cerrarGrupo() {
    const Plantilla& pl = rep_.plantilla();
    if (!hayGrupo_ || pl.pieGrupo.vacio())
        return;
    const double h = diseno_.alturaLinea;
    // The rows leave a line for it (see colocar): it stays with the last row.
    if (!abierta_ || y_ + h > yPie_ + 1e-6) {
        cerrarPagina();
        abrirPagina(false);
    }
    if (!construir_) {
        y_ += h;
        return;
    }
    ContextoReporte ctx(rep_);
    ctx.fijarFila(indicesGrupo_, &valoresGrupo_, 0);
    ctx.fijarCuentaGrupo(filasGrupo_);
    const auto formatear = [this](const QVariant& v) { return formato_.texto(v).trimmed(); };
    ctx.fijarPagina(numero_);
    // Under the group's first column on the page, a line below its rows.
    const double x = diseno_.columnas.isEmpty() ? diseno_.izquierda : diseno_.columnas.first().x;
    texto(paginas_.last(), x, y_, diseno_.derecha - x, h, pl.pieGrupo.evaluar(ctx, formatear),
          Alineacion::Izquierda);
    y_ += h;
}

void Paginador::agregar(const LectorFilas& filas) {
    const Formula& grupo = rep_.plantilla().grupo;
    colocar(grupo ? EvaluadorFormula(filas.contexto()).evaluar(grupo) : QVariant(), &filas);
}

void Paginador::contar(const QVariant& grupo) {
    colocar(grupo, nullptr);
}

void Paginador::iniciarGrupo(const QVariant& grupo, const LectorFilas* filas) {
    const Plantilla& pl = rep_.plantilla();
    hayGrupo_ = true;
    grupoActual_ = grupo;
    filasGrupo_ = 0;
    if (!filas)
        return;
    valoresGrupo_ = filas->valores();
    indicesGrupo_ = &filas->indices();
    // Codes are stored with padding blanks; the header shows them trimmed.
    const auto recortar = [this](const QVariant& v) { return formato_.texto(v).trimmed(); };
    tituloGrupo_ = pl.tituloGrupo.vacio() ? recortar(grupo)
                                          : pl.tituloGrupo.evaluar(filas->contexto(), recortar);
}

void Paginador::colocar(const QVariant& grupo, const LectorFilas* filas) {
    const Plantilla& pl = rep_.plantilla();
    const double h = diseno_.alturaLinea;
    // With a group footer the rows keep a line free above the page footer,
    // so that a group's footer never starts a page on its own.
    const double fin = pl.pieGrupo.vacio() ? yPie_ : yPie_ - h;
    const auto cabe = [&](int lineas) { return y_ + lineas * h <= fin + 1e-6; };

    filaNuevoGrupo_ = false;
    if (!abierta_)
        abrirPagina();
    if (pl.grupo) {
        if (!hayGrupo_ || ValoresFormula::ordenar(grupo, grupoActual_) != 0) {
            cerrarGrupo();
            iniciarGrupo(grupo, filas);
            filaNuevoGrupo_ = true;
            // The group header goes with its first row.
            if (!cabe(2) && filasPagina_ > 0) {
                cerrarPagina();
                abrirPagina();
            }
            tituloGrupo(tituloGrupo_);
        }
    }
    if (!cabe(1)) {
        cerrarPagina();
        // Only on a page too short for a header and a row does a group's
        // header stay alone at the foot of one.
        abrirPagina(!filaNuevoGrupo_);
        // A group that goes on to a new page says so at its top.
        if (hayGrupo_ && !filaNuevoGrupo_)
            tituloGrupo(tituloGrupo_ + QStringLiteral(" (continúa)"));
    }
    if (construir_ && filas) {
        PaginaReporte& p = paginas_.last();
        const EvaluadorFormula ev(filas->contexto());
        for (const DisenoPagina::Columna& c : diseno_.columnas) {
            const ColumnaPlantilla& col = pl.columnas.at(c.indice);
            const QString t = formato_.mostrar(ev.evaluar(col.formula), col.formato);
            texto(p, c.x, y_, c.ancho, h, t, col.alineacion);
            if (col.formato.tipo == FormatoColumna::Cambio && !t.isEmpty())
                p.elementos.last().tono = tonoDeCambio(t);
        }
        if (pl.detalle)
            p.lineas << LineaDetalle{y_, h, formato_.texto(ev.evaluar(pl.detalle))};
        ++p.filas;
    }
    ++filasPagina_;
    ++filasGrupo_;
    y_ += h;
}

void Paginador::terminar() {
    if (terminado_)
        return;
    cerrarGrupo();
    if (numero_ == 0)
        abrirPagina();
    cerrarPagina();
    terminado_ = true;
}

QList<PaginaReporte> Paginador::componer(const ReportePreparado& reporte, LectorFilas& filas,
                                         int* total) {
    Paginador p(reporte);
    while (filas.siguiente())
        p.agregar(filas);
    p.terminar();
    if (total)
        *total = static_cast<int>(p.paginas().size());
    return p.paginas();
}

} // namespace rp::motor
