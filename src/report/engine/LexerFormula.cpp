#include "report/engine/LexerFormula.h"

#include "report/engine/ErrorMotor.h"

namespace rp::motor {

namespace {

bool inicioNombre(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}
bool parteNombre(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// A plain name: a letter or "_", then letters, digits or "_".
bool esNombre(const QString& s) {
    if (s.isEmpty() || !inicioNombre(s.at(0)))
        return false;
    for (const QChar c : s) {
        if (!parteNombre(c))
            return false;
    }
    return true;
}

// A table part: a name, optionally followed by ";" and digits (the result set
// number of a stored procedure: {KS_RP_CambiosPreciosHis;1.USUARIO}).
bool esTabla(const QString& s) {
    const qsizetype pc = s.indexOf(QLatin1Char(';'));
    if (pc < 0)
        return esNombre(s);
    const QString numero = s.mid(pc + 1);
    if (numero.isEmpty())
        return false;
    for (const QChar c : numero) {
        if (!c.isDigit())
            return false;
    }
    return esNombre(s.left(pc));
}

class Lector {
public:
    Lector(const QString& texto, const QString& origen) : t_(texto), origen_(origen) {}

    QList<TokenFormula> leer() {
        QList<TokenFormula> tokens;
        while (true) {
            saltarBlancos();
            TokenFormula tk;
            tk.linea = linea_;
            tk.columna = columna_;
            if (pos_ >= t_.size()) {
                tk.tipo = TokenFormula::Fin;
                tokens << tk;
                return tokens;
            }
            leerToken(tk);
            tokens << tk;
        }
    }

private:
    [[noreturn]] void fallar(const QString& mensaje, int linea, int columna) const {
        throw ErrorMotor(mensaje, linea, columna, origen_);
    }

    QChar actual() const { return pos_ < t_.size() ? t_.at(pos_) : QChar(); }
    QChar siguiente() const { return pos_ + 1 < t_.size() ? t_.at(pos_ + 1) : QChar(); }

    void avanzar() {
        if (pos_ >= t_.size())
            return;
        if (t_.at(pos_) == QLatin1Char('\n')) {
            ++linea_;
            columna_ = 1;
        } else {
            ++columna_;
        }
        ++pos_;
    }

    void saltarBlancos() {
        while (pos_ < t_.size()) {
            const QChar c = actual();
            if (c.isSpace()) {
                avanzar();
            } else if (c == QLatin1Char('/') && siguiente() == QLatin1Char('/')) {
                while (pos_ < t_.size() && actual() != QLatin1Char('\n'))
                    avanzar();
            } else {
                return;
            }
        }
    }

    void leerToken(TokenFormula& tk) {
        const QChar c = actual();
        if (c == QLatin1Char('{'))
            return leerLlaves(tk);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
            return leerCadena(tk);
        if (c.isDigit() || (c == QLatin1Char('.') && siguiente().isDigit()))
            return leerNumero(tk);
        if (inicioNombre(c)) {
            const qsizetype inicio = pos_;
            while (pos_ < t_.size() && parteNombre(actual()))
                avanzar();
            tk.tipo = TokenFormula::Identificador;
            tk.texto = t_.mid(inicio, pos_ - inicio);
            return;
        }
        avanzar();
        const QChar s = actual();
        switch (c.unicode()) {
        case '(':
            tk.tipo = TokenFormula::ParenAbre;
            return;
        case ')':
            tk.tipo = TokenFormula::ParenCierra;
            return;
        case ',':
            tk.tipo = TokenFormula::Coma;
            return;
        case '=':
            tk.tipo = TokenFormula::Igual;
            return;
        case '+':
            tk.tipo = TokenFormula::Mas;
            return;
        case '-':
            tk.tipo = TokenFormula::Menos;
            return;
        case '*':
            tk.tipo = TokenFormula::Por;
            return;
        case '/':
            tk.tipo = TokenFormula::Entre;
            return;
        case '&':
            tk.tipo = TokenFormula::Concatenar;
            return;
        case '<':
            if (s == QLatin1Char('>')) {
                avanzar();
                tk.tipo = TokenFormula::Distinto;
            } else if (s == QLatin1Char('=')) {
                avanzar();
                tk.tipo = TokenFormula::MenorIgual;
            } else {
                tk.tipo = TokenFormula::Menor;
            }
            return;
        case '>':
            if (s == QLatin1Char('=')) {
                avanzar();
                tk.tipo = TokenFormula::MayorIgual;
            } else {
                tk.tipo = TokenFormula::Mayor;
            }
            return;
        case ':':
            if (s == QLatin1Char('=')) {
                avanzar();
                tk.tipo = TokenFormula::Asignar;
                return;
            }
            break;
        default:
            break;
        }
        fallar(QStringLiteral("carácter no válido: %1").arg(c), tk.linea, tk.columna);
    }

    void leerLlaves(TokenFormula& tk) {
        avanzar();
        const qsizetype inicio = pos_;
        while (pos_ < t_.size() && actual() != QLatin1Char('}') && actual() != QLatin1Char('\n'))
            avanzar();
        if (actual() != QLatin1Char('}'))
            fallar(QStringLiteral("falta '}' al final del campo"), tk.linea, tk.columna);
        const QString dentro = t_.mid(inicio, pos_ - inicio).trimmed();
        avanzar();
        if (dentro.startsWith(QLatin1Char('@'))) {
            tk.tipo = TokenFormula::Formula;
            tk.texto = dentro.mid(1).trimmed();
            if (!esNombre(tk.texto))
                fallar(QStringLiteral("campo no válido: {%1}").arg(dentro), tk.linea, tk.columna);
            return;
        }
        const qsizetype punto = dentro.lastIndexOf(QLatin1Char('.'));
        if (punto < 0) {
            tk.tipo = TokenFormula::Especial;
            tk.texto = dentro;
            if (!esNombre(dentro))
                fallar(QStringLiteral("campo no válido: {%1}").arg(dentro), tk.linea, tk.columna);
            return;
        }
        tk.tipo = TokenFormula::Campo;
        tk.texto = dentro.left(punto).trimmed();
        tk.campo = dentro.mid(punto + 1).trimmed();
        if (!esTabla(tk.texto) || !esNombre(tk.campo))
            fallar(QStringLiteral("campo no válido: {%1}").arg(dentro), tk.linea, tk.columna);
    }

    void leerCadena(TokenFormula& tk) {
        const QChar comilla = actual();
        avanzar();
        QString valor;
        while (true) {
            if (pos_ >= t_.size())
                fallar(QStringLiteral("cadena sin cerrar"), tk.linea, tk.columna);
            const QChar c = actual();
            if (c == comilla) {
                if (siguiente() == comilla) {
                    valor += c;
                    avanzar();
                    avanzar();
                    continue;
                }
                avanzar();
                break;
            }
            valor += c;
            avanzar();
        }
        tk.tipo = TokenFormula::Cadena;
        tk.texto = valor;
    }

    void leerNumero(TokenFormula& tk) {
        const qsizetype inicio = pos_;
        while (actual().isDigit())
            avanzar();
        if (actual() == QLatin1Char('.') && siguiente().isDigit()) {
            avanzar();
            while (actual().isDigit())
                avanzar();
        }
        if (inicioNombre(actual()))
            fallar(QStringLiteral("número no válido"), tk.linea, tk.columna);
        tk.tipo = TokenFormula::Numero;
        tk.texto = t_.mid(inicio, pos_ - inicio);
        tk.numero = tk.texto.toDouble();
    }

    const QString& t_;
    QString origen_;
    qsizetype pos_ = 0;
    int linea_ = 1;
    int columna_ = 1;
};

} // namespace

QList<TokenFormula> LexerFormula::tokenizar(const QString& texto, const QString& origen) {
    return Lector(texto, origen).leer();
}

} // namespace rp::motor
