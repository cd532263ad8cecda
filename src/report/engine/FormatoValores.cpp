#include "report/engine/FormatoValores.h"

#include "report/engine/ValoresFormula.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <cmath>

namespace rp::motor {

QString FormatoValores::numeroFijo(double valor, int decimales, QChar decimal, QChar miles) {
    if (!std::isfinite(valor))
        return QString();
    QString t = QLocale::c().toString(std::fabs(valor), 'f', decimales);
    const bool cero = t.count(QLatin1Char('0')) + t.count(QLatin1Char('.')) == t.size();
    QString entero = t, fraccion;
    const qsizetype punto = t.indexOf(QLatin1Char('.'));
    if (punto >= 0) {
        entero = t.left(punto);
        fraccion = t.mid(punto + 1);
    }
    QString agrupado;
    for (qsizetype i = 0; i < entero.size(); ++i) {
        if (i > 0 && (entero.size() - i) % 3 == 0 && !miles.isNull())
            agrupado += miles;
        agrupado += entero.at(i);
    }
    QString r = (valor < 0 && !cero) ? QStringLiteral("-") + agrupado : agrupado;
    if (!fraccion.isEmpty())
        r += decimal + fraccion;
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
