#pragma once

#include "suite/CodErr.h"

#include <QString>
#include <optional>

namespace rp::connections {

// Appends one entry to the connection list "BASES.TXT" of the program folder
// (created when missing): the trimmed key, database, user, encoded password
// (CodificarClave) and server, joined by commas, ended by CR LF, written in
// Windows-1252 with a single write. With `oracle` the server gets a leading
// "#". Existing lines are never touched.
//
// The failure is handed back to the caller, nullopt on success. A value that
// holds a comma, a double quote or a line break is refused (error 5, nothing
// written): it would split into other fields when the list is read. A file
// whose last line lacks its line end gets one first, so the new entry starts
// a line of its own.
// True when `valor` can stand as one field of the list: it holds no comma,
// double quote or line break.
bool CampoBaseValido(const QString& valor);

std::optional<rp::suite::CodErr> GrabarBase(const QString& clave, const QString& baseDatos,
                                            const QString& usuario, const QString& password,
                                            const QString& servidor, bool oracle);

} // namespace rp::connections
