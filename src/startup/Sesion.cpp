#include "startup/Sesion.h"

namespace rp::startup {

Sesion& sesion() {
    static Sesion s;
    return s;
}

} // namespace rp::startup
