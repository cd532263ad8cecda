#include "ConsultaDemoPrueba.h"
#include "lookup/Lib_FrmCons3.h"
#include "lookup/Lib_FrmCons3Tree.h"

#include <gtest/gtest.h>

using rp::lookup::gConsulta;
using rp::lookup::Lib_ClsCons3;
using rp::lookup::Lib_FrmCons3;
using rp::lookup::Lib_FrmCons3Tree;

namespace {

class PedidoDemo : public rp::lookup::test::ConsultaDemoPrueba {};

TEST_F(PedidoDemo, FieldLookupsShowTheRowsOfAnIndependentQuery) {
    const struct {
        const char* tabla;
        const char* clave;
        const char* independiente; // key column, in the list's order
    } casos[] = {
        {"v_ma_articulos", "idarticulo",
         "SELECT IDARTICULO FROM V_MA_ARTICULOS WHERE SUSPENDIDO = 0 ORDER BY DESCRIPCION, "
         "IDARTICULO"},
        {"vt_proveedores", "codigo",
         "SELECT CODIGO FROM VT_PROVEEDORES WHERE Dada_De_Baja = 0 ORDER BY RAZON_SOCIAL, CODIGO"},
        {"TA_USUARIOS", "NOMBRE", "SELECT NOMBRE FROM TA_USUARIOS ORDER BY NOMBRE"},
        {"SELECT DISTINCT IDLISTA, NOMBRE FROM V_MA_PRECIOSCAB ", "IDLISTA",
         "SELECT IDLISTA FROM V_MA_PRECIOSCAB ORDER BY IDLISTA"},
    };
    for (const auto& c : casos) {
        QStringList vistas;
        op.responderDialogo([&](rp::ui::DialogoModal& d) {
            auto& f = dynamic_cast<Lib_FrmCons3&>(d);
            const int k = f.modelo().IndiceColumna(c.clave) - 1;
            for (int i = 0; i < f.modelo().filas(); ++i)
                vistas << f.modelo().celda(i, k);
            f.setSeleccionada(1);
            return f.Aceptar();
        });
        Lib_ClsCons3& q = gConsulta();
        q.CampoDevuelto = c.clave;
        q.ConsultaSearch(c.tabla);
        const QStringList esperadas = columna(c.independiente);
        EXPECT_EQ(vistas, esperadas) << c.tabla;
        EXPECT_TRUE(q.Aceptada);
        EXPECT_EQ(q.ValorDevuelto, esperadas.value(1)) << c.tabla;
        EXPECT_EQ(q.CampoDevuelto, QString());
    }
}

TEST_F(PedidoDemo, RowBoundCancelAndTheConfigureMessage) {
    config["TopConsArt"] = "3";
    int filas = -1;
    op.responderDialogo([&](rp::ui::DialogoModal& d) {
        filas = dynamic_cast<Lib_FrmCons3&>(d).modelo().filas();
        return false;
    });
    Lib_ClsCons3& q = gConsulta();
    q.ValorDevuelto = "anterior";
    q.CampoDevuelto = "idarticulo";
    q.ConsultaSearch("v_ma_articulos");
    EXPECT_EQ(filas, 3);
    EXPECT_FALSE(q.Aceptada);
    EXPECT_EQ(q.ValorDevuelto, QString());
    EXPECT_TRUE(q.ultimaSentencia().startsWith("SELECT TOP 3 DESCRIPCION,IDARTICULO"));

    // A definition with one column and no search column: the message, and
    // the previous result stays.
    QFile f(q.gRutaMascaraConsultas);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(rp::lookup::RegistroConsulta{"P", "VT_PROVEEDORES", "|CODIGO|", ""}.aBytes());
    f.close();
    q.ValorDevuelto = "anterior";
    op.responderMensaje(rp::ui::vbOK);
    q.ConsultaSearch("vt_proveedores");
    ASSERT_EQ(op.mensajes().size(), 1);
    EXPECT_EQ(op.mensajes()[0].texto, "Debe configurar la consulta para esta tabla");
    EXPECT_EQ(op.mensajes()[0].titulo, "Aviso al operador");
    EXPECT_EQ(q.ValorDevuelto, "anterior");
}

TEST_F(PedidoDemo, FamiliesOpenTheTreeAndHandBackTheCode) {
    const QStringList codigos =
        columna("SELECT IDFAMILIA FROM V_TA_FAMILIAS WHERE IdFamilia<>'' ORDER BY IDFAMILIA");
    op.responderDialogo([&](rp::ui::DialogoModal& d) {
        auto& a = dynamic_cast<Lib_FrmCons3Tree&>(d);
        EXPECT_EQ(a.nodos(), codigos.size() + 1);
        a.cambioBusqueda(codigos[2]);
        return a.Aceptar();
    });
    Lib_ClsCons3& q = gConsulta();
    q.CampoDevuelto = "IDFAMILIA";
    q.ConsultaSearch("SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS ORDER BY IDFAMILIA", true);
    EXPECT_EQ(q.ValorDevuelto.trimmed(), codigos[2]);
}

TEST_F(PedidoDemo, OptionPickers) {
    Lib_ClsCons3& q = gConsulta();
    op.responderDialogo([](rp::ui::DialogoModal& d) {
        auto& f = dynamic_cast<Lib_FrmCons3&>(d);
        EXPECT_EQ(f.modelo().filas(), 3);
        f.cambioBusqueda(0, "be");
        return f.Aceptar();
    });
    EXPECT_EQ(q.MenuOpciones("Elija", {"alfa", "beta", "gama"}), "beta");
    // A single option shows an empty list.
    op.responderDialogo([](rp::ui::DialogoModal& d) {
        EXPECT_EQ(dynamic_cast<Lib_FrmCons3&>(d).modelo().filas(), 0);
        return false;
    });
    EXPECT_EQ(q.MenuOpciones("Elija", {"sola"}), QString());

    op.responderDialogo(
        [](rp::ui::DialogoModal& d) { return dynamic_cast<Lib_FrmCons3&>(d).Aceptar(); });
    q.CheckOpciones("Marque", {"1uno", "0dos", "1tres"});
    EXPECT_EQ(q.Valores, QStringList({"tres", "uno"})); // the list sorts itself

    op.responderMensaje(rp::ui::vbOK);
    EXPECT_EQ(q.ConsultaDesdeArchivo("Archivo", carpeta + "no_hay.txt"), QString());
    EXPECT_TRUE(op.mensajes().last().texto.startsWith("No existe el archivo "));
    QFile f(carpeta + "opciones.txt");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("primera\r\nsegunda\r\n");
    f.close();
    op.responderDialogo([](rp::ui::DialogoModal& d) {
        auto& l = dynamic_cast<Lib_FrmCons3&>(d);
        l.cambioBusqueda(0, "seg");
        return l.Aceptar();
    });
    EXPECT_EQ(q.ConsultaDesdeArchivo("Archivo", carpeta + "opciones.txt"), "segunda");
}

} // namespace
