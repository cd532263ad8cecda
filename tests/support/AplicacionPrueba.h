#pragma once

#include <QApplication>

namespace rp::prueba {

// The one QApplication of a test binary, made on first use (offscreen
// platform when no display is set). Binaries built with AplicacionPrueba.cpp
// get it made before the first test and deleted after the last.
QApplication& aplicacion();

} // namespace rp::prueba
