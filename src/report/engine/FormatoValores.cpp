#include "report/engine/FormatoValores.h"

#include "report/engine/ValoresFormula.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <cmath>

namespace rp::motor {

QString FormatoValores::numeroFijo(double valor, int decimales, QChar decimal, QChar miles) {
    if (!std::isfinite(valor))
        return QString();
    // Every number cell of every page comes through here: one buffer, no
    // intermediate strings. The digits round half away from zero.
    const QByteArray t = QByteArray::number(std::fabs(valor), 'f', decimales);
    bool cero = true;
    for (const char c : t)
        cero = cero && (c == '0' || c == '.');
    qsizetype punto = t.indexOf('.');
    if (punto < 0)
        punto = t.size();
    QString r;
    r.reserve(t.size() + punto / 3 + 2);
    if (valor < 0 && !cero)
        r += QLatin1Char('-');
    for (qsizetype i = 0; i < punto; ++i) {
        if (i > 0 && (punto - i) % 3 == 0 && !miles.isNull())
            r += miles;
        r += QLatin1Char(t.at(i));
    }
    if (punto + 1 < t.size()) {
        r += decimal;
        r += QLatin1String(t.constData() + punto + 1, t.size() - punto - 1);
    }
    return r;
}

QString FormatoValores::texto(const QVariant& v) const {
    if (ValoresFormula::esNulo(v))
        return QString();
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    if (ValoresFormula::esNumero(v))
        return regional_.numeroATexto(v.toDouble());
    if (ValoresFormula::esFecha(v))
        return regional_.fechaATexto(v.toDate());
    if (ValoresFormula::esFechaHora(v))
        return regional_.fechaHoraATexto(v.toDateTime());
    return v.toString();
}

namespace {

// A number, or a text that reads as one; nullopt otherwise.
std::optional<double> numeroDe(const QVariant& v) {
    if (ValoresFormula::esNumero(v))
        return v.toDouble();
    if (ValoresFormula::esTexto(v))
        return ValoresFormula::aNumero(v.toString());
    return std::nullopt;
}

} // namespace

QString FormatoValores::mostrar(const QVariant& v, const FormatoColumna& f) const {
    if (ValoresFormula::esNulo(v))
        return QString();
    switch (f.tipo) {
    case FormatoColumna::Texto:
        // Codes are stored right-aligned in their width; the page shows them trimmed.
        return texto(v).trimmed();
    case FormatoColumna::Entero:
    case FormatoColumna::Numero: {
        const std::optional<double> d = numeroDe(v);
        if (!d)
            return texto(v);
        return numeroFijo(*d, f.tipo == FormatoColumna::Entero ? 0 : f.decimales,
                          regional_.separadorDecimal, regional_.separadorMiles);
    }
    case FormatoColumna::Cambio: {
        const std::optional<double> d = numeroDe(v);
        if (!d || !std::isfinite(*d))
            return QString();
        const QString cifra = numeroFijo(std::fabs(*d), f.decimales, regional_.separadorDecimal,
                                         regional_.separadorMiles);
        // What rounds to zero shows no direction.
        if (cifra ==
            numeroFijo(0, f.decimales, regional_.separadorDecimal, regional_.separadorMiles))
            return cifra;
        return *d > 0 ? QStringLiteral("\u25B2 +") + cifra : QStringLiteral("\u25BC -") + cifra;
    }
    case FormatoColumna::Fecha:
    case FormatoColumna::FechaHora: {
        QDateTime momento;
        if (ValoresFormula::esFecha(v))
            momento = QDateTime(v.toDate(), QTime(0, 0));
        else if (ValoresFormula::esFechaHora(v))
            momento = v.toDateTime();
        else if (ValoresFormula::esTexto(v)) {
            if (const auto m = ValoresFormula::aFechaHora(v.toString()))
                momento = *m;
        }
        if (!momento.isValid())
            return texto(v);
        if (f.tipo == FormatoColumna::Fecha)
            return regional_.fechaATexto(momento.date());
        return regional_.fechaATexto(momento.date()) + QLatin1Char(' ') +
               momento.time().toString(QStringLiteral("HH:mm:ss"));
    }
    }
    return texto(v);
}

} // namespace rp::motor
