#pragma once

#include <QString>

namespace rp::suite {

// The workstation: its name, the operating-system user and a folder the
// user may always write to.
class SistemaInfo {
public:
    // The host name.
    static QString NombrePc();
    // The login name of the user running the program.
    static QString NombreUsuarioPc();
    // A writable folder for the error log: the user's folder for temporary
    // files (TMPDIR, else /tmp), without a trailing "/".
    static QString CarpetaSistema();
};

} // namespace rp::suite
