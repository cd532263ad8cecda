// Fuzz target: the MSSQL collation's comparison (which sorts every text
// column of the embedded database) against the plain rule it must follow:
// decode both texts, drop trailing blanks, compare letter by letter in lower
// case, the shorter first. Input: two texts separated by a zero byte.

#include "db/provider/SqlServerText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int signo(int r) {
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int referencia(const uint8_t* a, int na, const uint8_t* b, int nb) {
    using namespace rp::db::mssql;
    const Text x = decodeUtf8(a, na);
    const Text y = decodeUtf8(b, nb);
    const size_t lx = lengthWithoutTrailingBlanks(x);
    const size_t ly = lengthWithoutTrailingBlanks(y);
    for (size_t i = 0; i < lx && i < ly; ++i) {
        const char32_t cx = toLowerCp(x[i]);
        const char32_t cy = toLowerCp(y[i]);
        if (cx != cy)
            return cx < cy ? -1 : 1;
    }
    return lx == ly ? 0 : (lx < ly ? -1 : 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4000)
        return 0;
    const uint8_t* cero = static_cast<const uint8_t*>(std::memchr(data, 0, size));
    if (!cero)
        return 0;
    const int na = static_cast<int>(cero - data);
    const uint8_t* b = cero + 1;
    const int nb = static_cast<int>(data + size - b);
    const int ab = signo(rp::db::mssql::compareUtf8(na, data, nb, b));
    const int ba = signo(rp::db::mssql::compareUtf8(nb, b, na, data));
    const int esperado = referencia(data, na, b, nb);
    if (ab != esperado || ba != -esperado) {
        std::fprintf(stderr, "collation order %d / %d, expected %d\n", ab, ba, esperado);
        std::abort();
    }
    return 0;
}
