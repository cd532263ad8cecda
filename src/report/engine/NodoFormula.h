#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>
#include <variant>

namespace rp::motor {

struct NodoFormula;
// Syntax trees are immutable and shared.
using Formula = std::shared_ptr<const NodoFormula>;

// A constant: text (QString), number (double), date (QDate), date and time
// (QDateTime) or yes/no (bool).
struct NodoLiteral {
    QVariant valor;
};

// {tabla.campo}; `tabla` keeps a procedure's ";1" suffix.
struct NodoCampo {
    QString tabla;
    QString campo;
    // The canonical key worked out once when the tree is built (it is read
    // for every row); empty in a node built without it.
    QString claveHecha = QString();
    // Canonical key: both parts upper-cased, "TABLA.CAMPO".
    QString clave() const { return claveHecha.isEmpty() ? claveDe(tabla, campo) : claveHecha; }
    static QString claveDe(const QString& tabla, const QString& campo) {
        return tabla.toUpper() + QLatin1Char('.') + campo.toUpper();
    }
};

// {@nombre}: the value of a formula slot of the report.
struct NodoReferenciaFormula {
    QString nombre;
};

// {PageNumber}, {TotalPageCount}, {PrintDate}, {PrintTime}.
struct NodoEspecial {
    QString nombre;
};

enum class OperadorUnario { No, Negativo };

struct NodoUnario {
    OperadorUnario op;
    Formula operando;
};

enum class OperadorBinario {
    Igual,
    Distinto,
    Menor,
    MenorIgual,
    Mayor,
    MayorIgual,
    Como, // like, with * and ? wildcards
    Y,
    O,
    Suma,
    Resta,
    Producto,
    Cociente,
    Concatenar
};

struct NodoBinario {
    OperadorBinario op;
    Formula izquierdo;
    Formula derecho;
};

enum class Funcion { TrimLeft, TrimRight, Trim, ToNumber, UpperCase, LowerCase, ToText };

struct NodoFuncion {
    Funcion funcion;
    QList<Formula> argumentos;
};

struct NodoFormula {
    std::variant<NodoLiteral, NodoCampo, NodoReferenciaFormula, NodoEspecial, NodoUnario,
                 NodoBinario, NodoFuncion>
        contenido;
    int linea = 1;
    int columna = 1;
    int profundidad = 1; // levels of the tree below and including this node

    NodoFormula() = default;
    NodoFormula(const NodoFormula&) = default;
    NodoFormula& operator=(const NodoFormula&) = default;
    // Takes the tree apart level by level: a deep tree never recurses.
    ~NodoFormula();
};

// Deepest formula tree the parser builds; deeper formulas are refused with the
// place they reach it, so evaluating a tree never runs out of stack.
inline constexpr int kProfundidadMaximaFormula = 256;

// Comparison operators only.
inline bool esComparacion(OperadorBinario op) {
    return op == OperadorBinario::Igual || op == OperadorBinario::Distinto ||
           op == OperadorBinario::Menor || op == OperadorBinario::MenorIgual ||
           op == OperadorBinario::Mayor || op == OperadorBinario::MayorIgual;
}

} // namespace rp::motor
