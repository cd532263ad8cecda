#pragma once

#include <QString>

namespace rp::db {

// Text operations with the semantics the statement builders rely on: blanks
// (and only blanks) are trimmed, searches ignore letter case where asked.
class TextoVb {
public:
    // `s` without leading and trailing blanks (tabs and line breaks stay).
    static QString recortar(const QString& s);
    static QString recortarIzquierda(const QString& s);
    static QString recortarDerecha(const QString& s);
    // Case-insensitive search.
    static bool contiene(const QString& s, const QString& buscado);
    // Every occurrence of `buscar` (any letter case) replaced by `con`,
    // scanning left to right without overlapping.
    static QString reemplazar(const QString& s, const QString& buscar, const QString& con);
    // `s` with every apostrophe doubled, so it can stand inside a quoted SQL
    // literal without ending it.
    static QString duplicarApostrofes(const QString& s);
};

} // namespace rp::db
