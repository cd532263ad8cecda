#include "report/engine/EmisorSql.h"

#include <QDate>
#include <QLocale>
#include <cmath>

namespace rp::motor {

namespace {

// Precedence of the SQL forms (higher binds tighter).
enum Prec { POr = 1, PAnd = 2, PNot = 3, PComp = 4, PSuma = 5, PProd = 6, PUnario = 7, PPrim = 8 };

constexpr int profundidadMaxima = 64;

[[noreturn]] void noTraducible(const NodoFormula& donde, const QString& que) {
    throw ErrorNoTraducible(QStringLiteral("sin traducción a SQL: %1").arg(que), donde.linea,
                            donde.columna);
}

OperadorBinario invertir(OperadorBinario op) {
    switch (op) {
    case OperadorBinario::Menor:
        return OperadorBinario::Mayor;
    case OperadorBinario::MenorIgual:
        return OperadorBinario::MayorIgual;
    case OperadorBinario::Mayor:
        return OperadorBinario::Menor;
    case OperadorBinario::MayorIgual:
        return OperadorBinario::MenorIgual;
    default:
        return op;
    }
}

const char* textoOperador(OperadorBinario op) {
    switch (op) {
    case OperadorBinario::Igual:
        return " = ";
    case OperadorBinario::Distinto:
        return " <> ";
    case OperadorBinario::Menor:
        return " < ";
    case OperadorBinario::MenorIgual:
        return " <= ";
    case OperadorBinario::Mayor:
        return " > ";
    case OperadorBinario::MayorIgual:
        return " >= ";
    case OperadorBinario::Y:
        return " AND ";
    case OperadorBinario::O:
        return " OR ";
    case OperadorBinario::Suma:
        return " + ";
    case OperadorBinario::Resta:
        return " - ";
    case OperadorBinario::Producto:
        return " * ";
    case OperadorBinario::Cociente:
        return " / ";
    default:
        return " ";
    }
}

const NodoLiteral* literal(const Formula& f) {
    return f ? std::get_if<NodoLiteral>(&f->contenido) : nullptr;
}

} // namespace

QString EmisorSql::literalTexto(const QString& texto) {
    QString t = texto;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

QString EmisorSql::literalNumero(double valor) {
    if (std::isfinite(valor) && valor == std::floor(valor) && std::fabs(valor) < 1e15)
        return QString::number(static_cast<qint64>(valor));
    return QLocale::c().toString(valor, 'g', 17);
}

QString EmisorSql::literalFechaHora(const QDateTime& momento) {
    // Style 120 (yyyy-mm-dd hh:mi:ss) reads the same whatever the server's
    // language and date format.
    return QStringLiteral("CONVERT(DATETIME, '%1', 120)")
        .arg(momento.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

QString EmisorSql::patronComo(const QString& patron, bool* escapar) {
    QString r;
    bool esc = false;
    for (const QChar c : patron) {
        switch (c.unicode()) {
        case '*':
            r += QLatin1Char('%');
            break;
        case '?':
            r += QLatin1Char('_');
            break;
        case '%':
        case '_':
        case '[':
        case '\\':
            r += QLatin1Char('\\');
            r += c;
            esc = true;
            break;
        default:
            r += c;
        }
    }
    if (escapar)
        *escapar = esc;
    return r;
}

QString EmisorSql::emitir(const Formula& formula) const {
    if (!formula)
        return QString();
    return parte(formula, 0).sql;
}

QString EmisorSql::envolver(const Parte& p, int precedencia) const {
    if (p.precedencia < precedencia)
        return QLatin1Char('(') + p.sql + QLatin1Char(')');
    return p.sql;
}

// A {@slot} reference replaced by the slot's formula (followed through chains).
Formula EmisorSql::resolver(const Formula& f, int profundidad) const {
    Formula actual = f;
    while (actual) {
        const auto* ref = std::get_if<NodoReferenciaFormula>(&actual->contenido);
        if (!ref)
            return actual;
        if (++profundidad > profundidadMaxima)
            noTraducible(*f, QStringLiteral("fórmula circular {@%1}").arg(ref->nombre));
        Formula g = formulas_ ? formulas_(ref->nombre) : nullptr;
        if (!g)
            throw ErrorMotor(QStringLiteral("fórmula desconocida: {@%1}").arg(ref->nombre),
                             actual->linea, actual->columna);
        actual = g;
    }
    return actual;
}

EmisorSql::Parte EmisorSql::parte(const Formula& entrada, int profundidad) const {
    if (profundidad > profundidadMaxima)
        noTraducible(*entrada, QStringLiteral("fórmula demasiado anidada"));
    const Formula f = resolver(entrada, profundidad);
    const NodoFormula& n = *f;
    if (const auto* lit = std::get_if<NodoLiteral>(&n.contenido)) {
        switch (lit->valor.typeId()) {
        case QMetaType::QString:
            return {literalTexto(lit->valor.toString()), PPrim};
        case QMetaType::Double:
            return {literalNumero(lit->valor.toDouble()), PPrim};
        case QMetaType::QDateTime:
            return {literalFechaHora(lit->valor.toDateTime()), PPrim};
        case QMetaType::QDate:
            return {literalFechaHora(QDateTime(lit->valor.toDate(), QTime(0, 0))), PPrim};
        default:
            noTraducible(n, QStringLiteral("valor lógico"));
        }
    }
    if (const auto* c = std::get_if<NodoCampo>(&n.contenido))
        return {campos_(*c), PPrim};
    if (const auto* e = std::get_if<NodoEspecial>(&n.contenido))
        noTraducible(n, QLatin1Char('{') + e->nombre + QLatin1Char('}'));
    if (const auto* u = std::get_if<NodoUnario>(&n.contenido)) {
        const Parte p = parte(u->operando, profundidad + 1);
        if (u->op == OperadorUnario::No)
            return {QStringLiteral("NOT ") + envolver(p, PNot), PNot};
        return {QStringLiteral("-") + envolver(p, PUnario), PUnario};
    }
    if (const auto* fn = std::get_if<NodoFuncion>(&n.contenido)) {
        const QString x = parte(fn->argumentos.value(0), profundidad + 1).sql;
        switch (fn->funcion) {
        case Funcion::TrimLeft:
            return {QStringLiteral("LTRIM(%1)").arg(x), PPrim};
        case Funcion::TrimRight:
            return {QStringLiteral("RTRIM(%1)").arg(x), PPrim};
        case Funcion::Trim:
            return {QStringLiteral("LTRIM(RTRIM(%1))").arg(x), PPrim};
        case Funcion::UpperCase:
            return {QStringLiteral("UPPER(%1)").arg(x), PPrim};
        case Funcion::LowerCase:
            return {QStringLiteral("LOWER(%1)").arg(x), PPrim};
        case Funcion::ToNumber:
            return {QStringLiteral("CAST(%1 AS FLOAT)").arg(x), PPrim};
        case Funcion::ToText:
            noTraducible(n, QStringLiteral("ToText"));
        }
    }
    const auto& b = std::get<NodoBinario>(n.contenido);
    switch (b.op) {
    case OperadorBinario::Y:
    case OperadorBinario::O: {
        const int prec = b.op == OperadorBinario::Y ? PAnd : POr;
        const Parte i = parte(b.izquierdo, profundidad + 1);
        const Parte d = parte(b.derecho, profundidad + 1);
        return {envolver(i, prec) + QLatin1String(textoOperador(b.op)) + envolver(d, prec + 1),
                prec};
    }
    case OperadorBinario::Como: {
        const Formula patron = resolver(b.derecho, profundidad + 1);
        const auto* lit = literal(patron);
        if (!lit || lit->valor.typeId() != QMetaType::QString)
            noTraducible(n, QStringLiteral("like sin un patrón constante"));
        bool escapar = false;
        const QString p = patronComo(lit->valor.toString(), &escapar);
        QString sql = envolver(parte(b.izquierdo, profundidad + 1), PSuma) +
                      QStringLiteral(" LIKE ") + literalTexto(p);
        if (escapar)
            sql += QStringLiteral(" ESCAPE '\\'");
        return {sql, PComp};
    }
    case OperadorBinario::Concatenar:
        noTraducible(n, QStringLiteral("&"));
    case OperadorBinario::Suma:
    case OperadorBinario::Resta:
    case OperadorBinario::Producto:
    case OperadorBinario::Cociente: {
        const int prec =
            (b.op == OperadorBinario::Suma || b.op == OperadorBinario::Resta) ? PSuma : PProd;
        const Parte i = parte(b.izquierdo, profundidad + 1);
        const Parte d = parte(b.derecho, profundidad + 1);
        return {envolver(i, prec) + QLatin1String(textoOperador(b.op)) + envolver(d, prec + 1),
                prec};
    }
    default:
        return comparacion(b, n, profundidad);
    }
}

EmisorSql::Parte EmisorSql::comparacion(const NodoBinario& b, const NodoFormula& donde,
                                        int profundidad) const {
    Formula izq = resolver(b.izquierdo, profundidad + 1);
    Formula der = resolver(b.derecho, profundidad + 1);
    OperadorBinario op = b.op;
    // A plain date on either side compares whole days: put it on the right.
    const auto esFecha = [](const Formula& f) {
        const auto* l = literal(f);
        return l && l->valor.typeId() == QMetaType::QDate;
    };
    if (esFecha(izq) && !esFecha(der)) {
        std::swap(izq, der);
        op = invertir(op);
    }
    const auto valor = [&](const Formula& f) { return envolver(parte(f, profundidad + 1), PSuma); };
    if (esFecha(der) && !esFecha(izq)) {
        const QDate dia = literal(der)->valor.toDate();
        const QString x = valor(izq);
        const QString desde = literalFechaHora(QDateTime(dia, QTime(0, 0)));
        const QString hasta = literalFechaHora(QDateTime(dia.addDays(1), QTime(0, 0)));
        switch (op) {
        case OperadorBinario::Igual:
            return {QStringLiteral("(%1 >= %2 AND %1 < %3)").arg(x, desde, hasta), PPrim};
        case OperadorBinario::Distinto:
            return {QStringLiteral("(%1 < %2 OR %1 >= %3)").arg(x, desde, hasta), PPrim};
        case OperadorBinario::Menor:
            return {x + QStringLiteral(" < ") + desde, PComp};
        case OperadorBinario::MenorIgual:
            return {x + QStringLiteral(" < ") + hasta, PComp};
        case OperadorBinario::Mayor:
            return {x + QStringLiteral(" >= ") + hasta, PComp};
        default:
            return {x + QStringLiteral(" >= ") + desde, PComp};
        }
    }
    Q_UNUSED(donde);
    return {valor(izq) + QLatin1String(textoOperador(op)) + valor(der), PComp};
}

} // namespace rp::motor
