#pragma once

#include <QString>
#include <stdexcept>

namespace rp::motor {

// A failure of the report engine: a formula or template that does not parse,
// a field the data source does not have, an output that cannot be written.
// `linea` and `columna` (from 1) place the fault in the text it came from;
// both are 0 when the fault has no place. `mensaje` is stable (tests and the
// operator read it); `texto()` is "linea:columna: mensaje".
class ErrorMotor : public std::runtime_error {
public:
    ErrorMotor(const QString& mensaje, int linea = 0, int columna = 0,
               const QString& origen = QString())
        : std::runtime_error(componer(mensaje, linea, columna, origen).toStdString()),
          mensaje_(mensaje), origen_(origen), linea_(linea), columna_(columna) {}

    const QString& mensaje() const { return mensaje_; }
    // The file or formula slot the text came from (may be empty).
    const QString& origen() const { return origen_; }
    int linea() const { return linea_; }
    int columna() const { return columna_; }
    QString texto() const { return componer(mensaje_, linea_, columna_, origen_); }

    static QString componer(const QString& mensaje, int linea, int columna, const QString& origen) {
        QString t;
        if (!origen.isEmpty())
            t = origen + QLatin1Char(':');
        if (linea > 0)
            t += QString::number(linea) + QLatin1Char(':') + QString::number(columna) +
                 QLatin1String(": ");
        else if (!t.isEmpty())
            t += QLatin1Char(' ');
        return t + mensaje;
    }

private:
    QString mensaje_;
    QString origen_;
    int linea_;
    int columna_;
};

} // namespace rp::motor
