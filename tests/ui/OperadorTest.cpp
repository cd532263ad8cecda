#include "ui/Operador.h"
#include "ui/OperadorGuion.h"
#include "ui/OperadorLote.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace rp::ui;

namespace {

struct Modelo : DialogoModal {
    QString dialogName() const override { return "frmAcceso"; }
    QString elegido;
};

} // namespace

TEST(EstiloMensaje, ButtonSetsAndDefaultButtons) {
    EXPECT_EQ(botonesDeEstilo(0), (QList<int>{vbOK}));
    EXPECT_EQ(botonesDeEstilo(1), (QList<int>{vbOK, vbCancel}));
    EXPECT_EQ(botonesDeEstilo(18), (QList<int>{vbAbort, vbRetry, vbIgnore}));
    EXPECT_EQ(botonesDeEstilo(3 | 32), (QList<int>{vbYes, vbNo, vbCancel}));
    EXPECT_EQ(botonesDeEstilo(20), (QList<int>{vbYes, vbNo}));
    EXPECT_EQ(botonesDeEstilo(5), (QList<int>{vbRetry, vbCancel}));
    EXPECT_EQ(botonesDeEstilo(64), (QList<int>{vbOK}));
    EXPECT_EQ(botonesDeEstilo(9), (QList<int>{vbOK}));

    EXPECT_EQ(respuestaPorDefecto(18), vbAbort);
    EXPECT_EQ(respuestaPorDefecto(18 | 256), vbRetry);
    EXPECT_EQ(respuestaPorDefecto(18 | 512), vbIgnore);
    EXPECT_EQ(respuestaPorDefecto(4 | 256), vbNo);
    EXPECT_EQ(respuestaPorDefecto(4 | 512), vbYes); // no third button: the first
    EXPECT_EQ(respuestaPorDefecto(64 | 256), vbOK);
    EXPECT_EQ(textoBoton(vbAbort), "Anular");
    EXPECT_EQ(textoBoton(vbYes), QString::fromUtf8("Sí"));
    EXPECT_EQ(textoBoton(0), "");
}

TEST(OperadorGlobal, DefaultsToTheBatchOperatorAndCanBeReplaced) {
    EXPECT_NE(dynamic_cast<OperadorLote*>(&operador()), nullptr);
    OperadorGuion guion;
    setOperador(&guion);
    EXPECT_EQ(&operador(), &guion);
    setOperador(nullptr);
    EXPECT_NE(dynamic_cast<OperadorLote*>(&operador()), nullptr);
}

TEST(OperadorGuion, AnswersFromItsQueuesAndRecordsWhatWasShown) {
    OperadorGuion g;
    g.responderMensaje(vbIgnore);
    g.responderIngresar(QString("12"));
    g.responderArchivo(QString("/tmp/x.mdb"));
    g.responderArchivo(std::nullopt);
    g.responderFecha(QDate(2024, 1, 2));
    g.responderDialogo([](DialogoModal& m) {
        static_cast<Modelo&>(m).elegido = "SRV01";
        return true;
    });
    EXPECT_EQ(g.pendientes(), 6);

    EXPECT_EQ(g.mensaje("texto", 18, "titulo"), vbIgnore);
    EXPECT_EQ(g.ingresar("Cantidad", "T", "1"), QString("12"));
    EXPECT_EQ(g.abrirArchivo("Abrir", "Access |*.MDB"), QString("/tmp/x.mdb"));
    EXPECT_EQ(g.guardarArchivo("Guardar", "Texto |*.TXT"), std::nullopt);
    EXPECT_EQ(g.elegirFecha(QDate(2020, 1, 1)), QDate(2024, 1, 2));
    Modelo m;
    EXPECT_TRUE(g.dialogo(m));
    EXPECT_EQ(m.elegido, "SRV01");

    EXPECT_EQ(g.pendientes(), 0);
    EXPECT_TRUE(g.sinInesperadas());
    const auto& r = g.interacciones();
    ASSERT_EQ(r.size(), 6);
    EXPECT_EQ(r[0].tipo, OperadorGuion::Tipo::Mensaje);
    EXPECT_EQ(r[0].titulo, "titulo");
    EXPECT_EQ(r[0].texto, "texto");
    EXPECT_EQ(r[0].estilo, 18);
    EXPECT_EQ(r[1].detalle, "1");
    EXPECT_EQ(r[2].detalle, "Access |*.MDB");
    EXPECT_EQ(r[3].tipo, OperadorGuion::Tipo::GuardarArchivo);
    EXPECT_EQ(r[5].texto, "frmAcceso");
}

