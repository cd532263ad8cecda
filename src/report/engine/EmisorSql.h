#pragma once

#include "report/engine/ErrorMotor.h"
#include "report/engine/NodoFormula.h"

#include <QDateTime>
#include <QString>
#include <functional>

namespace rp::motor {

// A formula (or part of one) that has no SQL form; the engine then evaluates
// it in memory instead.
class ErrorNoTraducible : public ErrorMotor {
public:
    using ErrorMotor::ErrorMotor;
};

// Writes a record selection formula as an SQL condition in the SQL Server
// dialect (the database layer rewrites it for other databases):
//  - {tabla.campo} as the column expression the caller maps it to;
//  - text literals always quoted with apostrophes doubled, so no value can
//    end the literal;
//  - like with "*" / "?" as LIKE with "%" / "_"; a literal "%", "_", "[" or
//    the escape character itself is escaped, with ESCAPE '\' added;
//  - TrimLeft / TrimRight / Trim as LTRIM / RTRIM, UpperCase / LowerCase as
//    UPPER / LOWER, tonumber as CAST(.. AS FLOAT);
//  - a date literal compared with a value compares whole days, as the
//    evaluator does: x <= Date(2024,12,31) becomes
//    x < CONVERT(DATETIME, '2025-01-01 00:00:00', 120);
//  - {@slot} references are replaced by the slot's own formula.
// Throws ErrorNoTraducible for what has no faithful SQL form.
class EmisorSql {
public:
    using MapaCampos = std::function<QString(const NodoCampo&)>;
    using MapaFormulas = std::function<Formula(const QString&)>;

    EmisorSql(MapaCampos campos, MapaFormulas formulas = {})
        : campos_(std::move(campos)), formulas_(std::move(formulas)) {}

    QString emitir(const Formula& formula) const;

    static QString literalTexto(const QString& texto);
    static QString literalNumero(double valor);
    static QString literalFechaHora(const QDateTime& momento);
    // A like pattern ("*", "?") as a LIKE pattern; `escapar` tells whether an
    // ESCAPE '\' clause is needed.
    static QString patronComo(const QString& patron, bool* escapar);

private:
    struct Parte {
        QString sql;
        int precedencia;
    };
    Parte parte(const Formula& f, int profundidad) const;
    Parte comparacion(const NodoBinario& b, const NodoFormula& donde, int profundidad) const;
    QString envolver(const Parte& p, int precedencia) const;
    Formula resolver(const Formula& f, int profundidad) const;

    MapaCampos campos_;
    MapaFormulas formulas_;
};

} // namespace rp::motor
