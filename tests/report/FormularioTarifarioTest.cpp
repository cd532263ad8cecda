#include "report/FormularioTarifario.h"
#include "report/CamposFormulario.h"
#include "suite/Formularios.h"
#include "suite/Regional.h"
#include "ui/OperadorGuion.h"

#include <gtest/gtest.h>

#include <QDate>
#include <stdexcept>

using rp::report::BarraReporte;
using rp::report::CamposFormulario;
using rp::report::ConsultaCampo;
using rp::report::FormularioTarifario;

namespace {

// A form loaded as the program loads it, with the scripted operator and the
// workstation pinned to day/month/year.
class FormularioTest : public ::testing::Test {
protected:
    void SetUp() override {
        rp::ui::setOperador(&guion);
        rp::suite::Regional::establecer(rp::suite::Regional::espaniol());
        QObject::connect(&form, &FormularioTarifario::focoPedido,
                         [this](int i) { focos.append(i); });
    }
    void TearDown() override {
        form.descargar();
        EXPECT_TRUE(guion.sinInesperadas()) << guion.resumenInesperadas().toStdString();
        rp::ui::setOperador(nullptr);
    }

    rp::ui::OperadorGuion guion;
    FormularioTarifario form;
    QList<int> focos;
};

struct FilaCampo {
    int indice;
    const char* clave;
    const char* tag;
    int longitud;
    int pestana;
};

// The filter fields of the report form.
const FilaCampo kCampos[] = {
    {0, "ListaDesde", "V_MA_PRECIOS", 4, 0},
    {1, "ListaHasta", "V_MA_PRECIOS", 4, 0},
    {2, "NombreDesde", "V_MA_PRECIOS_NOMBRE", 50, 0},
    {3, "NombreHasta", "V_MA_PRECIOS_NOMBRE", 50, 0},
    {4, "RubroDesde", "v_ta_rubros", 50, 0},
    {5, "RubroHasta", "v_ta_rubros", 50, 0},
    {6, "ProveedorDesde", "vt_proveedores", 50, 0},
    {7, "ProveedorHasta", "vt_proveedores", 50, 0},
    {8, "FamiliaDesde", "v_ta_familias", 50, 0},
    {9, "FamiliaHasta", "v_ta_familias", 50, 0},
    {10, "ArticuloDesde", "v_ma_articulos", 50, 0},
    {11, "ArticuloHasta", "v_ma_articulos", 50, 0},
    {12, "FechaDesde", "Fecha", 10, 0},
    {13, "FechaHasta", "Fecha", 10, 0},
    {14, "UsuarioDesde", "USUARIO", 50, 0},
    {15, "UsuarioHasta", "USUARIO", 50, 0},
    {16, "Lista", "V_MA_PRECIOS", 4, 1},
    {17, "UsrDesde", "USUARIO", 50, 1},
    {18, "Fecha", "Fecha", 10, 1},
    {19, "UsrDesdeC", "USUARIO", 50, 2},
    {20, "FliaDesde", "v_ta_familias", 50, 1},
    {21, "FliaHasta", "v_ta_familias", 50, 1},
    {22, "ProvHasta", "vt_proveedores", 50, 1},
    {23, "ProvDesde", "vt_proveedores", 50, 1},
    {24, "RubDesde", "v_ta_rubros", 50, 1},
    {25, "RubHasta", "v_ta_rubros", 50, 1},
    {26, "ArtHasta", "v_ma_articulos", 50, 1},
    {27, "ArtDesde", "v_ma_articulos", 50, 1},
    {28, "ArtDesdeC", "v_ma_articulos", 50, 2},
    {29, "ArtHastaC", "v_ma_articulos", 50, 2},
    {30, "RubHastaC", "v_ta_rubros", 50, 2},
    {31, "RubDesdeC", "v_ta_rubros", 50, 2},
    {32, "ProvDesdeC", "vt_proveedores", 50, 2},
    {33, "ProvHastaC", "vt_proveedores", 50, 2},
    {34, "FliaHastaC", "v_ta_familias", 50, 2},
    {35, "FliaDesdeC", "v_ta_familias", 50, 2},
    {37, "ListaC", "V_MA_PRECIOS", 4, 2},
};

} // namespace