TEST(OperadorGuion, UnexpectedInteractionsAreRecordedAndGetDefaultAnswers) {
    OperadorGuion g;
    EXPECT_EQ(g.mensaje("a", 4 | 256, "t"), vbNo);
    EXPECT_EQ(g.ingresar("p", "t"), std::nullopt);
    Modelo m;
    EXPECT_FALSE(g.dialogo(m));
    EXPECT_FALSE(g.sinInesperadas());
    EXPECT_EQ(g.inesperadas().size(), 3);
    EXPECT_TRUE(g.resumenInesperadas().contains("mensaje [t] a"));
    g.limpiar();
    EXPECT_TRUE(g.sinInesperadas());
    EXPECT_TRUE(g.interacciones().isEmpty());
}

TEST(OperadorLote, PrintsTheBoxAndAnswersTheDefaultButton) {
    QStringList salida;
    OperadorLote lote([&](const QString& l) { salida << l; });
    EXPECT_EQ(lote.mensaje("Ha ocurrido el Siguiente Error (5) x", 18, "DB Aviso "), vbAbort);
    EXPECT_EQ(salida,
              (QStringList{"[DB Aviso] Ha ocurrido el Siguiente Error (5) x", "  -> Anular"}));
    EXPECT_EQ(lote.mensaje("b", 4 | 256, "t"), vbNo);
    EXPECT_EQ(lote.mensaje("c", 64, "t"), vbOK);
    EXPECT_EQ(lote.ingresar("p", "t"), std::nullopt);
    EXPECT_EQ(lote.abrirArchivo("t", "f |*.X"), std::nullopt);
    EXPECT_EQ(lote.guardarArchivo("t", "f |*.X"), std::nullopt);
    EXPECT_EQ(lote.elegirFecha(QDate(2024, 1, 1)), std::nullopt);
    Modelo m;
    EXPECT_FALSE(lote.dialogo(m));
    EXPECT_TRUE(salida.join('\n').contains("[frmAcceso]"));
}

TEST(OperadorLote, GivesUpWhenTheSameBoxRepeats) {
    QStringList salida;
    OperadorLote lote([&](const QString& l) { salida << l; });
    const int reintentar = 2 | 256; // Abort/Retry/Ignore, Retry by default
    for (int i = 0; i < OperadorLote::kRepeticionesPermitidas; ++i)
        EXPECT_EQ(lote.mensaje("sin conexión", reintentar, "t"), vbRetry) << i;
    EXPECT_EQ(lote.mensaje("sin conexión", reintentar, "t"), vbAbort);
    EXPECT_TRUE(salida.last().contains("4 veces seguidas"));
    EXPECT_EQ(lote.mensaje("sin conexión", 4, "t"), vbNo);     // Yes/No: No
    EXPECT_EQ(lote.mensaje("sin conexión", 5, "t"), vbCancel); // Retry/Cancel: Cancel

    // Another box in between starts the count again.
    EXPECT_EQ(lote.mensaje("otro", 0, "t"), vbOK);
    EXPECT_EQ(lote.mensaje("sin conexión", reintentar, "t"), vbRetry);
}

TEST(OperadorLote, WritesOnStandardErrorByDefault) {
    OperadorLote lote;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(lote.mensaje("hola", 1, "Titulo"), vbOK);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "[Titulo] hola\n  -> Aceptar\n");
}
