#include "report/engine/EvaluadorFormula.h"

#include "report/engine/ErrorMotor.h"
#include "report/engine/ValoresFormula.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

namespace rp::motor {

namespace {

using V = ValoresFormula;

constexpr int profundidadMaxima = 64;

// Three-valued truth: nullopt = unknown.
std::optional<bool> verdad(const QVariant& v) {
    if (V::esNulo(v))
        return std::nullopt;
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    if (V::esNumero(v))
        return v.toDouble() != 0;
    return std::nullopt;
}

QString recortarIzquierda(const QString& t) {
    qsizetype i = 0;
    while (i < t.size() && t.at(i) == QLatin1Char(' '))
        ++i;
    return t.mid(i);
}

std::optional<double> numero(const QVariant& v) {
    if (V::esNumero(v))
        return v.toDouble();
    if (V::esTexto(v))
        return V::aNumero(v.toString());
    return std::nullopt;
}

QString comoTexto(const QVariant& v) {
    if (V::esNumero(v) && v.typeId() != QMetaType::Bool) {
        const double d = v.toDouble();
        return QLocale::c().toString(d, 'g', 15);
    }
    if (V::esFecha(v))
        return v.toDate().toString(Qt::ISODate);
    if (V::esFechaHora(v))
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return v.toString();
}

} // namespace

bool EvaluadorFormula::cumple(const Formula& formula) const {
    if (!formula)
        return true;
    const auto v = verdad(evaluar(formula));
    return v && *v;
}

QVariant EvaluadorFormula::evaluar(const Formula& formula) const {
    return evaluar(formula, 0);
}

QVariant EvaluadorFormula::evaluar(const Formula& f, int profundidad) const {
    if (!f)
        return QVariant();
    if (profundidad > profundidadMaxima)
        throw ErrorMotor(QStringLiteral("fórmula demasiado anidada o circular"), f->linea,
                         f->columna);
    return std::visit(
        [&](const auto& n) -> QVariant {
            using T = std::decay_t<decltype(n)>;
            if constexpr (std::is_same_v<T, NodoLiteral>) {
                return n.valor;
            } else if constexpr (std::is_same_v<T, NodoCampo>) {
                return ctx_.campo(n);
            } else if constexpr (std::is_same_v<T, NodoReferenciaFormula>) {
                const Formula g = ctx_.formula(n.nombre);
                if (!g)
                    throw ErrorMotor(QStringLiteral("fórmula desconocida: {@%1}").arg(n.nombre),
                                     f->linea, f->columna);
                return evaluar(g, profundidad + 1);
            } else if constexpr (std::is_same_v<T, NodoEspecial>) {
                const QVariant v = ctx_.especial(n.nombre);
                if (!v.isValid())
                    throw ErrorMotor(
                        QStringLiteral("campo especial desconocido: {%1}").arg(n.nombre), f->linea,
                        f->columna);
                return v;
            } else if constexpr (std::is_same_v<T, NodoUnario>) {
                const QVariant x = evaluar(n.operando, profundidad + 1);
                if (n.op == OperadorUnario::No) {
                    const auto b = verdad(x);
                    return b ? QVariant(!*b) : QVariant();
                }
                const auto d = numero(x);
                return d ? QVariant(-*d) : QVariant();
            } else if constexpr (std::is_same_v<T, NodoBinario>) {
                return binario(n, profundidad + 1);
            } else {
                return funcion(n, profundidad + 1);
            }
        },
        f->contenido);
}

QVariant EvaluadorFormula::binario(const NodoBinario& b, int profundidad) const {
    if (b.op == OperadorBinario::Y || b.op == OperadorBinario::O) {
        const auto x = verdad(evaluar(b.izquierdo, profundidad));
        const bool y = b.op == OperadorBinario::Y;
        if (x && *x != y)
            return QVariant(!y); // false AND ..., true OR ...
        const auto z = verdad(evaluar(b.derecho, profundidad));
        if (z && *z != y)
            return QVariant(!y);
        if (x && z)
            return QVariant(y);
        return QVariant();
    }
    const QVariant a = evaluar(b.izquierdo, profundidad);
    const QVariant c = evaluar(b.derecho, profundidad);
    if (V::esNulo(a) || V::esNulo(c))
        return QVariant();
    switch (b.op) {
    case OperadorBinario::Igual:
    case OperadorBinario::Distinto:
    case OperadorBinario::Menor:
    case OperadorBinario::MenorIgual:
    case OperadorBinario::Mayor:
    case OperadorBinario::MayorIgual: {
        const auto r = V::comparar(a, c);
        if (!r)
            return QVariant();
        switch (b.op) {
        case OperadorBinario::Igual:
            return *r == 0;
        case OperadorBinario::Distinto:
            return *r != 0;
        case OperadorBinario::Menor:
            return *r < 0;
        case OperadorBinario::MenorIgual:
            return *r <= 0;
        case OperadorBinario::Mayor:
            return *r > 0;
        default:
            return *r >= 0;
        }
    }
    case OperadorBinario::Como:
        return V::como(comoTexto(a), comoTexto(c));
    case OperadorBinario::Concatenar:
        return comoTexto(a) + comoTexto(c);
    default:
        break;
    }
    const auto x = numero(a), y = numero(c);
    if (!x || !y)
        return QVariant();
    switch (b.op) {
    case OperadorBinario::Suma:
        return *x + *y;
    case OperadorBinario::Resta:
        return *x - *y;
    case OperadorBinario::Producto:
        return *x * *y;
    default:
        return *y == 0 ? QVariant() : QVariant(*x / *y);
    }
}

QVariant EvaluadorFormula::funcion(const NodoFuncion& f, int profundidad) const {
    const QVariant x = evaluar(f.argumentos.value(0), profundidad);
    if (V::esNulo(x))
        return QVariant();
    switch (f.funcion) {
    case Funcion::TrimLeft:
        return recortarIzquierda(comoTexto(x));
    case Funcion::TrimRight:
        return V::sinBlancosFinales(comoTexto(x));
    case Funcion::Trim:
        return recortarIzquierda(V::sinBlancosFinales(comoTexto(x)));
    case Funcion::UpperCase:
        return comoTexto(x).toUpper();
    case Funcion::LowerCase:
        return comoTexto(x).toLower();
    case Funcion::ToText:
        return comoTexto(x);
    case Funcion::ToNumber: {
        const auto d = numero(x);
        return d ? QVariant(*d) : QVariant();
    }
    }
    return QVariant();
}

} // namespace rp::motor