TEST_F(FormularioTest, EveryFieldHasItsKeyTagLengthAndTab) {
    QList<int> esperados;
    for (const FilaCampo& f : kCampos) {
        SCOPED_TRACE(f.clave);
        esperados << f.indice;
        EXPECT_EQ(form.clave(f.indice), QLatin1String(f.clave));
        EXPECT_EQ(form.tagConsulta(f.indice), QLatin1String(f.tag));
        EXPECT_EQ(form.longitudMaxima(f.indice), f.longitud);
        ASSERT_NE(CamposFormulario::campo(f.indice), nullptr);
        EXPECT_EQ(CamposFormulario::campo(f.indice)->pestana, f.pestana);
        EXPECT_TRUE(CamposFormulario::camposDePestana(f.pestana).contains(f.indice));
    }
    EXPECT_EQ(form.indicesCampos(), esperados);
    EXPECT_EQ(CamposFormulario::campo(36), nullptr);
    EXPECT_EQ(form.clave(36), QString());
}

TEST_F(FormularioTest, IndiceControlFindsKeysInAnyCase) {
    EXPECT_EQ(form.IndiceControl("ListaDesde"), 0);
    EXPECT_EQ(form.IndiceControl("listadesde"), 0);
    EXPECT_EQ(form.IndiceControl("LISTAC"), 37);
    EXPECT_EQ(form.IndiceControl("provhasta"), 22);
    EXPECT_EQ(form.IndiceControl("Lista"), 16);
    EXPECT_EQ(form.IndiceControl("Lista "), -1);
    EXPECT_EQ(form.IndiceControl(""), -1);
    form.setTexto(23, "PROV1");
    EXPECT_EQ(form.textoDe("PROVDESDE"), "PROV1");
    EXPECT_EQ(form.textoDe("noexiste"), QString());
}

TEST_F(FormularioTest, TextIsCutToTheFieldsMaximumLength) {
    form.setTexto(0, "123456");
    EXPECT_EQ(form.texto(0), "1234");
    form.setTexto(2, QString(60, 'x'));
    EXPECT_EQ(form.texto(2).size(), 50);
    form.setTexto(36, "nada"); // no such field: ignored
    EXPECT_EQ(form.texto(36), QString());
}

TEST_F(FormularioTest, StartingCaptionsChecksAndOptions) {
    EXPECT_EQ(CamposFormulario::tituloFormulario(), "Reporte Historico de Cambio de Precios");
    EXPECT_EQ(CamposFormulario::tituloPestana(0), "Historial de cambios");
    EXPECT_EQ(CamposFormulario::tituloPestana(1), QString::fromUtf8("Último cambio según Fecha"));
    EXPECT_EQ(CamposFormulario::tituloPestana(2), "Ultimo Costo");

    EXPECT_EQ(form.tituloChkFiltro(0), "Costo");
    EXPECT_EQ(form.tituloChkFiltro(1), "Clase 1");
    EXPECT_EQ(form.tituloChkFiltro(8), "Clase 8");
    EXPECT_EQ(form.tituloChkFiltro(9), "Impuestos");
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(form.chkFiltro(i), i == 0) << i;
        EXPECT_EQ(CamposFormulario::tagChkFiltro(i), QString::number(i));
    }

    EXPECT_EQ(form.tituloOptPrecios(0), "Costo");
    EXPECT_EQ(form.tituloOptPrecios(1), "Precio1");
    EXPECT_EQ(form.tituloOptPrecios(8), "Precio8");
    EXPECT_EQ(form.tituloOptPrecios(17), "Costo");
    EXPECT_EQ(form.tituloOptPrecios(16), "Precio1");
    EXPECT_EQ(form.tituloOptPrecios(15), "Precio2");
    EXPECT_EQ(form.tituloOptPrecios(9), "Precio8");
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(form.optPrecios(i), i == 0 || i == 17) << i;
    EXPECT_EQ(form.optPreciosSeleccionado(1), 0);
    EXPECT_EQ(form.optPreciosSeleccionado(2), 17);

    EXPECT_EQ(form.optOrdenSeleccionado(), 0);
    EXPECT_EQ(form.campoOrden(), "{v_ma_articulos.idarticulo}");
    EXPECT_EQ(CamposFormulario::tituloOptOrden(3), QString::fromUtf8("Marca de Artículo"));
    EXPECT_EQ(CamposFormulario::tagOptOrden(4), "{v_ma_articulos.cuentaProveedor}");
    EXPECT_EQ(CamposFormulario::tagOptOrden(8), "{v_mv_precioshis.usuario}");
}

