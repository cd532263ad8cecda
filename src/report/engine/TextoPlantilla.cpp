#include "report/engine/TextoPlantilla.h"

#include "report/engine/ErrorMotor.h"
#include "report/engine/EvaluadorFormula.h"
#include "report/engine/ParserFormula.h"

namespace rp::motor {

TextoPlantilla TextoPlantilla::analizar(const QString& texto, const QString& origen) {
    TextoPlantilla t;
    t.fuente_ = texto;
    QString literal;
    int linea = 1, columna = 1;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (c == QLatin1Char('{')) {
            if (i + 1 < texto.size() && texto.at(i + 1) == QLatin1Char('{')) {
                literal += c;
                ++i;
                columna += 2;
                continue;
            }
            const qsizetype fin = texto.indexOf(QLatin1Char('}'), i);
            if (fin < 0)
                throw ErrorMotor(QStringLiteral("falta '}' al final del campo"), linea, columna,
                                 origen);
            const QString token = texto.mid(i, fin - i + 1);
            Formula f;
            try {
                f = ParserFormula::analizar(token, origen);
            } catch (const ErrorMotor& e) {
                throw ErrorMotor(e.mensaje(), linea, columna + e.columna() - 1, origen);
            }
            if (!literal.isEmpty())
                t.partes_ << Parte{literal, nullptr};
            literal.clear();
            t.partes_ << Parte{QString(), f};
            columna += static_cast<int>(token.size());
            i = fin;
            continue;
        }
        literal += c;
        if (c == QLatin1Char('\n')) {
            ++linea;
            columna = 1;
        } else {
            ++columna;
        }
    }
    if (!literal.isEmpty())
        t.partes_ << Parte{literal, nullptr};
    return t;
}

QList<Formula> TextoPlantilla::formulas() const {
    QList<Formula> r;
    for (const auto& p : partes_) {
        if (p.formula)
            r << p.formula;
    }
    return r;
}

QString TextoPlantilla::evaluar(const ContextoFormula& contexto,
                                const Formateador& formatear) const {
    QString r;
    const EvaluadorFormula ev(contexto);
    for (const auto& p : partes_) {
        if (!p.formula)
            r += p.literal;
        else
            r += formatear(ev.evaluar(p.formula));
    }
    return r;
}

} // namespace rp::motor
