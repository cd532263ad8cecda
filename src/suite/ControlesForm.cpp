#include "suite/ControlesForm.h"

#include <Qt>

namespace rp::suite {

ControlesForm::Movimiento ControlesForm::TeclaAbajo(int& codigoTecla, int shift) {
    if (shift & (vbCtrlMask | vbAltMask))
        return Movimiento::Ninguno;
    switch (codigoTecla) {
    case vbKeyReturn:
        return Movimiento::Siguiente;
    case vbKeyDown:
        codigoTecla = 0;
        return Movimiento::Siguiente;
    case vbKeyUp:
        codigoTecla = 0;
        return Movimiento::Anterior;
    default:
        return Movimiento::Ninguno;
    }
}

void ControlesForm::TeclaPresionada(int& caracter) {
    if (caracter == 13 || caracter == 10 || caracter == 27)
        caracter = 0;
}

int ControlesForm::IndiceControl(const QString& clave, const QMap<int, QString>& claves) {
    for (auto it = claves.cbegin(); it != claves.cend(); ++it) {
        if (it.value().compare(clave, Qt::CaseInsensitive) == 0)
            return it.key();
    }
    return -1;
}

int ControlesForm::CodigoTecla(int teclaQt) {
    if (teclaQt >= Qt::Key_A && teclaQt <= Qt::Key_Z)
        return 65 + (teclaQt - Qt::Key_A);
    if (teclaQt >= Qt::Key_0 && teclaQt <= Qt::Key_9)
        return 48 + (teclaQt - Qt::Key_0);
    if (teclaQt >= Qt::Key_F1 && teclaQt <= Qt::Key_F12)
        return vbKeyF1 + (teclaQt - Qt::Key_F1);
    switch (teclaQt) {
    case Qt::Key_Backspace:
        return vbKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return vbKeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vbKeyReturn;
    case Qt::Key_Escape:
        return vbKeyEscape;
    case Qt::Key_Space:
        return vbKeySpace;
    case Qt::Key_PageUp:
        return vbKeyPageUp;
    case Qt::Key_PageDown:
        return vbKeyPageDown;
    case Qt::Key_End:
        return vbKeyEnd;
    case Qt::Key_Home:
        return vbKeyHome;
    case Qt::Key_Left:
        return vbKeyLeft;
    case Qt::Key_Up:
        return vbKeyUp;
    case Qt::Key_Right:
        return vbKeyRight;
    case Qt::Key_Down:
        return vbKeyDown;
    case Qt::Key_Insert:
        return vbKeyInsert;
    case Qt::Key_Delete:
        return vbKeyDelete;
    default:
        return 0;
    }
}

int ControlesForm::EstadoShift(int modificadoresQt) {
    int estado = 0;
    if (modificadoresQt & Qt::ShiftModifier)
        estado |= vbShiftMask;
    if (modificadoresQt & Qt::ControlModifier)
        estado |= vbCtrlMask;
    if (modificadoresQt & Qt::AltModifier)
        estado |= vbAltMask;
    return estado;
}

} // namespace rp::suite
