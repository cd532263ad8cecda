#pragma once

#include "report/engine/NodoFormula.h"
#include "report/engine/TokenFormula.h"

#include <QList>
#include <QString>

namespace rp::motor {

// A formula slot assignment as the program writes it: "Nombreempresa = 'ACME'".
struct AsignacionFormula {
    QString nombre;
    Formula valor;
};

// Parses the report engine's formula language into a syntax tree:
//   expresion   := o
//   o           := y { "or" y }
//   y           := no { "and" no }
//   no          := "not" no | comparacion
//   comparacion := suma [ ("=" | "<>" | "<" | "<=" | ">" | ">=" | "like") suma ]
//   suma        := producto { ("+" | "-" | "&") producto }
//   producto    := unario { ("*" | "/") unario }
//   unario      := "-" unario | primario
//   primario    := numero | cadena | {tabla.campo} | {@formula} | {Especial}
//                | funcion "(" [expresion { "," expresion }] ")" | "(" expresion ")"
// Keywords and function names are case-insensitive. Date(y,m,d) and
// DateTime(y,m,d,h,n,s) with constant arguments become date literals.
// Errors throw ErrorMotor with the line and column of the offending token.
class ParserFormula {
public:
    // A whole formula (a record selection formula or a column value). An
    // empty or blank text gives a null Formula.
    static Formula analizar(const QString& texto, const QString& origen = QString());
    // "nombre = expresion" (also "nombre := expresion").
    static AsignacionFormula analizarAsignacion(const QString& texto,
                                                const QString& origen = QString());

private:
    ParserFormula(QList<TokenFormula> tokens, QString origen)
        : tk_(std::move(tokens)), origen_(std::move(origen)) {}

    const TokenFormula& actual() const { return tk_.at(pos_); }
    const TokenFormula& tomar() { return tk_.at(pos_ < tk_.size() - 1 ? pos_++ : pos_); }
    [[noreturn]] void fallar(const QString& mensaje, const TokenFormula& donde) const;
    void exigirFin() const;
    void exigir(TokenFormula::Tipo tipo, const char* texto);

    // Builds a node; refuses one that makes the tree deeper than allowed.
    template <typename Contenido>
    Formula nodo(const TokenFormula& donde, Contenido contenido) const;
    // Counts one level of recursion for the duration of a rule.
    class Nivel {
    public:
        Nivel(ParserFormula& p, const TokenFormula& donde);
        ~Nivel() { --p_.nivel_; }
        Nivel(const Nivel&) = delete;
        Nivel& operator=(const Nivel&) = delete;

    private:
        ParserFormula& p_;
    };

    Formula expresion();
    Formula disyuncion();
    Formula conjuncion();
    Formula negacion();
    Formula comparacion();
    Formula suma();
    Formula producto();
    Formula unario();
    Formula primario();
    Formula llamada(const TokenFormula& nombre);

    QList<TokenFormula> tk_;
    QString origen_;
    qsizetype pos_ = 0;
    int nivel_ = 0;
};

// Text of a token for error messages.
QString describirToken(const TokenFormula& tk);

} // namespace rp::motor
