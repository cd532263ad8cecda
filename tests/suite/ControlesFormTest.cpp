#include "suite/ControlesForm.h"

#include <gtest/gtest.h>

#include <QMap>
#include <Qt>

using rp::suite::ControlesForm;
using Mov = ControlesForm::Movimiento;

TEST(ControlesFormTest, EnterMovesOnAndKeepsItsCode) {
    int tecla = 13;
    EXPECT_EQ(ControlesForm::TeclaAbajo(tecla), Mov::Siguiente);
    EXPECT_EQ(tecla, 13);
    tecla = 13;
    EXPECT_EQ(ControlesForm::TeclaAbajo(tecla, ControlesForm::vbShiftMask), Mov::Siguiente);
}

TEST(ControlesFormTest, ArrowsMoveAndAreConsumed) {
    int tecla = 40;
    EXPECT_EQ(ControlesForm::TeclaAbajo(tecla), Mov::Siguiente);
    EXPECT_EQ(tecla, 0);
    tecla = 38;
    EXPECT_EQ(ControlesForm::TeclaAbajo(tecla), Mov::Anterior);
    EXPECT_EQ(tecla, 0);
}

TEST(ControlesFormTest, OtherKeysAndCtrlOrAltCombinationsPassUnchanged) {
    for (int codigo : {116, 27, 65, 37, 39, 9}) {
        int tecla = codigo;
        EXPECT_EQ(ControlesForm::TeclaAbajo(tecla), Mov::Ninguno) << codigo;
        EXPECT_EQ(tecla, codigo);
    }
    for (int shift : {ControlesForm::vbCtrlMask, ControlesForm::vbAltMask}) {
        int tecla = 40;
        EXPECT_EQ(ControlesForm::TeclaAbajo(tecla, shift), Mov::Ninguno);
        EXPECT_EQ(tecla, 40);
    }
}

TEST(ControlesFormTest, KeyPressCancelsLineBreaksAndEsc) {
    for (int c : {13, 10, 27}) {
        int caracter = c;
        ControlesForm::TeclaPresionada(caracter);
        EXPECT_EQ(caracter, 0);
    }
    int caracter = 'x';
    ControlesForm::TeclaPresionada(caracter);
    EXPECT_EQ(caracter, 'x');
}

TEST(ControlesFormTest, IndiceControlIgnoresLetterCaseAndGaps) {
    const QMap<int, QString> claves = {{0, "ListaDesde"}, {35, "FliaDesdeC"}, {37, "ListaC"}};
    EXPECT_EQ(ControlesForm::IndiceControl("listac", claves), 37);
    EXPECT_EQ(ControlesForm::IndiceControl("FLIADESDEC", claves), 35);
    EXPECT_EQ(ControlesForm::IndiceControl("ListaDesde", claves), 0);
    EXPECT_EQ(ControlesForm::IndiceControl("Lista", claves), -1);
    EXPECT_EQ(ControlesForm::IndiceControl("", {}), -1);
}

TEST(ControlesFormTest, QtKeysBecomeKeyCodes) {
    EXPECT_EQ(ControlesForm::CodigoTecla(Qt::Key_Return), 13);
    EXPECT_EQ(ControlesForm::CodigoTecla(Qt::Key_Enter), 13);
    EXPECT_EQ(ControlesForm::CodigoTecla(Qt::Key_Escape), 27);
    EXPECT_EQ(ControlesForm::CodigoTecla(Qt::Key_Up), 38);
    EXPECT_EQ(ControlesForm::CodigoTecla(Qt::Key_Down), 40);
    EXPECT_EQ(ControlesForm::CodigoTecla(Qt::Key_F1), 112);
    EXPECT_EQ(ControlesForm::CodigoTecla(Qt::Key_F5), 116);
    EXPECT_EQ(ControlesForm::CodigoTecla(Qt::Key_F12), 123);
    EXPECT_EQ(ControlesForm::CodigoTecla(Qt::Key_P), 'P');
    EXPECT_EQ(ControlesForm::CodigoTecla(Qt::Key_7), '7');
    EXPECT_EQ(ControlesForm::CodigoTecla(Qt::Key_Shift), 0);
    EXPECT_EQ(ControlesForm::EstadoShift(Qt::ControlModifier | Qt::ShiftModifier), 3);
    EXPECT_EQ(ControlesForm::EstadoShift(Qt::AltModifier), 4);
    EXPECT_EQ(ControlesForm::EstadoShift(Qt::NoModifier), 0);
}
