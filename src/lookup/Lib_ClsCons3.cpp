#include "lookup/Lib_ClsCons3.h"

namespace rp::lookup {

Lib_ClsCons3& gConsulta() {
    static Lib_ClsCons3 c;
    return c;
}

} // namespace rp::lookup
