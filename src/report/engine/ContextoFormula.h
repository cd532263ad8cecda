#pragma once

#include "report/engine/NodoFormula.h"

#include <QString>
#include <QVariant>

namespace rp::motor {

// What a formula reads while it is evaluated: the current row's fields, the
// report's formula slots and the special fields of the page.
class ContextoFormula {
public:
    virtual ~ContextoFormula() = default;
    // Throws ErrorMotor when the row has no such field.
    virtual QVariant campo(const NodoCampo& campo) const = 0;
    // The slot's formula (null when the report has no such slot).
    virtual Formula formula(const QString& nombre) const = 0;
    // {PageNumber}, {TotalPageCount}, {PrintDate}, {PrintTime}, {RecordNumber},
    // {GroupCount}; invalid when unknown.
    virtual QVariant especial(const QString& nombre) const = 0;
};

} // namespace rp::motor
