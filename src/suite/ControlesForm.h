#pragma once

#include <QMap>
#include <QString>

namespace rp::suite {

// Key handling shared by the suite's forms, on key codes and texts only (the
// window classes translate their key events into these codes).
//
// Key codes are the suite's virtual key codes (13 Enter, 27 Esc, 38 up arrow,
// 40 down arrow, 112 F1 ... 123 F12, 65-90 letters, 48-57 digits); the shift
// state is the sum of 1 (Shift), 2 (Ctrl) and 4 (Alt).
class ControlesForm {
public:
    enum Tecla {
        vbKeyBack = 8,
        vbKeyTab = 9,
        vbKeyReturn = 13,
        vbKeyEscape = 27,
        vbKeySpace = 32,
        vbKeyPageUp = 33,
        vbKeyPageDown = 34,
        vbKeyEnd = 35,
        vbKeyHome = 36,
        vbKeyLeft = 37,
        vbKeyUp = 38,
        vbKeyRight = 39,
        vbKeyDown = 40,
        vbKeyInsert = 45,
        vbKeyDelete = 46,
        vbKeyF1 = 112,
        vbKeyF2 = 113,
        vbKeyF4 = 115,
        vbKeyF5 = 116,
        vbKeyF12 = 123,
    };
    enum Shift { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };

    // Where the focus goes after a key.
    enum class Movimiento { Ninguno, Siguiente, Anterior };

    // Key down in a filter field. Enter moves to the next field and keeps its
    // code (13), so the toolbar still sees it; the down arrow moves to the
    // next field and the up arrow to the previous one, and both are consumed
    // (code 0). With Ctrl or Alt held nothing moves and the code is kept.
    static Movimiento TeclaAbajo(int& codigoTecla, int shift = 0);

    // Key press (character) in a filter field; the character may be changed
    // or cancelled (0). Enter, line feed and Esc are cancelled: Enter has
    // already moved the focus on key down, and none of them belongs in a
    // single-line field.
    static void TeclaPresionada(int& caracter);

    // Index of the member of a control array whose field key equals `clave`
    // in any letter case; -1 when no member has it. `claves` maps member
    // indexes to field keys (an array may have gaps).
    static int IndiceControl(const QString& clave, const QMap<int, QString>& claves);

    // The key code of a Qt key (Qt::Key value); 0 for keys without one.
    static int CodigoTecla(int teclaQt);
    // The shift state of Qt keyboard modifiers (Qt::KeyboardModifiers value).
    static int EstadoShift(int modificadoresQt);
};

} // namespace rp::suite
