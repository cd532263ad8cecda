#pragma once

#include "suite/CodErr.h"

#include <QString>
#include <QVariant>

namespace rp::suite {

// The suite's text, number, date and path helpers.
class Utilidades {
public:
    // At most `n` characters of `texto` (the first ones).
    static QString RecortarTexto(const QString& texto, int n = 250);

    // A number typed in the workstation's form (see Regional::textoANumero) as
    // a currency amount: rounded to four decimals, half away from zero. A text
    // that is not a number, an empty text and a number beyond the currency
    // range (about 9.2e14) give 0.
    static double TextoANumero(const QString& texto);

    // A date typed in the workstation's form as a date literal of the report
    // engine's formula language: "Date(2024,12,31)" (year, month, day without
    // leading zeros); with a time of day, "DateTime(2024,12,31,10,30,0)". A
    // text that is not a date gives empty text.
    static QString TextoComparable(const QString& textoFecha);

    // A field value as text: null gives ""; dates and date-times in the
    // workstation's display form; floating-point numbers in its number form;
    // yes/no as "Verdadero"/"Falso"; anything else as Qt converts it.
    static QString TextoDeValor(const QVariant& valor);

    // Number of words separated by blanks, tabs or line breaks.
    static int CantidadPalabras(const QString& texto);

    // `texto` without any occurrence of c1, c2 and c3 (empty ones ignored).
    static QString QuitarCaracter(const QString& texto, const QString& c1,
                                  const QString& c2 = QString(), const QString& c3 = QString());

    // Every occurrence of `buscar` replaced by `con` (exact letter case); an
    // empty `buscar` leaves the text unchanged.
    static QString ReemplazarTexto(const QString& texto, const QString& buscar, const QString& con);

    // A code in its stored form: trimmed and right-aligned in `ancho`
    // characters, padded with blanks on the left ("1" in width 4 is "   1").
    // A code longer than the width is returned trimmed and whole (it is never
    // cut into another code); an empty or blank code stays empty.
    static QString FormatoCodigo(const QString& codigo, int ancho);
    // The display form of a field value: its text, trimmed.
    static QString FormatoCodigo(const QVariant& valor);

    // The folder with a trailing "/" (an empty text stays empty).
    static QString RutaConBarra(const QString& carpeta);

    // `sql` with every occurrence of the table name `nombre` (any letter case,
    // as a whole name: not part of a longer identifier) replaced by
    // `nuevoNombre`. Text inside quoted literals is left alone.
    static QString ReemplazarTabla(const QString& sql, const QString& nombre,
                                   const QString& nuevoNombre);

    // The suite's error box: the error's number and description, the source as
    // title, the critical icon with Abort, Retry and Ignore. Returns the
    // answer: 4 retry, 5 ignore, anything else abort.
    static int MensajeError(const CodErr& error);

    // A date picked on the calendar as text in the workstation's short date
    // form; empty text when the operator cancels.
    static QString ElegirFecha();

    // Reversible encoding of stored credentials. The encoded text uses only
    // letters, digits, "-" and "_" (no comma, quote, blank or line break).
    // Decoding a text that no encoding produced gives empty text.
    static QString CodificarClave(const QString& texto);
    static QString DecodificarClave(const QString& codificado);

    // The leading number of a text, as the database look-ups and the
    // configuration read it: leading blanks skipped, an optional sign, digits
    // with "." as decimal point and an optional exponent ("1.5E3"); reading
    // stops at the first character that cannot continue the number. "12abc"
    // gives 12, "abc" and "" give 0.
    static double NumeroInicial(const QString& texto);

    // A number as text in the workstation's number form (Regional).
    static QString NumeroATexto(double valor);
};

} // namespace rp::suite
