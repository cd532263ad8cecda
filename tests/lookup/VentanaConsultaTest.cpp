#include "lookup/widgets/VentanaConsulta.h"
#include "ConsultaDemoPrueba.h"
#include "lookup/ArchivoAnchos.h"
#include "lookup/Lib_FrmCons3.h"
#include "lookup/Lib_FrmCons3Tree.h"
#include "lookup/widgets/VentanaConsultaArbol.h"
#include "ui/widgets/OperadorQt.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

using rp::lookup::Lib_FrmCons3;
using rp::lookup::Lib_FrmCons3Tree;
using rp::lookup::VentanaConsulta;
using rp::lookup::VentanaConsultaArbol;

namespace {

class VentanaDemo : public rp::lookup::test::ConsultaDemoPrueba {
protected:
    Lib_FrmCons3 f;
    void SetUp() override {
        ConsultaDemoPrueba::SetUp();
        f.SQL = "SELECT TOP 1000 RAZON_SOCIAL,CODIGO FROM VT_PROVEEDORES  with(nolock)  WHERE "
                "Dada_De_Baja = 0 ORDER BY RAZON_SOCIAL";
        f.CampoDevuelto = "codigo";
        f.rutaAnchos = carpeta + "CONSULTASLEN.KST";
        f.Load();
        ASSERT_GE(f.modelo().filas(), 6);
    }
};

TEST_F(VentanaDemo, TypingSelectsAndEnterHandsBackTheKey) {
    VentanaConsulta v(f);
    v.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
    EXPECT_EQ(v.windowTitle(), "Consulta...");
    auto* caja = v.findChild<QLineEdit*>("CmbSearch_0");
    auto* lista = v.findChild<QTableView*>("ListView1");
    ASSERT_TRUE(caja && lista && v.findChild<QLineEdit*>("CmbSearch_1"));
    EXPECT_EQ(caja->toolTip(), "F5 realiza nueva busqueda");
    caja->setFocus();
    const QString objetivo = f.modelo().celda(5, 0).left(7);
    QTest::keyClicks(caja, objetivo.toLower());
    const int fila = f.modelo().Busqueda(0, objetivo) - 1;
    EXPECT_EQ(lista->currentIndex().row(), fila);
    QTest::keyClick(caja, Qt::Key_Return);
    EXPECT_EQ(v.result(), QDialog::Accepted);
    EXPECT_EQ(f.ValorDevuelto, f.modelo().celda(fila, 1));
}

TEST_F(VentanaDemo, EscCancelsHeaderSortsListKeysTypeAndWidthsAreKept) {
    VentanaConsulta v(f);
    v.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
    auto* lista = v.findChild<QTableView*>("ListView1");
    auto* caja = v.findChild<QLineEdit*>("CmbSearch_0");
    const QString primera = f.modelo().celda(0, 0);
    QHeaderView* h = lista->horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                      QPoint(h->sectionViewportPosition(0) + 5, h->height() / 2));
    EXPECT_EQ(f.modelo().ordenActual(), Qt::DescendingOrder);
    EXPECT_EQ(f.modelo().celda(f.modelo().filas() - 1, 0), primera);

    lista->setFocus();
    QTest::keyClick(lista, Qt::Key_D);
    EXPECT_EQ(caja->text(), "D");
    EXPECT_TRUE(caja->hasFocus());
    // The keypad, a letter without a key code and Backspace, typed in the list.
    lista->setFocus();
    QTest::keyClick(lista, Qt::Key_7, Qt::KeypadModifier);
    lista->setFocus();
    QKeyEvent enie(QEvent::KeyPress, Qt::Key_Ntilde, Qt::NoModifier, QStringLiteral("ñ"));
    QApplication::sendEvent(lista, &enie);
    EXPECT_EQ(caja->text(), "D7ñ");
    lista->setFocus();
    QTest::keyClick(lista, Qt::Key_Backspace);
    lista->setFocus();
    QTest::keyClick(lista, Qt::Key_F1);
    EXPECT_EQ(caja->text(), "D7");

    h->resizeSection(0, 300); // the operator drags the column
    QTest::keyClick(lista, Qt::Key_Escape);
    EXPECT_EQ(v.result(), QDialog::Rejected);
    EXPECT_EQ(f.ValorDevuelto, QString());
    EXPECT_EQ(
        rp::lookup::ArchivoAnchos::leer(carpeta + "CONSULTASLEN.KST", "VT_PROVEEDORES").value(0),
        300 * 15);
}

