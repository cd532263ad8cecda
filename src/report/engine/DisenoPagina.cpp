#include "report/engine/DisenoPagina.h"

#include "report/engine/ContextoReporte.h"
#include "report/engine/FormatoValores.h"
#include "report/engine/ReportePreparado.h"

#include <utility>

namespace rp::motor {

namespace {

// Widths in ems of the report font (DejaVu Sans and alike): a digit, a
// separator ("/", ":", ",", ".", blank), a minus sign, an average letter of a
// bold title; 5 % more for other fonts of the family.
constexpr double kEmCifra = 0.636;
constexpr double kEmSeparador = 0.34;
constexpr double kEmMenos = 0.84;
constexpr double kEmTituloNegrita = 0.72;
constexpr double kMargenFuente = 1.05;
// The painter leaves 0.6 mm each side of a cell; a little more for rounding.
constexpr double kHolgura = 1.6;

// Ems the widest value of a fixed-format column takes on the page: dates
// "dd/mm/yyyy" and "dd/mm/yyyy hh:mm:ss", numbers up to 9,999,999 (whole
// numbers up to 999,999,999) with sign, thousands separators and decimals.
double emsValor(const FormatoColumna& f) {
    double ems = 0;
    switch (f.tipo) {
    case FormatoColumna::Fecha:
        ems = 8 * kEmCifra + 2 * kEmSeparador;
        break;
    case FormatoColumna::FechaHora:
        ems = 14 * kEmCifra + 5 * kEmSeparador;
        break;
    case FormatoColumna::Entero:
        ems = kEmMenos + 9 * kEmCifra + 2 * kEmSeparador;
        break;
    case FormatoColumna::Numero:
        ems = kEmMenos + (7 + std::max(0, f.decimales)) * kEmCifra +
              (f.decimales > 0 ? 3 : 2) * kEmSeparador;
        break;
    case FormatoColumna::Cambio:
        // "▲ +1,234,567.89": arrow, blank, sign, the number.
        ems = 0.84 + kEmSeparador + kEmMenos + (7 + std::max(0, f.decimales)) * kEmCifra +
              (f.decimales > 0 ? 3 : 2) * kEmSeparador;
        break;
    case FormatoColumna::Texto:
        break;
    }
    return ems * kMargenFuente;
}

} // namespace

double DisenoPagina::anchoNecesario(const ColumnaPlantilla& c, const QString& titulo,
                                    double tamanoLetra) {
    const double em = tamanoLetra * 0.3528;
    const double necesario =
        std::max(titulo.size() * kEmTituloNegrita * em, emsValor(c.formato) * em) + kHolgura;
    return c.formato.tipo == FormatoColumna::Texto ? std::max(necesario, c.ancho) : necesario;
}

void DisenoPagina::tamanoPapel(const QString& papel, double& ancho, double& alto) {
    if (papel.compare(QLatin1String("Carta"), Qt::CaseInsensitive) == 0) {
        ancho = 215.9;
        alto = 279.4;
    } else if (papel.compare(QLatin1String("Oficio"), Qt::CaseInsensitive) == 0) {
        ancho = 215.9;
        alto = 355.6;
    } else {
        ancho = 210;
        alto = 297;
    }
}

DisenoPagina DisenoPagina::calcular(const ReportePreparado& reporte) {
    const Plantilla& p = reporte.plantilla();
    DisenoPagina d;
    // What each visible column needs so that neither its title nor its
    // values are cut: fixed-format columns (numbers, dates) their widest
    // value, text columns at least their template width.
    ContextoReporte ctx(reporte);
    const FormatoValores formato;
    const QList<int> columnas = reporte.columnasPagina();
    QList<double> necesario;
    double total = 0, pesoTexto = 0;
    for (int i : columnas) {
        const ColumnaPlantilla& c = p.columnas.at(i);
        const QString titulo =
            c.titulo.evaluar(ctx, [&](const QVariant& v) { return formato.texto(v); });
        necesario << anchoNecesario(c, titulo, p.tamanoLetra);
        total += necesario.constLast();
        if (c.formato.tipo == FormatoColumna::Texto)
            pesoTexto += c.ancho;
    }

    tamanoPapel(p.papel, d.anchoPapel, d.altoPapel);
    // Landscape when the template asks for it or the columns need it.
    d.horizontal = p.horizontal || total > d.anchoPapel - p.margenIzquierdo - p.margenDerecho;
    if (d.horizontal)
        std::swap(d.anchoPapel, d.altoPapel);
    d.izquierda = p.margenIzquierdo;
    d.derecha = std::max(d.izquierda + 10, d.anchoPapel - p.margenDerecho);
    d.arriba = p.margenSuperior;
    d.abajo = std::max(d.arriba + 20, d.altoPapel - p.margenInferior);
    // One point is 0.3528 mm; lines get 40 % leading.
    d.alturaLinea = p.tamanoLetra * 0.3528 * 1.4;
    d.alturaTitulo = d.alturaLinea * 1.6;

    // Room to spare goes to the text columns (descriptions), in proportion to
    // their template widths; columns that do not fit even so shrink alike.
    const double sobra = d.anchoUtil() - total;
    const double factor = total > d.anchoUtil() ? d.anchoUtil() / total : 1.0;
    double x = d.izquierda;
    int k = 0;
    for (int i : columnas) {
        const ColumnaPlantilla& col = p.columnas.at(i);
        Columna c;
        c.indice = i;
        c.x = x;
        c.ancho = necesario.at(k++) * factor;
        if (sobra > 0 && pesoTexto > 0 && col.formato.tipo == FormatoColumna::Texto)
            c.ancho += sobra * col.ancho / pesoTexto;
        x += c.ancho;
        d.columnas << c;
    }
    return d;
}

} // namespace rp::motor
