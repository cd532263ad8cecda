#pragma once

#include "suite/PasosReintento.h"

#include <exception>

namespace rp::report {

// The report runs' steps: the suite's retry / ignore / abort runner, with
// the failures of the report engine, the report control and the database
// turned into the error the box shows.
class ReportePasos : public suite::PasosReintento {
public:
    explicit ReportePasos(Informe informe) : PasosReintento(std::move(informe), errorDe) {}

    // The failure a thrown exception stands for: suite::CodErr as it is,
    // database errors, report-engine errors and other exceptions with their
    // number and text.
    static suite::CodErr errorDe(std::exception_ptr excepcion);
};

} // namespace rp::report
