#pragma once

#include <QString>

namespace rp::suite {

// Where the program runs from and what it is called.
//
// The program folder holds the report templates, the lookup definition files,
// the connection list and the error log. It is the executable's folder unless
// the command line names another one (--program-folder); it always ends with
// "/". The executable name (without folder or extension) is what the access
// log, the error table and the synonym exceptions record.
class Aplicacion {
public:
    // The program folder, always ending with "/".
    static QString carpetaPrograma();
    // Replaces the program folder (a "/" is appended when missing). An empty
    // text goes back to the executable's folder.
    static void establecerCarpetaPrograma(const QString& carpeta);

    // "rp_tarifario" unless replaced.
    static QString nombreEjecutable();
    static void establecerNombreEjecutable(const QString& nombre);

    // The folder of the running executable, with a trailing "/".
    static QString carpetaEjecutable();
};

} // namespace rp::suite
