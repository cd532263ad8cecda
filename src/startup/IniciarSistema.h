#pragma once

#include <QString>

namespace rp::startup {

// How the start-up sequence ended.
enum class ResultadoInicio {
    Completo,     // every step ran: the session is complete
    Interrumpido, // a step failed; the session holds what was set so far
    Terminar      // the connection could not be opened: the program ends now
};

// The start-up sequence: session values, launch parameters (or the stored
// connection of the settings file when `usarIni`), main and statistics
// connections, lookup definitions, configuration and the access log.
// `parametros` replaces the process's launch string when not empty;
// `cadenaConexion` is handed to the connection open as is.
ResultadoInicio IniciarSistema(bool usarIni, const QString& parametros, QString& cadenaConexion,
                               int ubicacionCursor);

// Opens the statistics database and takes the command time-out from it.
void AbrirEstadisticas();

// The launch string built from the stored connection of the settings file.
QString ParametrosDesdeIni(const QString& claveEstacion);

// "PC|USER" of the workstation, upper case.
QString ClaveEstacion();

} // namespace rp::startup
