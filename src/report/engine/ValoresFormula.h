#pragma once

#include <QString>
#include <QVariant>
#include <optional>

namespace rp::motor {

// Value semantics shared by the in-memory evaluator and the sort of rows, set
// to give the same answers as the database's default collation (SQL Server
// "CI": letter case ignored, trailing blanks ignored; NULL compares to
// nothing):
//  - null (invalid or null QVariant) compares to nothing;
//  - numbers (any numeric type, bool as 0/1) compare numerically;
//  - texts compare without regard to letter case and trailing blanks;
//  - a date (QDate) and a date-time compare by their day, so that
//    {fechahora} <= Date(2024,12,31) includes the whole of that day;
//  - a text beside a number is read as a number ("." decimal point), beside a
//    date as an ISO 8601 date or date-time; a text that does not read gives
//    no answer (null).
class ValoresFormula {
public:
    static bool esNulo(const QVariant& v);
    static bool esNumero(const QVariant& v);
    static bool esTexto(const QVariant& v);
    static bool esFecha(const QVariant& v);     // QDate
    static bool esFechaHora(const QVariant& v); // QDateTime

    // <0, 0, >0; nullopt when the values do not compare (a null, or types
    // that do not meet).
    static std::optional<int> comparar(const QVariant& a, const QVariant& b);
    static int compararTexto(const QString& a, const QString& b);

    // `texto` like `patron` with "*" (any run) and "?" (one character), letter
    // case ignored; trailing blanks of the text are ignored, those of the
    // pattern are not.
    static bool como(const QString& texto, const QString& patron);

    // Order of rows: nulls first, then as comparar(); values that do not
    // compare order by their text.
    static int ordenar(const QVariant& a, const QVariant& b);

    // Reads a text as a number ("." decimal point, blanks around ignored).
    static std::optional<double> aNumero(const QString& texto);
    // Reads a text as an ISO 8601 date or date-time.
    static std::optional<QDateTime> aFechaHora(const QString& texto);
    static QString sinBlancosFinales(const QString& texto);
};

} // namespace rp::motor
