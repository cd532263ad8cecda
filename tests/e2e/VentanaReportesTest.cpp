// The three reports as a person runs them from the main window: fields typed,
// F5 for the screen, Ctrl+P for the printer, tab changes with Ctrl+Tab.
#include "ProgramaPrueba.h"

#include "report/engine/DialogoImpresion.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

using rp::e2e::ProgramaPrueba;
using rp::motor::DialogoImpresion;

class VentanaReportes : public ProgramaPrueba {
protected:
    // Answers the next print dialog: into `pdf`, pages desde..hasta, copies.
    void imprimirEn(const QString& pdf, int desde = 0, int hasta = 0, int copias = 1) {
        guion.responderDialogo([=](rp::ui::DialogoModal& m) {
            auto& d = dynamic_cast<DialogoImpresion&>(m);
            d.archivoPdf = pdf;
            d.desdePagina = desde;
            d.hastaPagina = hasta;
            d.copias = copias;
            return true;
        });
    }
    // The screen report of the visible tab: its page count (0 = no preview).
    int pantalla() {
        tecla(Qt::Key_F5);
        rp::motor::VentanaVistaPrevia* v = esperarPrevia();
        if (!v)
            return 0;
        const int paginas = v->paginasListas();
        // Esc closes the preview, as a person leaves it.
        QTest::keyClick(v, Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor([this] { return previas().isEmpty(); }, 5000));
        ventana().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&ventana()));
        return paginas;
    }
    // The text of a PDF file (pdftotext).
    static QString textoPdf(const QString& ruta) {
        QProcess p;
        p.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-layout"), ruta, QStringLiteral("-")});
        if (!p.waitForFinished(30000))
            return QString();
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    // Ctrl+P of the visible tab into a PDF; its page count.
    int impresora(const QString& nombre, int desde = 0, int hasta = 0, int copias = 1) {
        const QString pdf = dir.filePath(nombre);
        imprimirEn(pdf, desde, hasta, copias);
        tecla(Qt::Key_P, Qt::ControlModifier);
        return paginasPdf(pdf);
    }
};

TEST_F(VentanaReportes, HistorialDeUnaListaEnPantallaYEnImpresora) {
    arrancar();
    teclear(QStringLiteral("ListaDesde"), QStringLiteral("1"));
    teclear(QStringLiteral("ListaHasta"), QStringLiteral("1"));
    const int paginas = pantalla();
    EXPECT_GT(paginas, 3);
    EXPECT_TRUE(mensajes().isEmpty()) << mensajes().join('\n').toStdString();

    // The printed report has the pages of the preview; a range of two pages
    // in two copies gives four sheets.
    EXPECT_EQ(impresora(QStringLiteral("todo.pdf")), paginas);
    EXPECT_EQ(impresora(QStringLiteral("rango.pdf"), 2, 3, 2), 4);
    EXPECT_TRUE(mensajes().isEmpty()) << mensajes().join('\n').toStdString();
}

TEST_F(VentanaReportes, UltimoCambioSegunFecha) {
    arrancar();
    irAPestana(1);
    teclear(QStringLiteral("Lista"), QStringLiteral("1"));
    teclear(QStringLiteral("Fecha"), QStringLiteral("31/12/2024"));
    const int paginas = pantalla();
    EXPECT_GT(paginas, 1);
    EXPECT_EQ(impresora(QStringLiteral("fecha.pdf")), paginas);
    EXPECT_TRUE(mensajes().isEmpty()) << mensajes().join('\n').toStdString();
}

