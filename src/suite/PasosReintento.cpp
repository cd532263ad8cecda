#include "suite/PasosReintento.h"

#include "ui/Operador.h"

namespace rp::suite {

TrasFallo trasFallo(int respuesta) {
    if (respuesta == ui::vbRetry)
        return TrasFallo::Repetir;
    if (respuesta == ui::vbIgnore)
        return TrasFallo::Seguir;
    return TrasFallo::Terminar;
}

PasosReintento::PasosReintento(Informe informe, Traduccion traduccion)
    : informe_(std::move(informe)), traduccion_(std::move(traduccion)) {}

bool PasosReintento::operator()(const std::function<void()>& paso) {
    for (;;) {
        try {
            paso();
            return true;
        } catch (...) {
            switch (trasFallo(informe_(traduccion_(std::current_exception())))) {
            case TrasFallo::Repetir:
                continue;
            case TrasFallo::Seguir:
                return true;
            case TrasFallo::Terminar:
                return false;
            }
        }
    }
}

CodErr PasosReintento::errorDe(std::exception_ptr excepcion) {
    try {
        std::rethrow_exception(excepcion);
    } catch (const CodErr& e) {
        return e;
    } catch (const std::exception& e) {
        return {440, QString::fromLocal8Bit(e.what()), QStringLiteral("rp_tarifario")};
    }
}

} // namespace rp::suite
