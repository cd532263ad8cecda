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

// A rejected range: the message names the template field.
std::nullopt_t rechazar(QString& Mensaje, const QString& motivo, const FiltroRango& r) {
    Mensaje = motivo + r.CampoReporte;
    return std::nullopt;
}

// The joining operator of a range (" AND " or " OR ", blank meaning AND);
// std::nullopt for any other.
std::optional<QString> operadorDe(const FiltroRango& r) {
    QString op = r.Operador.trimmed().toUpper();
    if (op.isEmpty())
        op = QStringLiteral("AND");
    if (op != QLatin1String("AND") && op != QLatin1String("OR"))
        return std::nullopt;
    return QLatin1Char(' ') + op + QLatin1Char(' ');
}

// The conditions of one range by the class of its field: the text of the
// comparison (empty when the range has no bound), or std::nullopt with
// `Mensaje` written when the range is rejected.

std::optional<QString> condicionFecha(const FiltroRango& r, QString& Mensaje) {
    const QString desde = sinNulos(r.ValorDesde);
    const QString hasta = sinNulos(r.ValorHasta);
    const bool hayDesde = !desde.isEmpty();
    const bool hayHasta = !hasta.isEmpty();
    const std::optional<QDateTime> d = hayDesde ? leerFecha(desde) : std::nullopt;
    const std::optional<QDateTime> h = hayHasta ? leerFecha(hasta) : std::nullopt;
    // A bound that is not a date would leave the comparison without a
    // value: every typed bound must be a date.
    if ((hayDesde && !d) || (hayHasta && !h))
        return rechazar(Mensaje, QStringLiteral("Fecha Desde Incorrecta , Campo : "), r);
    if (hayDesde && hayHasta) {
        // A date alone as upper bound takes in its whole day.
        const QDateTime inicioDesde = conHora(desde) ? *d : QDateTime(d->date(), QTime(0, 0));
        const bool vacio = conHora(hasta) ? inicioDesde > *h : inicioDesde.date() > h->date();
        if (vacio)
            return rechazar(Mensaje, QStringLiteral("Fecha Desde Mayor que Hasta , Campo : "), r);
    }
    const QString& f = r.CampoReporte;
    QString c;
    if (hayDesde)
        c = f + QStringLiteral(" >= ") + desdeFecha(desde) + QLatin1Char(' ');
    if (hayHasta) {
        if (!c.trimmed().isEmpty())
            c += QStringLiteral(" AND ");
        c += hastaFecha(f, hasta);
    }
    return c;
}

std::optional<QString> condicionNumero(const FiltroRango& r, Clase clase, QString& Mensaje) {
    const QString dT = r.ValorDesde.trimmed();
    const QString hT = r.ValorHasta.trimmed();
    const std::optional<double> vd = dT.isEmpty() ? std::nullopt : leerNumero(dT);
    const std::optional<double> vh = hT.isEmpty() ? std::nullopt : leerNumero(hT);
    if ((!dT.isEmpty() && !vd) || (!hT.isEmpty() && !vh))
        return rechazar(Mensaje, QStringLiteral("Valor Numerico Incorrecto , Campo : "), r);
    const bool hayD = vd.has_value();
    const bool hayH = vh.has_value();
    const double d = vd.value_or(0);
    const double h = vh.value_or(0);
    if (hayD && hayH && h < d)
        return rechazar(Mensaje, QStringLiteral("Desde Mayor que Hasta, Campo : "), r);
    const QString f = clase == Clase::Doble
                          ? QStringLiteral("tonumber(") + r.CampoReporte + QStringLiteral(")")
                          : r.CampoReporte;
    QString c;
    if (hayD)
        c = f + QStringLiteral(" >= ") + numeroFormula(d) + QLatin1Char(' ');
    if (hayH) {
        if (!c.trimmed().isEmpty())
            c += QStringLiteral(" AND ");
        c += f + QStringLiteral(" <= ") + numeroFormula(h) + QLatin1Char(' ');
    }
    return c;
}

std::optional<QString> condicionTexto(const FiltroRango& r, QString& Mensaje) {
    const QString& desde = r.ValorDesde;
    const QString& hasta = r.ValorHasta;
    const bool hayDesde = !desde.trimmed().isEmpty();
    const bool hayHasta = !hasta.trimmed().isEmpty();
    // Codes compared as stored (right-aligned) keep their blanks, so
    // that 99 stays below 100.
    const QString dC = r.SinRecorte ? desde : desde.trimmed();
    const QString hC = r.SinRecorte ? hasta : hasta.trimmed();
    if (hayDesde && hayHasta && dC.compare(hC, Qt::CaseInsensitive) > 0)
        return rechazar(Mensaje, QStringLiteral("Desde Mayor que Hasta, Campo : "), r);
    const QString f = r.SinRecorte ? r.CampoReporte
                                   : QStringLiteral("TrimLeft(TrimRight(") + r.CampoReporte +
                                         QStringLiteral("))");
    const bool comodinDesde = desde.contains(QLatin1Char('*'));
    const bool comodinHasta = hasta.contains(QLatin1Char('*'));
    QString c;
    if (comodinDesde)
        c = QStringLiteral(" (") + f + QStringLiteral(" LIKE ") + literal(desde) + QLatin1Char(' ');
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
    return c;
}

std::optional<QString> condicionDe(const FiltroRango& r, QString& Mensaje) {
    switch (const Clase clase = claseDe(r.TipoDato)) {
    case Clase::Fecha:
        return condicionFecha(r, Mensaje);
    case Clase::Doble:
    case Clase::Numero:
        return condicionNumero(r, clase, Mensaje);
    case Clase::Texto:
        break;
    }
    return condicionTexto(r, Mensaje);
}

} // namespace

bool ArmarFiltro(const TablaFiltros& Filtros, QString& Formula, QString& Mensaje) {
    QString resultado;
    for (const FiltroRango& r : Filtros) {
        const std::optional<QString> op = operadorDe(r);
        if (!op) {
            Mensaje = QStringLiteral("Operador logico incorrecto");
            return false;
        }
        const std::optional<QString> c = condicionDe(r, Mensaje);
        if (!c)
            return false;
        // Ranges without a bound add nothing; the first one that does has no
        // operator before it.
        if (!c->trimmed().isEmpty())
            resultado = resultado.isEmpty() ? *c : resultado + *op + *c;
    }
    Formula = resultado;
    return true;
}

} // namespace rp::report
