#include "startup/FormatosFecha.h"

#include "suite/Regional.h"

namespace rp::startup {

QString PatronFecha() {
    const QChar s = suite::Regional::actual().separadorFecha;
    QString sep(s);
    if (s == QLatin1Char('\''))
        sep = QStringLiteral("''");
    else if (s.isLetter())
        sep = QLatin1Char('\'') + sep + QLatin1Char('\'');
    return QStringLiteral("dd") + sep + QStringLiteral("MM") + sep + QStringLiteral("yy");
}

QString FormatoFecha(const QDateTime& momento) {
    return momento.toString(PatronFecha());
}

QString FormatoHora(const QDateTime& momento) {
    return momento.toString(QStringLiteral("HH:mm"));
}

QString FormatoFechaHora(const QDateTime& momento) {
    return FormatoFecha(momento) + QLatin1Char(' ') + FormatoHora(momento);
}

} // namespace rp::startup
