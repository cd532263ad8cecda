#pragma once

#include "report/engine/Plantilla.h"

#include <QString>

namespace rp::motor {

// Reads a report template. Errors throw ErrorMotor with the file name, line
// and column and a stable message.
class LectorPlantilla {
public:
    static Plantilla leerArchivo(const QString& ruta);
    // `origen` names the text in error messages.
    static Plantilla leerTexto(const QString& texto, const QString& origen = QString());
};

} // namespace rp::motor
