#pragma once

#include <QtGlobal>

namespace rp::bench {

// Resident memory of this process, from /proc/self/status (kB).
class MemoriaPico {
public:
    static qint64 actualKb(); // VmRSS; -1 when unknown
    static qint64 picoKb();   // VmHWM, the peak since start or the last reset
    // Lowers the peak to the present size (writes 5 to /proc/self/clear_refs);
    // false when the system does not allow it.
    static bool reiniciarPico();
};

} // namespace rp::bench
