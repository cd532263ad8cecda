#pragma once

#include "suite/Aplicacion.h"
#include "suite/Regional.h"
#include "ui/Operador.h"

#include <QString>

namespace rp::prueba {

// Installs the operator, the regional settings and the program folder a test
// runs with, and puts back on destruction what was there before (the
// program's default operator when none was installed).
class GuardiaEntorno {
public:
    explicit GuardiaEntorno(rp::ui::Operador* operador = nullptr,
                            const rp::suite::Regional& regional = rp::suite::Regional::espaniol(),
                            const QString& carpetaPrograma = QString())
        : regional_(rp::suite::Regional::actual()),
          carpeta_(rp::suite::Aplicacion::carpetaPrograma()) {
        if (operador)
            rp::ui::setOperador(operador);
        rp::suite::Regional::establecer(regional);
        if (!carpetaPrograma.isEmpty())
            rp::suite::Aplicacion::establecerCarpetaPrograma(carpetaPrograma);
    }
    ~GuardiaEntorno() {
        rp::ui::setOperador(nullptr);
        rp::suite::Regional::establecer(regional_);
        rp::suite::Aplicacion::establecerCarpetaPrograma(carpeta_);
    }
    GuardiaEntorno(const GuardiaEntorno&) = delete;
    GuardiaEntorno& operator=(const GuardiaEntorno&) = delete;

private:
    rp::suite::Regional regional_;
    QString carpeta_;
};

} // namespace rp::prueba
