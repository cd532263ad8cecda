#pragma once

#include <QString>
#include <optional>

namespace rp::report {

// The lookup a filter field's lookup tag stands for: the key column handed
// back (`CampoDevuelto`), the table or statement searched (`SQL` of
// `ConsultaSearch`) and whether the family tree dialog shows it. Tags are
// compared without regard to letter case; "FECHA" opens the date picker
// instead of a lookup.
struct ConsultaCampo {
    QString campoDevuelto;
    QString sql;
    bool arbol = false;

    // The lookup of a tag; nullopt for "FECHA" and for tags without a lookup.
    static std::optional<ConsultaCampo> deTag(const QString& tag);
    // True for the date fields' tag "FECHA" (any case, blanks around ignored).
    static bool esFecha(const QString& tag);
};

} // namespace rp::report