TEST_F(VentanaDemo, F5NarrowsAndNuevaBusquedaGoesBack) {
    VentanaConsulta v(f);
    v.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
    auto* caja = v.findChild<QLineEdit*>("CmbSearch_1");
    const int todas = f.modelo().filas();
    const QString codigo = f.modelo().celda(2, 1);
    caja->setFocus();
    QTest::keyClicks(caja, codigo);
    QTest::keyClick(caja, Qt::Key_F5);
    EXPECT_EQ(f.modelo().filas(), 1);
    EXPECT_EQ(caja->text(), QString());
    QTest::mouseClick(v.findChild<QPushButton*>("CmdNueva"), Qt::LeftButton);
    EXPECT_EQ(f.modelo().filas(), todas);
    v.reject();
}

TEST_F(VentanaDemo, TreeWindowTypingSelectsAndEnterAccepts) {
    Lib_FrmCons3Tree a;
    a.SQL = "SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS ORDER BY IDFAMILIA";
    a.CampoDevuelto = "IDFAMILIA";
    a.Load();
    ASSERT_GT(a.nodos(), 4);
    VentanaConsultaArbol v(a);
    v.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
    auto* caja = v.findChild<QLineEdit*>("CmbSearch_0");
    auto* arbol = v.findChild<QTreeView*>("TreeV");
    ASSERT_TRUE(caja && arbol);
    const QString codigo = a.codigo(4).trimmed();
    QTest::keyClicks(caja, codigo);
    EXPECT_EQ(a.nodoDeIndice(arbol->currentIndex()), 4);
    QTest::keyClick(caja, Qt::Key_Return);
    EXPECT_EQ(v.result(), QDialog::Accepted);
    EXPECT_EQ(a.ValorDevuelto.trimmed(), codigo);
}

TEST(VentanaConsultaRegistro, BothWindowsAreRegisteredByName) {
    rp::ui::OperadorQt op;
    VentanaConsulta::registrar(op);
    EXPECT_TRUE(op.dialogoRegistrado("Lib_FrmCons3"));
    EXPECT_TRUE(op.dialogoRegistrado("Lib_FrmCons3Tree"));
}

} // namespace

namespace {

TEST_F(VentanaDemo, SpaceMarksF12AsksAboutAShortage) {
    Lib_FrmCons3 m;
    m.SQL = "SELECT DISTINCT IDLISTA, NOMBRE FROM V_MA_PRECIOSCAB ";
    m.CheckBoxes = true;
    m.CampoDevuelto = "IDLISTA";
    m.Load();
    {
        VentanaConsulta v(m);
        v.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
        auto* lista = v.findChild<QTableView*>("ListView1");
        lista->setFocus();
        lista->setCurrentIndex(m.modelo().index(1, 0));
        QTest::keyClick(lista, Qt::Key_Space);
        EXPECT_TRUE(m.modelo().marcada(1));
        QTest::mouseClick(v.findChild<QPushButton*>("CmdTodos"), Qt::LeftButton);
        EXPECT_FALSE(m.modelo().marcada(1));
        EXPECT_TRUE(m.modelo().marcada(0));
        QTest::keyClick(lista, Qt::Key_Return);
        EXPECT_EQ(v.result(), QDialog::Accepted);
        EXPECT_FALSE(m.Valores.isEmpty());
        EXPECT_FALSE(m.Valores.contains(m.modelo().celda(1, 0)));
    }

    Lib_FrmCons3 a;
    a.SQL = "SELECT TOP 10 IDARTICULO, DESCRIPCION FROM V_MA_ARTICULOS ORDER BY IDARTICULO";
    a.Load();
    a.setSeleccionada(0);
    VentanaConsulta v(a);
    v.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
    op.responderMensaje(rp::ui::vbNo);
    QTest::keyClick(v.findChild<QLineEdit*>("CmbSearch_0"), Qt::Key_F12);
    ASSERT_EQ(op.mensajes().size(), 1);
    EXPECT_TRUE(op.mensajes()[0].texto.startsWith("Desea informar el articulo "));
    EXPECT_EQ(op.mensajes()[0].estilo, rp::ui::estilo::YesNo + rp::ui::estilo::Question);
    v.reject();
}

} // namespace
