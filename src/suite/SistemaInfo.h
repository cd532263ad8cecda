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
    // Fixes the workstation's time zone for the run, before any thread
    // starts. Without TZ set, the C library reads /etc/localtime again (a
    // file-system look-up) for every local date-time it converts, which is
    // a large share of reading dates from a database; TZ=":/etc/localtime"
    // names the same zone and lets it read the file once. A TZ the user set
    // is kept.
    static void FijarZonaHoraria();
};

} // namespace rp::suite
