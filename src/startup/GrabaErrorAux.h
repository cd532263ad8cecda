#pragma once

#include <QString>

namespace rp::startup {

// Adds one row to the error table AUX_ERR for a failed script batch: the
// process (the executable name when `Proceso` is empty), the date and time
// "dd/mm/yy hh:mm", the error number, the description cut to 250
// characters, the statement, the workstation and the database user.
// Never reports anything and never raises: a missing table or a failing
// write only loses the row.
void GrabaErrorAux(const QString& SQL, const QString& Proceso, qint32 Error,
                   const QString& Descripcion);

} // namespace rp::startup
