#pragma once

#include <QString>

namespace rp::startup {

// Starting another suite program with this session: the launch parameter
// string (server, database, credentials, additional parameter, logged-on
// user, cash register) is handed to it as one argument.
//
// `comando`: "SHELL:" + a path (containing "/" or "\") starts that path;
// "SHELL:" + a name starts the name from the program folder; anything else
// is a name in the program folder. `idProceso` receives the new process's id
// (0 when none started); then the operator sees "Opcion no Implementada!".
void MenuExes(const QString& comando, const QString& parametroAdicional, qint64& idProceso);

// The launch parameter string of this session with that additional
// parameter.
QString ParametrosMenuExes(const QString& parametroAdicional);
// The executable `comando` stands for.
QString EjecutableMenuExes(const QString& comando);

} // namespace rp::startup
