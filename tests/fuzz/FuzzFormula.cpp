// Fuzz target: the template reader and the formula parser. Any input ends in
// a template or an ErrorMotor, never a crash or a hang.

#include "report/engine/ErrorMotor.h"
#include "report/engine/LectorPlantilla.h"
#include "report/engine/ParserFormula.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 200000)
        return 0;
    const QString texto =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        rp::motor::ParserFormula::analizar(texto, QStringLiteral("f"));
    } catch (const rp::motor::ErrorMotor&) {
    }
    try {
        rp::motor::ParserFormula::analizarAsignacion(texto);
    } catch (const rp::motor::ErrorMotor&) {
    }
    try {
        rp::motor::LectorPlantilla::leerTexto(texto, QStringLiteral("f.rpt"));
    } catch (const rp::motor::ErrorMotor&) {
    }
    return 0;
}