TEST_F(FormularioTest, PriceOptionsAreExclusiveWithinTheirTabOnly) {
    form.setOptPrecios(3);
    EXPECT_TRUE(form.optPrecios(3));
    EXPECT_FALSE(form.optPrecios(0));
    EXPECT_TRUE(form.optPrecios(17));
    form.setOptPrecios(12);
    EXPECT_EQ(form.optPreciosSeleccionado(2), 12);
    EXPECT_EQ(form.optPreciosSeleccionado(1), 3);
    form.setOptOrden(6);
    EXPECT_FALSE(form.optOrden(0));
    EXPECT_EQ(form.campoOrden(), "{v_mv_precioshis.fechahora}");
    form.setOptOrden(9); // out of range: nothing changes
    EXPECT_EQ(form.optOrdenSeleccionado(), 6);
}

TEST_F(FormularioTest, LoadTakesClassCaptionsFromConfiguration) {
    QStringList leidas;
    form.cargar([&](const QString& clave) {
        leidas << clave;
        if (clave == "NOM_PCLASE3")
            return QStringLiteral("Mayorista");
        if (clave == "NOM_PCLASE1")
            return QStringLiteral(" Minorista ");
        return QStringLiteral(" "); // missing key
    });
    EXPECT_EQ(leidas.size(), 8);
    EXPECT_EQ(leidas.first(), "NOM_PCLASE1");
    EXPECT_EQ(form.tituloChkFiltro(3), "Mayorista");
    EXPECT_EQ(form.tituloOptPrecios(3), "Mayorista");
    EXPECT_EQ(form.tituloOptPrecios(14), "Precio3");   // tab 2 keeps its captions
    EXPECT_EQ(form.tituloChkFiltro(1), " Minorista "); // untrimmed
    EXPECT_EQ(form.tituloChkFiltro(2), " ");
    EXPECT_EQ(form.tituloChkFiltro(0), "Costo");
    EXPECT_EQ(form.tituloChkFiltro(9), "Impuestos");
    EXPECT_EQ(form.vistaPrincipal(), "V_MV_PRECIOSHIS");
    EXPECT_EQ(form.pestana(), 0);
    EXPECT_FALSE(form.barra().consultaHabilitada());
    EXPECT_EQ(focos, QList<int>({0}));
    EXPECT_TRUE(rp::suite::Formularios::FormulariosAbiertos().contains("frmRp_TARIFARIO"));
}

TEST_F(FormularioTest, AFailingConfigurationReadStopsTheCaptionsThere) {
    form.cargar([](const QString& clave) -> QString {
        if (clave == "NOM_PCLASE5")
            throw std::runtime_error("lost connection");
        return "C" + clave.right(1);
    });
    EXPECT_EQ(form.tituloChkFiltro(4), "C4");
    EXPECT_EQ(form.tituloChkFiltro(5), "Clase 5");
    EXPECT_EQ(form.tituloOptPrecios(8), "Precio8");
    EXPECT_EQ(form.pestana(), 0); // the load goes on
}

