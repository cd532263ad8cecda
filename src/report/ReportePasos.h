#pragma once

#include "suite/CodErr.h"

#include <exception>
#include <functional>

namespace rp::report {

// Runs a routine's steps one after the other under an error box: a failing
// step is reported through `informe`, whose answer decides what follows:
// 4 (Retry) runs the step again, 5 (Ignore) goes on with the next step,
// anything else ends the routine.
class ReportePasos {
public:
    using Informe = std::function<int(const suite::CodErr&)>;

    explicit ReportePasos(Informe informe) : informe_(std::move(informe)) {}

    // Runs one step; false when the routine must end.
    bool operator()(const std::function<void()>& paso);

    // The failure a thrown exception stands for: suite::CodErr as it is,
    // database errors, report-engine errors and other exceptions with their
    // number and text.
    static suite::CodErr errorDe(std::exception_ptr excepcion);

private:
    Informe informe_;
};

} // namespace rp::report
