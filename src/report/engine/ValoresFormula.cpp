#include "report/engine/ValoresFormula.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

namespace rp::motor {

namespace {

// Milliseconds since an epoch, read from the wall-clock fields only (no time
// zone conversion: the database's date-times carry none).
qint64 instante(const QDate& d, const QTime& t) {
    return d.toJulianDay() * 86400000LL + (t.isValid() ? t.msecsSinceStartOfDay() : 0);
}

int signo(qint64 v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}
int signo(double v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

// Wildcard match with one back-tracking point (linear in practice, never
// exponential): "*" any run, "?" one character, letter case folded.
bool comoDesde(const QString& t, const QString& p) {
    qsizetype i = 0, j = 0, estrella = -1, marca = 0;
    while (i < t.size()) {
        if (j < p.size() && p.at(j) == QLatin1Char('*')) {
            estrella = j++;
            marca = i;
        } else if (j < p.size() && (p.at(j) == QLatin1Char('?') ||
                                    t.at(i).toCaseFolded() == p.at(j).toCaseFolded())) {
            ++i;
            ++j;
        } else if (estrella >= 0) {
            j = estrella + 1;
            i = ++marca;
        } else {
            return false;
        }
    }
    while (j < p.size() && p.at(j) == QLatin1Char('*'))
        ++j;
    return j == p.size();
}

} // namespace

bool ValoresFormula::esNulo(const QVariant& v) {
    return !v.isValid() || v.isNull();
}

bool ValoresFormula::esNumero(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

bool ValoresFormula::esTexto(const QVariant& v) {
    return v.typeId() == QMetaType::QString;
}
bool ValoresFormula::esFecha(const QVariant& v) {
    return v.typeId() == QMetaType::QDate;
}
bool ValoresFormula::esFechaHora(const QVariant& v) {
    return v.typeId() == QMetaType::QDateTime;
}

QString ValoresFormula::sinBlancosFinales(const QString& texto) {
    qsizetype n = texto.size();
    while (n > 0 && texto.at(n - 1) == QLatin1Char(' '))
        --n;
    return texto.left(n);
}

int ValoresFormula::compararTexto(const QString& a, const QString& b) {
    const int c = QString::compare(sinBlancosFinales(a), sinBlancosFinales(b), Qt::CaseInsensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::optional<double> ValoresFormula::aNumero(const QString& texto) {
    bool ok = false;
    const double v = QLocale::c().toDouble(texto.trimmed(), &ok);
    if (!ok)
        return std::nullopt;
    return v;
}

std::optional<QDateTime> ValoresFormula::aFechaHora(const QString& texto) {
    const QString t = texto.trimmed();
    if (t.size() == 10) {
        const QDate d = QDate::fromString(t, Qt::ISODate);
        if (d.isValid())
            return QDateTime(d, QTime(0, 0));
        return std::nullopt;
    }
    QString iso = t;
    if (iso.size() > 10 && iso.at(10) == QLatin1Char(' '))
        iso[10] = QLatin1Char('T');
    const QDateTime dt = QDateTime::fromString(iso, Qt::ISODateWithMs);
    if (dt.isValid())
        return QDateTime(dt.date(), dt.time());
    return std::nullopt;
}

std::optional<int> ValoresFormula::comparar(const QVariant& a, const QVariant& b) {
    if (esNulo(a) || esNulo(b))
        return std::nullopt;
    const bool fa = esFecha(a) || esFechaHora(a);
    const bool fb = esFecha(b) || esFechaHora(b);
    if (fa || fb) {
        QVariant x = a, y = b;
        if (!fa) {
            const auto v = esTexto(a) ? aFechaHora(a.toString()) : std::nullopt;
            if (!v)
                return std::nullopt;
            x = *v;
        }
        if (!fb) {
            const auto v = esTexto(b) ? aFechaHora(b.toString()) : std::nullopt;
            if (!v)
                return std::nullopt;
            y = *v;
        }
        // A plain date against a date-time compares the day only.
        if (esFecha(x) || esFecha(y)) {
            const QDate dx = esFecha(x) ? x.toDate() : x.toDateTime().date();
            const QDate dy = esFecha(y) ? y.toDate() : y.toDateTime().date();
            return signo(dx.toJulianDay() - dy.toJulianDay());
        }
        const QDateTime tx = x.toDateTime(), ty = y.toDateTime();
        return signo(instante(tx.date(), tx.time()) - instante(ty.date(), ty.time()));
    }
    if (esNumero(a) || esNumero(b)) {
        std::optional<double> x, y;
        x = esNumero(a) ? std::optional<double>(a.toDouble())
                        : (esTexto(a) ? aNumero(a.toString()) : std::nullopt);
        y = esNumero(b) ? std::optional<double>(b.toDouble())
                        : (esTexto(b) ? aNumero(b.toString()) : std::nullopt);
        if (!x || !y)
            return std::nullopt;
        return signo(*x - *y);
    }
    return compararTexto(a.toString(), b.toString());
}

bool ValoresFormula::como(const QString& texto, const QString& patron) {
    return comoDesde(texto, patron) || comoDesde(sinBlancosFinales(texto), patron);
}

int ValoresFormula::ordenar(const QVariant& a, const QVariant& b) {
    const bool na = esNulo(a), nb = esNulo(b);
    if (na || nb)
        return na == nb ? 0 : (na ? -1 : 1);
    if (const auto c = comparar(a, b))
        return *c;
    return compararTexto(a.toString(), b.toString());
}

} // namespace rp::motor
