#pragma once

#include "suite/CodErr.h"

#include <QString>
#include <optional>

namespace rp::startup {

// The program's failure report. Shows the operator the error in a modal box
// (title: source + routine + " Aviso al operador!!! - 2 "), appends one line
// to "KSERR.LOG" in the log folder, and returns the answer: 4 retry the
// failed step, 5 go on with the next one, anything else give up. An error
// number 0 returns 0 without box or line. A log that cannot be written loses
// its line only; the box and the answer are never lost.
// `botones` is the message-box style, 18 (critical icon, Abort/Retry/Ignore
// with Abort as default) when not given.
int AvisoError(const suite::CodErr& error, std::optional<int> botones = std::nullopt,
               const std::optional<QString>& rutina = std::nullopt);

// The log file of AvisoError: the folder named by the environment variable
// "tmp" when "temp" is set and not empty (names in any letter case), trimmed;
// the system folder (SistemaInfo::CarpetaSistema) when that is empty; then
// "/KSERR.LOG".
QString RutaLogAvisoError();

} // namespace rp::startup