TEST_F(FormularioTest, FocusColoursOnEnterAndWhiteOnBlackOnLeave) {
    form.establecerColoresFoco(16776960, 0x0000FF);
    form.cargar();
    form.entrarCampo(4);
    EXPECT_EQ(form.campoActual(), 4);
    EXPECT_EQ(form.colorFondo(4), 16776960u);
    EXPECT_EQ(form.colorLetra(4), 0x0000FFu);
    EXPECT_TRUE(form.barra().consultaHabilitada());
    EXPECT_EQ(form.colorFondo(5), 0xFFFFFFu);
    form.salirCampo(4);
    EXPECT_EQ(form.colorFondo(4), 0xFFFFFFu);
    EXPECT_EQ(form.colorLetra(4), 0u);
    // Leaving is white on black even when the focus colours are white on black.
    form.establecerColoresFoco(0xFFFFFF, 0);
    form.entrarCampo(5);
    form.salirCampo(5);
    EXPECT_EQ(form.colorFondo(5), 0xFFFFFFu);
    EXPECT_EQ(form.colorLetra(5), 0u);
}

TEST_F(FormularioTest, EnterAndArrowsMoveWithinTheTab) {
    int tecla = 13;
    form.teclaAbajo(0, tecla);
    EXPECT_EQ(tecla, 13); // Enter reaches the toolbar unchanged
    tecla = 40;
    form.teclaAbajo(1, tecla);
    EXPECT_EQ(tecla, 0); // arrows are consumed
    tecla = 38;
    form.teclaAbajo(0, tecla); // up from the first field: the last one of tab 0
    tecla = 13;
    form.teclaAbajo(15, tecla); // Enter on the last field: back to the first
    EXPECT_EQ(focos, QList<int>({1, 2, 15, 0}));

    // Tab 1 shows "Desde" before "Hasta" whatever the indexes.
    focos.clear();
    for (int i : {16, 18, 17, 20, 21, 23}) {
        tecla = 13;
        form.teclaAbajo(i, tecla);
    }
    EXPECT_EQ(focos, QList<int>({18, 17, 20, 21, 23, 22}));

    focos.clear();
    tecla = 13;
    form.teclaAbajo(37, tecla, 2); // Ctrl+Enter: no move
    tecla = 'A';
    form.teclaAbajo(37, tecla);
    EXPECT_TRUE(focos.isEmpty());
    EXPECT_EQ(tecla, 'A');
}

TEST_F(FormularioTest, KeyPressCancelsEnterAndEscOnly) {
    for (int c : {13, 10, 27}) {
        int caracter = c;
        form.teclaPresionada(0, caracter);
        EXPECT_EQ(caracter, 0) << c;
    }
    for (int c : {int('a'), int('9'), int(' '), 0x00F1}) {
        int caracter = c;
        form.teclaPresionada(0, caracter);
        EXPECT_EQ(caracter, c);
    }
}

TEST_F(FormularioTest, TabChangeMovesTheFocusToTheTabsListField) {
    form.setPestana(1);
    form.setPestana(2);
    form.setPestana(0);
    form.setPestana(3); // no such tab
    EXPECT_EQ(focos, QList<int>({16, 37, 0}));
    EXPECT_EQ(form.pestana(), 0);
}

