#include "db/TextoVb.h"

namespace rp::db {

QString TextoVb::recortarIzquierda(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && s.at(i) == QLatin1Char(' '))
        ++i;
    return s.mid(i);
}

QString TextoVb::recortarDerecha(const QString& s) {
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == QLatin1Char(' '))
        --n;
    return s.left(n);
}

QString TextoVb::recortar(const QString& s) {
    return recortarDerecha(recortarIzquierda(s));
}

bool TextoVb::contiene(const QString& s, const QString& buscado) {
    return s.contains(buscado, Qt::CaseInsensitive);
}

QString TextoVb::reemplazar(const QString& s, const QString& buscar, const QString& con) {
    if (buscar.isEmpty())
        return s;
    QString out;
    out.reserve(s.size());
    qsizetype desde = 0;
    for (;;) {
        const qsizetype p = s.indexOf(buscar, desde, Qt::CaseInsensitive);
        if (p < 0)
            break;
        out += QStringView(s).mid(desde, p - desde);
        out += con;
        desde = p + buscar.size();
    }
    out += QStringView(s).mid(desde);
    return out;
}

QString TextoVb::duplicarApostrofes(const QString& s) {
    QString out = s;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return out;
}

} // namespace rp::db
