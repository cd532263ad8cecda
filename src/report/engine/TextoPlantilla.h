#pragma once

#include "report/engine/ContextoFormula.h"
#include "report/engine/NodoFormula.h"

#include <QList>
#include <QString>
#include <functional>

namespace rp::motor {

// A text of a template with placeholders: "Página {PageNumber} de
// {TotalPageCount}", "{@Nombreempresa}", "Lista {V_MV_PRECIOSHIS.IDLISTA}".
// Each placeholder is one formula token in braces; "{{" writes a "{".
class TextoPlantilla {
public:
    TextoPlantilla() = default;
    // Throws ErrorMotor (line and column within `texto`).
    static TextoPlantilla analizar(const QString& texto, const QString& origen = QString());

    bool vacio() const { return partes_.isEmpty(); }
    const QString& fuente() const { return fuente_; }
    // The formulas of the placeholders.
    QList<Formula> formulas() const;

    using Formateador = std::function<QString(const QVariant&)>;
    QString evaluar(const ContextoFormula& contexto, const Formateador& formatear) const;

private:
    struct Parte {
        QString literal;
        Formula formula; // null for a literal part
    };
    QList<Parte> partes_;
    QString fuente_;
};

} // namespace rp::motor
