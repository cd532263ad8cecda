#pragma once

#include "suite/CodErr.h"

#include <exception>
#include <functional>

namespace rp::suite {

// What follows a failed step, from the operator's answer to the
// Abort/Retry/Ignore error box: 4 (Retry) runs the step again, 5 (Ignore)
// goes on with the next step, any other answer ends the routine.
enum class TrasFallo { Repetir, Seguir, Terminar };
TrasFallo trasFallo(int respuesta);

// Runs a routine's steps one after the other under an error box: a step that
// throws is reported through `informe` (the exception turned into a CodErr by
// `traduccion`), and the answer decides what follows (see TrasFallo). A
// translation that rethrows lets that exception leave the routine.
class PasosReintento {
public:
    using Informe = std::function<int(const CodErr&)>;
    using Traduccion = std::function<CodErr(std::exception_ptr)>;

    explicit PasosReintento(Informe informe, Traduccion traduccion = errorDe);

    // Runs one step; false when the routine must end.
    bool operator()(const std::function<void()>& paso);

    // CodErr as it is; any other std::exception as error 440 with its text,
    // raised by the program. Other exceptions are rethrown.
    static CodErr errorDe(std::exception_ptr excepcion);

private:
    Informe informe_;
    Traduccion traduccion_;
};

} // namespace rp::suite
