// Saved filters: the file format, the store (save, list, rename, delete) and
// the form state they carry; the exports with --preset and --save-preset run
// on the demo database.
#include "report/FiltrosGuardados.h"

#include "ReporteDemoPrueba.h"
#include "report/ComandosFiltros.h"
#include "report/ExportarReporte.h"
#include "report/FormularioTarifario.h"
#include "ui/OperadorGuion.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using rp::report::FiltrosGuardados;
using rp::report::OpcionesFormulario;

OpcionesFormulario ejemplo() {
    OpcionesFormulario o;
    o.pestana = 1;
    o.campos = {{"Lista", "1"}, {"Fecha", "31/12/2024"}};
    o.columnas = QList<int>{0, 3};
    o.precios = {2, 12};
    o.orden = 4;
    o.variacion = true;
    return o;
}

// Texts that break naive formats: separators, escapes, line breaks, other
// alphabets, a path in the name.
TEST(FiltrosGuardados, TextRoundTripKeepsEveryValue) {
    OpcionesFormulario o = ejemplo();
    o.campos.append(qMakePair(QStringLiteral("NombreDesde"),
                              QStringLiteral("a=b\\n\nlínea\r2 \"ñ\" # no es comentario")));
    o.columnas = QList<int>{}; // every column unchecked is a state of its own
    QString nombre, error;
    const auto leido =
        FiltrosGuardados::desdeTexto(FiltrosGuardados::aTexto("Semana / 2", o), nombre, error);
    ASSERT_TRUE(leido) << error.toStdString();
    EXPECT_EQ(*leido, o);
    EXPECT_EQ(nombre, "Semana / 2");
}

TEST(FiltrosGuardados, MalformedTextsAreRefusedWithTheLine) {
    const struct {
        const char* texto;
        const char* motivo;
    } casos[] = {
        {"pestana=1\n", "falta la línea formato=1"},
        {"formato=2\n", "línea 1: formato 2 desconocido"},
        {"formato=1\npestana=uno\n", "línea 2: pestana no es un número"},
        {"formato=1\ncolumnas=1,x\n", "línea 2: columnas no es un número"},
        {"formato=1\nsin igual\n", "línea 2: se esperaba clave=valor"},
        {"formato=1\ncampo.Lista=a\\q\n", "línea 2: barra invertida sin sentido en el valor"},
        {"formato=1\nvolumen=3\n", "línea 2: clave volumen desconocida"},
        {"formato=1\n\xff\xfe\n", "el archivo no es texto UTF-8"},
    };
    for (const auto& c : casos) {
        QString nombre, error;
        EXPECT_FALSE(FiltrosGuardados::desdeTexto(c.texto, nombre, error)) << c.texto;
        EXPECT_EQ(error.toStdString(), c.motivo);
    }
}

