#pragma once

#include <QString>

namespace rp::connections {

// One entry of the connection list "BASES.TXT": five fields in file order.
struct EntradaBase {
    QString clave;     // 1: the text shown in the list and used for look-ups
    QString baseDatos; // 2: database name
    QString usuario;   // 3: user name
    QString password;  // 4: password as stored (encoded with CodificarClave)
    QString servidor;  // 5: server, optionally ":" + port; a leading "#" marks Oracle

    bool operator==(const EntradaBase&) const = default;
};

} // namespace rp::connections
