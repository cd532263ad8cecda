// The field lookups from the real window: F2 on a filter field opens the
// list (or, on families, the tree); what the operator picks lands in the
// field, trimmed.
#include "ProgramaPrueba.h"

#include "lookup/Lib_FrmCons3.h"
#include "lookup/Lib_FrmCons3Tree.h"

#include <QLineEdit>
#include <QTest>

namespace {

using rp::e2e::ProgramaPrueba;

class ConsultaCampo : public ProgramaPrueba {
protected:
    QString texto(const QString& clave) const {
        auto* l = qobject_cast<QLineEdit*>(campo(clave));
        return l ? l->text() : QString();
    }
};

TEST_F(ConsultaCampo, F2EnProveedorDesdeEligeUnaFilaYEscribeLaClave) {
    arrancar();
    const QString razon =
        valor("SELECT RAZON_SOCIAL FROM VT_PROVEEDORES WHERE Dada_De_Baja = 0 ORDER BY "
              "RAZON_SOCIAL LIMIT 1 OFFSET 2")
            .toString();
    const QString codigo =
        valor("SELECT CODIGO FROM VT_PROVEEDORES WHERE Dada_De_Baja = 0 ORDER BY RAZON_SOCIAL "
              "LIMIT 1 OFFSET 2")
            .toString()
            .trimmed();
    ASSERT_FALSE(razon.isEmpty());
    QString nombre;
    guion.responderDialogo([&](rp::ui::DialogoModal& d) {
        nombre = d.dialogName();
        auto& f = dynamic_cast<rp::lookup::Lib_FrmCons3&>(d);
        f.cambioBusqueda(0, razon.left(razon.size() - 1)); // typing selects
        return f.Aceptar();                                // Enter
    });
    teclear(QStringLiteral("ProveedorDesde"), QStringLiteral("x"));
    tecla(Qt::Key_F2);
    EXPECT_EQ(nombre, "Lib_FrmCons3");
    EXPECT_EQ(texto(QStringLiteral("ProveedorDesde")), codigo);

    // Esc leaves what was there.
    guion.responderDialogo([](rp::ui::DialogoModal&) { return false; });
    teclear(QStringLiteral("ProveedorDesde"), QStringLiteral("tecleado"));
    tecla(Qt::Key_F2);
    EXPECT_EQ(texto(QStringLiteral("ProveedorDesde")), "tecleado");
    EXPECT_TRUE(mensajes().isEmpty()) << mensajes().join('\n').toStdString();
}

TEST_F(ConsultaCampo, F2EnFamiliaDesdeAbreElArbol) {
    arrancar();
    const QString familia =
        valor("SELECT IDFAMILIA FROM V_TA_FAMILIAS ORDER BY IDFAMILIA LIMIT 1 OFFSET 3")
            .toString()
            .trimmed();
    guion.responderDialogo([&](rp::ui::DialogoModal& d) {
        auto& a = dynamic_cast<rp::lookup::Lib_FrmCons3Tree&>(d);
        a.cambioBusqueda(familia);
        return a.Aceptar();
    });
    teclear(QStringLiteral("FamiliaDesde"), QStringLiteral("x"));
    tecla(Qt::Key_F2);
    EXPECT_EQ(texto(QStringLiteral("FamiliaDesde")), familia);
}

} // namespace
