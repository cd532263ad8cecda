#pragma once

#include "report/engine/ContextoFormula.h"
#include "report/engine/NodoFormula.h"

#include <QVariant>

namespace rp::motor {

// Evaluates a syntax tree in memory, with the value semantics of
// ValoresFormula and the three-valued logic of SQL (a comparison with a null is
// unknown; unknown AND false is false, unknown OR true is true; a row is
// selected only when its formula is true), so that it selects the same rows as
// the statement EmisorSql makes of the same formula.
class EvaluadorFormula {
public:
    explicit EvaluadorFormula(const ContextoFormula& contexto) : ctx_(contexto) {}

    // The formula's value: null, QString, double, QDate, QDateTime or bool.
    QVariant evaluar(const Formula& formula) const;
    // True when the formula is true; a null formula selects every row.
    bool cumple(const Formula& formula) const;

private:
    QVariant evaluar(const Formula& formula, int profundidad) const;
    QVariant binario(const NodoBinario& b, int profundidad) const;
    QVariant funcion(const NodoFuncion& f, int profundidad) const;

    const ContextoFormula& ctx_;
};

} // namespace rp::motor