// Save, list, load, rename and delete; a damaged file is listed with its
// reason and the others still load; names that are paths stay in the folder.
TEST(FiltrosGuardados, StoreKeepsEachFilterInItsOwnFile) {
    QTemporaryDir dir;
    FiltrosGuardados f(dir.filePath("filtros"));
    QString error;
    ASSERT_TRUE(f.guardar("Semana", ejemplo(), error)) << error.toStdString();
    ASSERT_TRUE(f.guardar("../fuera/de la carpeta", ejemplo(), error)) << error.toStdString();
    EXPECT_EQ(QDir(dir.filePath("filtros")).entryList(QDir::Files).size(), 2);
    EXPECT_FALSE(QFile::exists(dir.filePath("fuera")));
    {
        QFile danado(dir.filePath("filtros/Roto.filtro"));
        ASSERT_TRUE(danado.open(QIODevice::WriteOnly));
        danado.write("formato=1\npestana=x\n");
    }
    const auto lista = f.listar();
    ASSERT_EQ(lista.size(), 3);
    EXPECT_EQ(lista[0].nombre, "../fuera/de la carpeta");
    EXPECT_EQ(lista[1].nombre, "Roto");
    EXPECT_FALSE(lista[1].opciones);
    EXPECT_EQ(lista[1].error, "línea 2: pestana no es un número");
    ASSERT_TRUE(lista[2].opciones);
    EXPECT_EQ(*lista[2].opciones, ejemplo());

    const auto roto = f.leer("Roto", error);
    EXPECT_FALSE(roto);
    EXPECT_TRUE(error.startsWith("El filtro \"Roto\" está dañado: línea 2")) << error.toStdString();
    EXPECT_FALSE(f.leer("Nunca guardado", error));
    EXPECT_EQ(error, "No hay un filtro guardado con el nombre \"Nunca guardado\".");

    EXPECT_FALSE(f.renombrar("Semana", "Roto", error));
    EXPECT_EQ(error, "Ya hay un filtro con el nombre \"Roto\".");
    ASSERT_TRUE(f.renombrar("Semana", "Semanal", error)) << error.toStdString();
    EXPECT_FALSE(f.existe("Semana"));
    EXPECT_EQ(f.leer("Semanal", error), ejemplo());
    ASSERT_TRUE(f.borrar("Semanal", error));
    EXPECT_FALSE(f.existe("Semanal"));
    EXPECT_FALSE(f.borrar("Semanal", error));

    EXPECT_FALSE(f.guardar("  ", ejemplo(), error));
    EXPECT_EQ(error, "El nombre del filtro está vacío.");
    EXPECT_FALSE(f.guardar(QString(81, 'x'), ejemplo(), error));
    EXPECT_FALSE(f.guardar("con\nsalto", ejemplo(), error));
}

// A filter applied to a fresh form and captured again gives the same state;
// the captured state names only what the form holds.
TEST(FiltrosGuardados, FormStateRoundTrip) {
    rp::report::FormularioTarifario a;
    QString error;
    ASSERT_TRUE(rp::report::AplicarOpcionesFormulario(a, ejemplo(), error)) << error.toStdString();
    const OpcionesFormulario capturado = rp::report::CapturarOpcionesFormulario(a);
    EXPECT_EQ(capturado.pestana, 1);
    EXPECT_EQ(capturado.columnas, (QList<int>{0, 3}));
    EXPECT_TRUE(capturado.precios.contains(2) && capturado.precios.contains(12));
    EXPECT_EQ(capturado.orden, 4);
    EXPECT_EQ(capturado.variacion, true);
    rp::report::FormularioTarifario b;
    ASSERT_TRUE(rp::report::AplicarOpcionesFormulario(b, capturado, error));
    EXPECT_EQ(rp::report::CapturarOpcionesFormulario(b), capturado);

    // A bad option applies nothing.
    OpcionesFormulario malo = ejemplo();
    malo.campos.append(qMakePair(QStringLiteral("NoExiste"), QStringLiteral("1")));
    rp::report::FormularioTarifario c;
    EXPECT_FALSE(rp::report::AplicarOpcionesFormulario(c, malo, error));
    EXPECT_EQ(error, "--field: el formulario no tiene el campo NoExiste");
    EXPECT_EQ(c.textoDe("Lista"), QString());
}

class FiltroDemo : public rp::report::test::ReporteDemoPrueba {};

