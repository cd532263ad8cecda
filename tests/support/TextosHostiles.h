#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

namespace rp::prueba {

// Texts that break a statement, a file or a parser built by pasting: quotes
// that end a literal, comment and parameter markers, escape sequences, line
// breaks, look-alike apostrophes, wildcards and texts longer than 4000
// characters. Entry 2 is the empty text.
inline QStringList textosHostiles() {
    return {
        QStringLiteral("O'Brien"),
        QStringLiteral("' OR '1'='1"),
        QString(QLatin1String("")),
        QStringLiteral("C:\\carpeta\\"),
        QStringLiteral("--"),
        QString::fromUtf8("línea 1\r\nlínea 2"),
        QString(QChar(0x02BC)) + QStringLiteral("x"),
        QString(QChar(0xFF07)) + QStringLiteral(" OR 1=1"),
        QStringLiteral("?"),
        QStringLiteral("{fn NOW()}"),
        QStringLiteral("%_["),
        QString(4001, QChar(u'ñ')),
        QStringLiteral("termina en \\"),
        QStringLiteral("dos\nlineas"),
        QStringLiteral("{fn"),
        QString(4000, QLatin1Char('a')) + QLatin1Char('\''),
    };
}

} // namespace rp::prueba
