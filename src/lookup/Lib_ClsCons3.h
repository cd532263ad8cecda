#pragma once

#include <QString>

namespace rp::lookup {

// The lookup request shared by the program: where its definitions come from
// and which connection it uses. The search itself arrives with the lookup
// dialogs.
class Lib_ClsCons3 {
public:
    QString gConnString;
    bool gUsarMascarasConsultas = false;
    QString gRutaMascaraConsultas; // program folder + "consultas.kst"
    QString CampoDevuelto;
    QString ValorDevuelto;
};

// The run's lookup request, created on first use.
Lib_ClsCons3& gConsulta();

} // namespace rp::lookup
