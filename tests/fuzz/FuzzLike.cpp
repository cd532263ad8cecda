// Fuzz target: the LIKE matcher against a plain dynamic-programming one.
// Input: pattern, a zero byte, text (UTF-8); a second zero byte followed by
// one character gives the escape character.

#include "LikeReferencia.h"
#include "db/provider/SqlServerText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using rp::db::mssql::decodeUtf8;
    if (size > 2000)
        return 0;
    const uint8_t* fin = data + size;
    const uint8_t* cero = static_cast<const uint8_t*>(std::memchr(data, 0, size));
    if (!cero)
        return 0;
    const uint8_t* cero2 = static_cast<const uint8_t*>(std::memchr(cero + 1, 0, fin - cero - 1));
    const uint8_t* finTexto = cero2 ? cero2 : fin;
    const auto patron = decodeUtf8(data, static_cast<int>(cero - data));
    const auto texto = decodeUtf8(cero + 1, static_cast<int>(finTexto - cero - 1));
    char32_t escape = 0;
    if (cero2 && cero2 + 1 < fin) {
        const auto e = decodeUtf8(cero2 + 1, static_cast<int>(fin - cero2 - 1));
        if (!e.empty())
            escape = e[0];
    }
    const bool rapido = rp::db::mssql::likeMatch(patron, 0, texto, 0, escape);
    const bool referencia = rp::prueba::likeReferencia(patron, texto, escape);
    if (rapido != referencia) {
        std::fprintf(stderr, "LIKE disagrees with the reference: %d vs %d\n", rapido, referencia);
        std::abort();
    }
    return 0;
}