TEST_F(FormularioTest, RightClickOpensTheFieldsLookupAndActsAsEnter) {
    QList<ConsultaCampo> pedidas;
    form.establecerConsultor([&](const ConsultaCampo& c) {
        pedidas << c;
        return QStringLiteral("  12 ");
    });
    form.entrarCampo(0);
    form.botonMouse(8, 2); // FamiliaDesde, right button
    ASSERT_EQ(pedidas.size(), 1);
    EXPECT_EQ(pedidas[0].campoDevuelto, "IDFAMILIA");
    EXPECT_EQ(pedidas[0].sql,
              "SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS ORDER BY IDFAMILIA");
    EXPECT_TRUE(pedidas[0].arbol);
    EXPECT_EQ(form.campoActual(), 8);
    EXPECT_EQ(form.texto(8), "12");
    EXPECT_EQ(form.texto(0), QString());
    EXPECT_EQ(focos, QList<int>({9})); // as after Enter in the field

    form.botonMouse(17, 2);
    EXPECT_EQ(pedidas[1].campoDevuelto, "NOMBRE");
    EXPECT_EQ(pedidas[1].sql, "TA_USUARIOS");
    EXPECT_FALSE(pedidas[1].arbol);
    form.botonMouse(0, 2);
    EXPECT_EQ(pedidas[2].campoDevuelto, "IDLISTA");
    EXPECT_EQ(pedidas[2].sql, "SELECT DISTINCT IDLISTA, NOMBRE FROM V_MA_PRECIOSCAB ");

    form.botonMouse(10, 1); // left button: current field, no lookup
    EXPECT_EQ(form.campoActual(), 10);
    EXPECT_EQ(pedidas.size(), 3);
}

TEST_F(FormularioTest, ACancelledLookupLeavesTheFieldAndAnEmptyPickEmptiesIt) {
    form.establecerConsultor([](const ConsultaCampo&) { return std::optional<QString>(); });
    form.setTexto(4, "0001");
    form.botonMouse(4, 2);
    EXPECT_EQ(form.texto(4), "0001");
    EXPECT_TRUE(focos.isEmpty()); // no Enter after a cancel

    form.establecerConsultor([](const ConsultaCampo&) { return QString(); });
    form.botonMouse(4, 2);
    EXPECT_EQ(form.texto(4), QString());
}

TEST_F(FormularioTest, WithoutALookupOnlyDateFieldsReactToTheRightButton) {
    form.setTexto(6, "PROV");
    form.botonMouse(6, 2);
    EXPECT_EQ(form.texto(6), "PROV");
    EXPECT_TRUE(focos.isEmpty());
    EXPECT_TRUE(guion.interacciones().isEmpty());
}

TEST_F(FormularioTest, DateFieldsOpenTheDatePicker) {
    guion.responderFecha(QDate(2024, 3, 5));
    form.entrarCampo(0); // another field has the focus
    form.botonMouse(13, 2);
    ASSERT_EQ(guion.interacciones().size(), 1);
    EXPECT_EQ(guion.interacciones()[0].tipo, rp::ui::OperadorGuion::Tipo::Fecha);
    EXPECT_EQ(form.texto(13), "05/03/2024");
    EXPECT_EQ(form.texto(0), QString());
    EXPECT_EQ(focos, QList<int>({14}));

    // Cancelling the picker leaves the field as it was.
    guion.responderFecha(std::nullopt);
    form.setTexto(18, "01/01/2023");
    form.botonMouse(18, 2);
    EXPECT_EQ(form.texto(18), "01/01/2023");
}

TEST_F(FormularioTest, ToolbarKeysRunTheVisibleTabsReport) {
    QList<QPair<int, int>> corridas; // tab, destination
    for (int p = 0; p < 3; ++p)
        form.establecerReporte(p, [&corridas, p](FormularioTarifario::Destino d) {
            corridas.append({p, int(d)});
        });
    form.comandoBarra("pantalla");
    form.setPestana(1);
    form.comandoBarra("IMPRESORA");
    EXPECT_EQ(form.destino(), FormularioTarifario::DestinoImpresora);
    form.setPestana(2);
    form.comandoBarra("Impresora");
    form.comandoBarra("PANTALLA");
    form.comandoBarra("OTRA");
    const QList<QPair<int, int>> esperadas = {{0, 0}, {1, 1}, {2, 1}, {2, 0}};
    EXPECT_EQ(corridas, esperadas);
    EXPECT_EQ(form.destino(), FormularioTarifario::DestinoPantalla);
}