// --save-preset then --export --preset gives the same bytes as the same
// options given one by one; options given with --preset complete it.
TEST_F(FiltroDemo, SavedFilterExportsLikeTheOptionsItHolds) {
    FiltrosGuardados f(carpeta + "filtros");
    OpcionesFormulario o;
    o.pestana = 0;
    o.campos = {{"ListaDesde", "1"}, {"ListaHasta", "1"}, {"RubroDesde", "B"}};
    o.columnas = QList<int>{0, 2};
    EXPECT_EQ(rp::report::GuardarFiltroDeOpciones("Rubro B", o, f), 0);
    EXPECT_EQ(rp::report::ExportarReporte(carpeta + "directo.csv", o), 0);
    EXPECT_EQ(rp::report::ExportarConFiltro(carpeta + "filtro.csv", "Rubro B", {}, f), 0);
    auto leer = [](const QString& ruta) {
        QFile a(ruta);
        return a.open(QIODevice::ReadOnly) ? a.readAll() : QByteArray();
    };
    EXPECT_FALSE(leer(carpeta + "directo.csv").isEmpty());
    EXPECT_EQ(leer(carpeta + "directo.csv"), leer(carpeta + "filtro.csv"));

    OpcionesFormulario otroRubro;
    otroRubro.campos = {{"rubrodesde", "C"}};
    EXPECT_EQ(rp::report::ExportarConFiltro(carpeta + "c.csv", "Rubro B", otroRubro, f), 0);
    o.campos = {{"ListaDesde", "1"}, {"ListaHasta", "1"}, {"rubrodesde", "C"}};
    EXPECT_EQ(rp::report::ExportarReporte(carpeta + "c-directo.csv", o), 0);
    EXPECT_EQ(leer(carpeta + "c.csv"), leer(carpeta + "c-directo.csv"));

    EXPECT_EQ(rp::report::ExportarConFiltro(carpeta + "x.csv", "No existe", {}, f), 2);
    OpcionesFormulario malo;
    malo.orden = 9;
    EXPECT_EQ(rp::report::GuardarFiltroDeOpciones("Malo", malo, f), 2);
    EXPECT_FALSE(f.existe("Malo"));
}

} // namespace

namespace {

// The window's commands, answered by the scripted operator: a name that is
// taken is replaced only after "Sí"; "No" asks another name; an empty name
// is refused with its reason; the list renames and deletes after asking.
TEST(ComandosFiltros, SaveAsksBeforeReplacingListRenamesAndDeletes) {
    QTemporaryDir dir;
    FiltrosGuardados f(dir.filePath("filtros"));
    rp::ui::OperadorGuion op;
    rp::ui::setOperador(&op);
    rp::report::FormularioTarifario form;
    form.setTexto(form.IndiceControl("ListaDesde"), "7");

    op.responderIngresar(QStringLiteral(" ")); // refused: empty
    op.responderMensaje(rp::ui::vbOK);
    op.responderIngresar(QStringLiteral("Semana"));
    rp::report::GuardarFiltro(form, f);
    QString error;
    ASSERT_TRUE(f.existe("Semana"));

    form.setTexto(form.IndiceControl("ListaDesde"), "8");
    op.responderIngresar(QStringLiteral("Semana"));
    op.responderMensaje(rp::ui::vbNo); // keep it: another name
    op.responderIngresar(QStringLiteral("Otra"));
    rp::report::GuardarFiltro(form, f);
    op.responderIngresar(QStringLiteral("Semana"));
    op.responderMensaje(rp::ui::vbCancel); // nothing saved
    rp::report::GuardarFiltro(form, f);
    EXPECT_EQ(f.leer("Semana", error)->campos.value(0).second, "7");
    EXPECT_EQ(f.leer("Otra", error)->campos.value(0).second, "8");

    rp::report::ListaFiltros lista(f);
    ASSERT_EQ(lista.entradas().size(), 2);
    lista.setSeleccionada(0); // "Otra"
    op.responderIngresar(QStringLiteral("Semana"));
    op.responderMensaje(rp::ui::vbOK); // the name is taken
    lista.renombrar();
    op.responderIngresar(QStringLiteral("Mes"));
    lista.setSeleccionada(0);
    lista.renombrar();
    EXPECT_EQ(lista.textoEntrada(lista.seleccionada()), "Mes");
    op.responderMensaje(rp::ui::vbNo);
    lista.borrar();
    EXPECT_EQ(lista.entradas().size(), 2);
    op.responderMensaje(rp::ui::vbYes);
    lista.borrar();
    ASSERT_EQ(lista.entradas().size(), 1);
    EXPECT_TRUE(lista.cargar());
    EXPECT_EQ(lista.elegido()->campos.value(0).second, "7");
    EXPECT_TRUE(op.sinInesperadas()) << op.resumenInesperadas().toStdString();
    EXPECT_EQ(op.pendientes(), 0);
    rp::ui::setOperador(nullptr);
}

} // namespace
