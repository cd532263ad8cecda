#pragma once

#include "report/engine/TokenFormula.h"

#include <QList>
#include <QString>

namespace rp::motor {

// Splits a formula text into tokens. Throws ErrorMotor with the line and
// column of the first character it cannot read.
class LexerFormula {
public:
    static QList<TokenFormula> tokenizar(const QString& texto, const QString& origen = QString());
};

} // namespace rp::motor
