// Fuzz target: the reader of the suite's launch parameter string.

#include "startup/ParametrosLanzamiento.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 100000)
        return 0;
    const QString texto =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    rp::startup::ParametrosLanzamiento anterior;
    anterior.caja = QStringLiteral("1");
    const auto p = rp::startup::ParametrosLanzamiento::leer(texto, anterior);
    (void)rp::startup::NormalizarServidor(p.servidor);
    return 0;
}
