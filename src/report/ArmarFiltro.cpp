#include "report/ArmarFiltro.h"

#include "db/TextoVb.h"
#include "db/provider/Field.h"
#include "suite/Regional.h"
#include "suite/Utilidades.h"

#include <QDateTime>
#include <optional>

namespace rp::report {

using suite::Regional;
using suite::Utilidades;

namespace {

enum class Clase { Fecha, Doble, Numero, Texto };

Clase claseDe(qint16 tipo) {
    switch (tipo) {
    case db::adtype::Date:
        return Clase::Fecha;
    case db::adtype::Double:
        return Clase::Doble;
    case db::adtype::BigInt:
    case db::adtype::SmallInt:
    case db::adtype::Single:
    case db::adtype::Currency:
        return Clase::Numero;
    default:
        return Clase::Texto;
    }
}

// A string literal of the formula language: apostrophes inside are doubled.
QString literal(const QString& texto) {
    return QLatin1Char('\'') + db::TextoVb::duplicarApostrofes(texto) + QLatin1Char('\'');
}

QString fechaHora(const QDateTime& m) {
    return QStringLiteral("DateTime(%1,%2,%3,%4,%5,%6)")
        .arg(m.date().year())
        .arg(m.date().month())
        .arg(m.date().day())
        .arg(m.time().hour())
        .arg(m.time().minute())
        .arg(m.time().second());
}

bool conHora(const QString& fecha) {
    return fecha.contains(QLatin1Char(':'));
}

QString sinNulos(const QString& texto) {
    return Utilidades::QuitarCaracter(texto, QString(QChar(0))).trimmed();
}

// A date the database's datetime holds (1753-01-01 to 9999-12-31).
std::optional<QDateTime> leerFecha(const QString& texto) {
    const std::optional<QDateTime> m = Regional::actual().textoAFechaHora(texto);
    if (!m || m->date() < QDate(1753, 1, 1) || m->date() > QDate(9999, 12, 31))
        return std::nullopt;
    return m;
}

// The lower date bound: a date alone starts at the first second of its day.
QString desdeFecha(const QString& texto) {
    if (conHora(texto))
        return Utilidades::TextoComparable(texto);
    return fechaHora(QDateTime(leerFecha(texto)->date(), QTime(0, 0)));
}

// The upper date bound as comparison and literal: a date alone takes in its
// whole day (anything before the next day).
QString hastaFecha(const QString& campo, const QString& texto) {
    if (conHora(texto))
        return campo + QStringLiteral(" <= ") + Utilidades::TextoComparable(texto) +
               QLatin1Char(' ');
    const QDate fecha = leerFecha(texto)->date();
    if (fecha == QDate(9999, 12, 31)) // the last day has no next one
        return campo + QStringLiteral(" <= ") + fechaHora(QDateTime(fecha, QTime(23, 59, 59))) +
               QLatin1Char(' ');
    const QDate dia = fecha.addDays(1);
    return campo + QStringLiteral(" < ") + fechaHora(QDateTime(dia, QTime(0, 0))) +
           QLatin1Char(' ');
}

std::optional<double> leerNumero(const QString& texto) {
    return Regional::actual().textoANumero(texto);
}

QString numeroFormula(double valor) {
    return QString::number(valor, 'g', 15);
}

} // namespace

bool ArmarFiltro(const TablaFiltros& Filtros, QString& Formula, QString& Mensaje) {
    QString resultado;
    int cantidad = 0;
    for (const FiltroRango& r : Filtros) {
        QString op = r.Operador.trimmed().toUpper();
        if (op.isEmpty())
            op = QStringLiteral("AND");
        if (op != QLatin1String("AND") && op != QLatin1String("OR")) {
            Mensaje = QStringLiteral("Operador logico incorrecto");
            return false;
        }
        op = QLatin1Char(' ') + op + QLatin1Char(' ');

        const Clase clase = claseDe(r.TipoDato);
        QString desde = r.ValorDesde;
        QString hasta = r.ValorHasta;
        QString p, s;
        QString c;

        if (clase == Clase::Fecha) {
            desde = sinNulos(desde);
            hasta = sinNulos(hasta);
            const bool hayDesde = !desde.isEmpty();
            const bool hayHasta = !hasta.isEmpty();
            const std::optional<QDateTime> d = hayDesde ? leerFecha(desde) : std::nullopt;
            const std::optional<QDateTime> h = hayHasta ? leerFecha(hasta) : std::nullopt;
            // A bound that is not a date would leave the comparison without a
            // value: every typed bound must be a date.
            if ((hayDesde && !d) || (hayHasta && !h)) {
                Mensaje = QStringLiteral("Fecha Desde Incorrecta , Campo : ") + r.CampoReporte;
                return false;
            }
            if (hayDesde && hayHasta) {
                // A date alone as upper bound takes in its whole day.
                const QDateTime inicioDesde =
                    conHora(desde) ? *d : QDateTime(d->date(), QTime(0, 0));
                const bool vacio =
                    conHora(hasta) ? inicioDesde > *h : inicioDesde.date() > h->date();
                if (vacio) {
                    Mensaje =
                        QStringLiteral("Fecha Desde Mayor que Hasta , Campo : ") + r.CampoReporte;
                    return false;
                }
            }
            const QString f = r.CampoReporte;
            if (hayDesde)
                c = f + QStringLiteral(" >= ") + desdeFecha(desde) + QLatin1Char(' ');
            if (hayHasta) {
                if (!c.trimmed().isEmpty())
                    c += QStringLiteral(" AND ");
                c += hastaFecha(f, hasta);
            }
        } else if (clase == Clase::Doble || clase == Clase::Numero) {
            const QString dT = desde.trimmed();
            const QString hT = hasta.trimmed();
            double d = 0;
            double h = 0;
            bool hayD = false;
            bool hayH = false;
            bool valido = true;
            if (!dT.isEmpty()) {
                const std::optional<double> v = leerNumero(dT);
                valido = valido && v.has_value();
                d = v.value_or(0);
                hayD = true;
            }
            if (!hT.isEmpty()) {
                const std::optional<double> v = leerNumero(hT);
                valido = valido && v.has_value();
                h = v.value_or(0);
                hayH = true;
            }
            if (!valido) {
                Mensaje = QStringLiteral("Valor Numerico Incorrecto , Campo : ") + r.CampoReporte;
                return false;
            }
            if (hayD && hayH && h < d) {
                Mensaje = QStringLiteral("Desde Mayor que Hasta, Campo : ") + r.CampoReporte;
                return false;
            }
            if (clase == Clase::Doble) {
                p = QStringLiteral("tonumber(");
                s = QStringLiteral(")");
            }
            const QString f = p + r.CampoReporte + s;
            if (hayD)
                c = f + QStringLiteral(" >= ") + numeroFormula(d) + QLatin1Char(' ');
            if (hayH) {
                if (!c.trimmed().isEmpty())
                    c += QStringLiteral(" AND ");
                c += f + QStringLiteral(" <= ") + numeroFormula(h) + QLatin1Char(' ');
            }
        } else {
            if (!r.SinRecorte) {
                p = QStringLiteral("TrimLeft(TrimRight(");
                s = QStringLiteral("))");
            }
            const bool hayDesde = !desde.trimmed().isEmpty();
            const bool hayHasta = !hasta.trimmed().isEmpty();
            // Codes compared as stored (right-aligned) keep their blanks, so
            // that 99 stays below 100.
            const QString dC = r.SinRecorte ? desde : desde.trimmed();
            const QString hC = r.SinRecorte ? hasta : hasta.trimmed();
            if (hayDesde && hayHasta && dC.compare(hC, Qt::CaseInsensitive) > 0) {
                Mensaje = QStringLiteral("Desde Mayor que Hasta, Campo : ") + r.CampoReporte;
                return false;
            }
            const QString f = p + r.CampoReporte + s;
            const bool comodinDesde = desde.contains(QLatin1Char('*'));
            const bool comodinHasta = hasta.contains(QLatin1Char('*'));
            if (comodinDesde)
                c = QStringLiteral(" (") + f + QStringLiteral(" LIKE ") + literal(desde) +
                    QLatin1Char(' ');
            else if (hayDesde)
                c = f + QStringLiteral(" >= ") + literal(desde) + QLatin1Char(' ');
            if (comodinHasta) {
                if (!c.trimmed().isEmpty())
                    c += comodinDesde ? QStringLiteral(" OR ") : QStringLiteral(" AND ");
                c += f + QStringLiteral(" LIKE ") + literal(hasta) + QLatin1Char(' ');
            } else if (hayHasta) {
                if (!c.trimmed().isEmpty())
                    c += QStringLiteral(" AND ");
                c += f + QStringLiteral(" <= ") + literal(hasta) + QLatin1Char(' ');
            }
            if (comodinDesde)
                c += QLatin1Char(')');
        }

        if (!c.trimmed().isEmpty()) {
            ++cantidad;
            resultado = cantidad == 1 ? c : resultado + op + c;
        }
    }
    Formula = resultado;
    return true;
}

} // namespace rp::report
