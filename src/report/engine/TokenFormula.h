#pragma once

#include <QString>

namespace rp::motor {

// One token of the report engine's formula language.
struct TokenFormula {
    enum Tipo {
        Fin,
        Campo,         // {tabla.campo}, {procedimiento;1.campo}: texto = tabla, campo = campo
        Formula,       // {@nombre}: texto = nombre
        Especial,      // {PageNumber} and other named special fields: texto = nombre
        Cadena,        // 'texto' or "texto", texto = contents (doubled quotes undone)
        Numero,        // 12, 1.5 (decimal point)
        Identificador, // names: functions, keywords (and, or, not, like), slot names
        ParenAbre,
        ParenCierra,
        Coma,
        Igual,
        Distinto,
        Menor,
        MenorIgual,
        Mayor,
        MayorIgual,
        Mas,
        Menos,
        Por,
        Entre,
        Concatenar, // &
        Asignar     // :=
    };
    Tipo tipo = Fin;
    QString texto;
    QString campo;
    double numero = 0;
    int linea = 1;
    int columna = 1;

    // Case-insensitive keyword test for identifiers.
    bool esPalabra(const char* palabra) const {
        return tipo == Identificador &&
               texto.compare(QLatin1String(palabra), Qt::CaseInsensitive) == 0;
    }
};

} // namespace rp::motor
