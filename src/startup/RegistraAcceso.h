#pragma once

#include <QString>

namespace rp::startup {

// The process name logged for `proceso` (the suite's renamed programs map to
// their main name). Empty text for "EM_Backup", which logs nothing.
QString ProcesoRegistrado(const QString& proceso);
// Programs that log their access without looking up a task.
bool ProcesoSinTarea(const QString& proceso);

// Records the access of the logged-on user in Control_Acceso: workstation,
// user, process, menu task and time. Never reports or stops anything itself.
// An empty `Proceso` stands for the executable name.
void RegistraAcceso(const QString& Proceso = QString());

} // namespace rp::startup
