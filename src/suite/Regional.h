#pragma once

#include <QChar>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

namespace rp::suite {

// The workstation's regional settings: how dates and numbers are typed and
// shown. Taken from the system locale at start and replaceable (tests pin
// day/month/year with "/" and the decimal comma).
//
// Display forms:
//  - short date: two-digit day and month, four-digit year, in the date order,
//    joined by the date separator ("31/12/2024");
//  - date and time: the short date, a blank and "hh:mm:ss" (24-hour clock);
//    a date-time at midnight shows the date only, as the suite's runtime does;
//  - numbers: the decimal separator, no thousands grouping, no trailing zeros
//    ("1234,5"); 15 significant digits at most, larger or smaller magnitudes
//    in exponent form ("1,5E+20").
//
// Date parsing accepts the date order with the date separator, "-" or "." as
// separators, one- or two-digit day and month and a two- or four-digit year
// (two-digit years 00-29 are 2000-2029, 30-99 are 1930-1999). A text starting
// with a four-digit year is read year-month-day whatever the order. A time
// "h:mm" or "h:mm:ss" may follow after a blank.
class Regional {
public:
    enum class OrdenFecha { DiaMesAnio, MesDiaAnio, AnioMesDia };

    OrdenFecha ordenFecha = OrdenFecha::DiaMesAnio;
    QChar separadorFecha = QLatin1Char('/');
    QChar separadorDecimal = QLatin1Char(',');
    QChar separadorMiles = QLatin1Char('.');

    // Settings of the system locale.
    static Regional desdeSistema();
    // Day/month/year, "/", decimal comma, thousands point.
    static Regional espaniol();

    // The process-wide settings (the system's until replaced).
    static const Regional& actual();
    static void establecer(const Regional& regional);

    // Qt format of the short date ("dd/MM/yyyy") and of a date and time.
    QString formatoFechaCorta() const;
    QString formatoFechaHora() const;

    QString fechaATexto(const QDate& fecha) const;
    QString fechaHoraATexto(const QDateTime& momento) const;
    // Invalid date / nullopt when the text is not a date.
    QDate textoAFecha(const QString& texto) const;
    std::optional<QDateTime> textoAFechaHora(const QString& texto) const;

    QString numeroATexto(double valor) const;
    // A number typed in the workstation's form: optional sign, digits with
    // optional thousands separators in groups of three, the decimal
    // separator. A text that does not fit that form but is a plain number with
    // "." as decimal point is accepted too ("12.5" on a decimal-comma
    // workstation). Blanks around the text are ignored. nullopt otherwise.
    std::optional<double> textoANumero(const QString& texto) const;
};

} // namespace rp::suite
