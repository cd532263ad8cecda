#pragma once

#include <QString>
#include <QtGlobal>

namespace rp::startup {

// The session values the start-up establishes for the whole run.
struct Sesion {
    QString carpetaPrograma; // program folder, always ending with "/"
    QString archivoAyuda;    // program folder + "htmlhelp/ridirozavir.chm"
    QString claveEstacion;   // "PC|USER" key of the settings file
    double gFlatToolbars = 1;
    QString gParametroAdicional;
    QString gMenu;
    QString gCaja; // "1" when the launch string has no "@Caja"
    QString gUsuarioLogeado;
    QString gCadenaDSN;
    qint16 gTimeOut = 360;
    quint32 gColorFondoFoco = 0xFFFFFF;
    quint32 gColorLetraFoco = 0;
};

// The run's session values.
Sesion& sesion();

} // namespace rp::startup