TEST_F(FormularioTest, AReportNotYetInstalledIsAnnounced) {
    guion.responderMensaje(rp::ui::vbOK);
    form.setPestana(1);
    form.comandoBarra("PANTALLA");
    const auto mensajes = guion.mensajes();
    ASSERT_EQ(mensajes.size(), 1);
    EXPECT_TRUE(mensajes[0].texto.contains(CamposFormulario::tituloPestana(1)));
    EXPECT_EQ(mensajes[0].titulo, CamposFormulario::tituloFormulario());
    EXPECT_EQ(mensajes[0].estilo, rp::ui::estilo::Information);
}

TEST_F(FormularioTest, ShortcutsReachTheToolbarFromEveryField) {
    QStringList eventos;
    QObject::connect(&form.barra(), &BarraReporte::botonPulsado,
                     [&](const QString& k) { eventos << k; });
    int corridas = 0;
    form.establecerReporte(0, [&](FormularioTarifario::Destino) { ++corridas; });
    form.cargar();
    int tecla = 116; // F5
    form.teclaAbajo(3, tecla);
    tecla = 'P';
    form.teclaAbajo(3, tecla, 2); // Ctrl+P
    tecla = 113;                  // F2 with the lookup button off: nothing
    form.teclaAbajo(3, tecla);
    form.entrarCampo(3);
    tecla = 113;
    form.establecerConsultor([](const ConsultaCampo&) { return QStringLiteral("LISTA A"); });
    form.teclaAbajo(3, tecla);
    EXPECT_EQ(eventos, QStringList({"PANTALLA", "IMPRESORA", "CONSULTAR"}));
    EXPECT_EQ(corridas, 2);
    EXPECT_EQ(form.texto(3), "LISTA A");
}

TEST_F(FormularioTest, TheLookupButtonOnlyPressesWhenEnabled) {
    QStringList eventos;
    QObject::connect(&form.barra(), &BarraReporte::botonPulsado,
                     [&](const QString& k) { eventos << k; });
    form.cargar();
    form.barra().pulsar("CONSULTAR");
    form.entrarCampo(12);
    guion.responderFecha(QDate(2023, 12, 31));
    form.barra().pulsar("consultar");
    EXPECT_EQ(eventos, QStringList({"CONSULTAR"}));
    EXPECT_EQ(form.texto(12), "31/12/2023");
}

TEST_F(FormularioTest, CloseUnloadsOnce) {
    int descargas = 0;
    QObject::connect(&form, &FormularioTarifario::descargado, [&] { ++descargas; });
    form.cargar();
    int tecla = 27; // Esc
    form.teclaAbajo(0, tecla);
    form.comandoBarra("cerrar");
    form.descargar();
    EXPECT_EQ(descargas, 1);
    EXPECT_TRUE(form.estaDescargado());
    EXPECT_FALSE(rp::suite::Formularios::FormulariosAbiertos().contains("frmRp_TARIFARIO"));
}

TEST(ConsultaCampoTest, TagsAreComparedInAnyCase) {
    EXPECT_TRUE(ConsultaCampo::deTag("V_TA_FAMILIAS")->arbol);
    EXPECT_TRUE(ConsultaCampo::deTag("v_ta_Familias")->arbol);
    EXPECT_EQ(ConsultaCampo::deTag("VT_PROVEEDORES")->campoDevuelto, "codigo");
    EXPECT_EQ(ConsultaCampo::deTag("V_TA_RUBROS")->sql, "v_ta_rubros");
    EXPECT_EQ(ConsultaCampo::deTag("V_MA_ARTICULOS")->campoDevuelto, "idarticulo");
    EXPECT_EQ(ConsultaCampo::deTag("v_ma_precios_nombre")->campoDevuelto, "NOMBRE");
    EXPECT_FALSE(ConsultaCampo::deTag("Fecha").has_value());
    EXPECT_FALSE(ConsultaCampo::deTag("OTRA").has_value());
    EXPECT_TRUE(ConsultaCampo::esFecha("fecha"));
    EXPECT_FALSE(ConsultaCampo::esFecha("Fechas"));
}
