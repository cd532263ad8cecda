#pragma once

#include "DialogoModalPrueba.h"
#include "connections/widgets/VentanaAcceso.h"

#include <functional>

// Runs `accion` on the connection dialog as soon as it is shown modally
// (for at most ten seconds).
inline void alMostrarse(std::function<void(rp::connections::VentanaAcceso&)> accion) {
    rp::prueba::alAparecerModal<rp::connections::VentanaAcceso>(std::move(accion), 10000);
}
