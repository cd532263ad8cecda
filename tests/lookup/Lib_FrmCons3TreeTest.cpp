#include "lookup/Lib_FrmCons3Tree.h"
#include "ConsultaDemoPrueba.h"

#include <gtest/gtest.h>

using rp::lookup::Lib_FrmCons3Tree;

namespace {

class ArbolDemo : public rp::lookup::test::ConsultaDemoPrueba {
protected:
    // Code of each node's parent, by the node's code.
    static QMap<QString, QString> padres(const Lib_FrmCons3Tree& a) {
        QMap<QString, QString> r;
        for (int i = 1; i < a.nodos(); ++i)
            r.insert(a.codigo(i), a.nodo(a.nodo(i).padre).clave);
        return r;
    }
    void familias(const QStringList& codigos) {
        sql("DELETE FROM V_TA_FAMILIAS");
        for (const QString& c : codigos)
            sql(QStringLiteral("INSERT INTO V_TA_FAMILIAS VALUES ('%1', 'Familia %1')").arg(c));
    }
};

TEST_F(ArbolDemo, BothBuildersNestByCode) {
    familias({"01", "0101", "010101", "02", "0201"});
    const QMap<QString, QString> esperado = {
        {"01", "A"}, {"0101", "A01"}, {"010101", "A0101"}, {"02", "A"}, {"0201", "A02"}};
    Lib_FrmCons3Tree fam;
    fam.SQL = "SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS ORDER BY IDFAMILIA";
    fam.Load();
    EXPECT_EQ(padres(fam), esperado);
    EXPECT_EQ(fam.nodo(0).texto, "Consulta...");
    EXPECT_EQ(fam.nodo(1).texto, "01 - Familia 01");

    Lib_FrmCons3Tree aut;
    aut.SQL = "SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS x ORDER BY IDFAMILIA";
    aut.ArmarTreeVAutomatico();
    EXPECT_EQ(padres(aut), esperado);

    // The rules differ when a shorter code that is no prefix sorts before.
    familias({"01", "015", "0200"});
    fam.Load();
    EXPECT_EQ(padres(fam).value("0200"), "A015");
    aut.ArmarTreeVAutomatico();
    EXPECT_EQ(padres(aut).value("0200"), "A");

    familias({});
    fam.Load();
    EXPECT_EQ(fam.nodos(), 1);
}

TEST_F(ArbolDemo, DemoFamiliesSearchAndSinglePick) {
    Lib_FrmCons3Tree a;
    a.SQL = "SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS ORDER BY IDFAMILIA";
    a.CampoDevuelto = "IDFAMILIA";
    a.Load();
    const QStringList codigos =
        columna("SELECT IDFAMILIA FROM V_TA_FAMILIAS WHERE IdFamilia<>'' ORDER BY IDFAMILIA");
    ASSERT_EQ(a.nodos(), codigos.size() + 1);
    for (int i = 1; i < a.nodos(); ++i) {
        const QString padre = a.codigo(a.nodo(i).padre);
        EXPECT_TRUE(a.codigo(i).startsWith(padre)) << a.codigo(i).toStdString();
    }

    const QString objetivo = codigos[3];
    a.cambioBusqueda(objetivo);
    EXPECT_EQ(a.codigo(a.seleccionado()), objetivo);
    a.cambioBusqueda("con");
    EXPECT_EQ(a.seleccionado(), 0);
    const QString desc = a.nodo(5).texto.mid(a.nodo(5).texto.indexOf('-') + 2);
    a.cambioBusqueda(desc.left(5).toUpper());
    EXPECT_TRUE(a.nodo(a.seleccionado()).texto.contains(desc.left(5), Qt::CaseInsensitive));

    a.setSeleccionado(4);
    EXPECT_TRUE(a.Aceptar());
    EXPECT_EQ(a.ValorDevuelto.trimmed(), codigos[3]);
    a.setSeleccionado(0);
    a.Aceptar();
    EXPECT_EQ(a.ValorDevuelto, QString());

    // F5 on the family tree rebuilds the same tree.
    a.busquedaServidor("zz");
    EXPECT_EQ(a.nodos(), codigos.size() + 1);
}

TEST_F(ArbolDemo, MarksReachSixLevelsAndMultiPickHandsBackCodes) {
    Lib_FrmCons3Tree a;
    a.CheckBoxes = true;
    a.CampoDevuelto = "IDFAMILIA";
    QVector<QStringList> filas;
    QString c;
    for (int n = 1; n <= 8; ++n) {
        c += QString::number(n);
        filas.append(QStringList{c, "Nivel " + QString::number(n)});
    }
    filas.append(QStringList{"9", "Otra"});
    a.armar(filas, QVector<bool>(filas.size(), true), false);
    ASSERT_EQ(a.nivel(8), 8);
    a.setMarcada(1, true);
    for (int i = 1; i <= 7; ++i)
        EXPECT_TRUE(a.nodo(i).marcada) << i;
    EXPECT_FALSE(a.nodo(8).marcada); // seventh level below
    EXPECT_FALSE(a.nodo(9).marcada);
    a.setMarcada(0, true);
    a.Aceptar();
    EXPECT_EQ(a.Valores.first(), QString());
    EXPECT_EQ(a.Valores.mid(1, 3), QStringList({"1", "12", "123"}));
}

} // namespace

namespace {

TEST_F(ArbolDemo, PositionsAndCostCentresHandBackTheirStoredKeys) {
    Lib_FrmCons3Tree p;
    p.SQL = "SELECT IDPOSICION, DESCRIPCION FROM MA_POSICIONES ORDER BY IDPOSICION";
    p.CampoDevuelto = "idposicion";
    p.Load();
    ASSERT_EQ(p.nodos(), 3); // root, 01, 0101 under 01
    EXPECT_EQ(p.nodo(2).padre, 1);
    p.setSeleccionado(2);
    p.Aceptar();
    EXPECT_EQ(p.ValorDevuelto, "0101");
    p.CheckBoxes = true;
    p.setMarcada(1, true);
    p.Aceptar();
    EXPECT_EQ(p.Valores, QStringList({"01", "0101"}));

    Lib_FrmCons3Tree c;
    c.SQL = "SELECT CODIGO, DESCRIPCION FROM TA_CCOSTO ORDER BY CODIGO";
    c.CampoDevuelto = "CODIGO";
    c.Load();
    c.cambioBusqueda("vent");
    EXPECT_EQ(c.codigo(c.seleccionado()), "200");
    c.Aceptar();
    EXPECT_EQ(c.ValorDevuelto, "200");
    // Another key column hands nothing back.
    c.CampoDevuelto = "DESCRIPCION";
    c.ValorDevuelto = "antes";
    c.Aceptar();
    EXPECT_EQ(c.ValorDevuelto, "antes");
    // F5 narrows other statements to the descriptions containing the text.
    c.busquedaServidor("ministra");
    ASSERT_EQ(c.nodos(), 2);
    EXPECT_EQ(c.codigo(1), "100");
}

} // namespace