TEST_F(VentanaReportes, UltimoCostoEscaneaYMuestra) {
    arrancar();
    const qint64 antes =
        valor(QStringLiteral("SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE FHULTIMOCOSTO IS NOT NULL"))
            .toLongLong();
    // The fields of the report by date hold other values: the header of
    // this report names the list it scanned.
    irAPestana(1);
    teclear(QStringLiteral("Lista"), QStringLiteral("2"));
    teclear(QStringLiteral("Fecha"), QStringLiteral("31/12/2024"));
    irAPestana(2);
    teclear(QStringLiteral("ListaC"), QStringLiteral("1"));
    const int paginas = pantalla();
    EXPECT_GT(paginas, 1);
    EXPECT_EQ(impresora(QStringLiteral("costo.pdf"), 1, 1), 1);
    const QString texto = textoPdf(dir.filePath(QStringLiteral("costo.pdf")));
    EXPECT_TRUE(texto.contains(QStringLiteral("Lista=1"))) << texto.left(400).toStdString();
    EXPECT_FALSE(texto.contains(QStringLiteral("Fecha=31/12/2024")));
    const qint64 despues =
        valor(QStringLiteral("SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE FHULTIMOCOSTO IS NOT NULL"))
            .toLongLong();
    EXPECT_GT(despues, antes);
    EXPECT_TRUE(mensajes().isEmpty()) << mensajes().join('\n').toStdString();
}

// A report that cannot run is refused before the scan changes any data.
TEST_F(VentanaReportes, UltimoCostoSinPlantillaNoEscribeFechas) {
    arrancar();
    // (After the start: the demo preparation puts back a missing template.)
    ASSERT_TRUE(QFile::remove(carpeta + QStringLiteral("RP_CambioPreciosHISFEchacosto.rpt")));
    const QString fechas =
        QStringLiteral("SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE FHULTIMOCOSTO IS NOT NULL");
    const qint64 antes = valor(fechas).toLongLong();
    irAPestana(2);
    teclear(QStringLiteral("ListaC"), QStringLiteral("1"));
    guion.responderMensaje(rp::ui::vbAbort);
    tecla(Qt::Key_F5);
    ASSERT_EQ(mensajes().size(), 1);
    EXPECT_TRUE(mensajes().first().contains(QStringLiteral("RP_CambioPreciosHISFEchacosto")))
        << mensajes().first().toStdString();
    EXPECT_TRUE(previas().isEmpty());
    EXPECT_EQ(valor(fechas).toLongLong(), antes);
}

// Each refusal of a tab shows its message, and nothing runs: no preview, no
// cost date written.
TEST_F(VentanaReportes, CadaPestanaRechazaSuEntradaIncorrecta) {
    arrancar();
    struct Caso {
        int pestana;
        QList<QPair<QString, QString>> campos;
        QString mensaje;
    };
    const QList<Caso> casos = {
        {0,
         {{"ListaDesde", "5"}, {"ListaHasta", "1"}},
         "Aviso al Usuario|Desde Mayor que Hasta, Campo : {V_MV_PRECIOSHIS.IdLista}"},
        {0,
         {{"ListaDesde", ""}, {"ListaHasta", ""}, {"FechaDesde", "31/02/2024"}},
         "Aviso al Usuario|Fecha Desde Incorrecta , Campo : {v_mv_precioshis.fechahora}"},
        {0,
         {{"FechaDesde", "10/03/2024"}, {"FechaHasta", "01/03/2024"}},
         "Aviso al Usuario|Fecha Desde Mayor que Hasta , Campo : {v_mv_precioshis.fechahora}"},
        {1,
         {{"Lista", ""}, {"Fecha", "31/12/2024"}},
         "Aviso al Usuario|Debe Informar la Lista de Precios!!!"},
        {1,
         {{"Lista", "1"}, {"Fecha", "31/13/2024"}},
         "Aviso al Usuario|La fecha informada es incorrecta!!!"},
        {2, {{"ListaC", ""}}, "Aviso al Usuario|Debe Informar la Lista de Precios!!!"},
    };
    const QString fechas =
        QStringLiteral("SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE FHULTIMOCOSTO IS NOT NULL");
    const qint64 antes = valor(fechas).toLongLong();
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.mensaje.toStdString());
        guion.limpiar();
        irAPestana(c.pestana);
        for (const auto& [clave, texto] : c.campos)
            teclear(clave, texto);
        guion.responderMensaje(rp::ui::vbOK);
        tecla(Qt::Key_F5);
        QTest::qWait(50);
        EXPECT_EQ(mensajes().join('\n').toStdString(), c.mensaje.toStdString());
        EXPECT_TRUE(previas().isEmpty());
        cerrarPrevias();
    }
    EXPECT_EQ(valor(fechas).toLongLong(), antes);
}

} // namespace
