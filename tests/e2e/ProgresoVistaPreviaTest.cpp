// Long work from the preview of the whole change history, as a person does
// it: the export starts while the pages are still being laid out, its
// progress shows in the toolbar, Esc cancels it, no file is left and the
// window goes on answering.
#include "ProgramaPrueba.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTimer>

namespace {

class ProgresoVistaPrevia : public rp::e2e::ProgramaPrueba {};

// Triggers the toolbar action `accion` and presses Esc once the work shows
// its progress; returns the page label's text at that moment.
QString exportarYCancelar(rp::motor::VentanaVistaPrevia* v, const char* accion) {
    auto* etiqueta = v->findChild<QLabel*>(QStringLiteral("etiquetaPagina"));
    QString durante;
    QTimer::singleShot(0, v, [&] {
        durante = etiqueta->text();
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : v,
                        Qt::Key_Escape);
    });
    v->findChild<QAction*>(QString::fromLatin1(accion))->trigger();
    return durante;
}

} // namespace

TEST_F(ProgresoVistaPrevia, PdfYCsvDelHistorialCompletoSeCancelanConEsc) {
    arrancar();
    tecla(Qt::Key_F5); // the whole history: every list, every article
    ASSERT_TRUE(QTest::qWaitFor([this] { return !previas().isEmpty(); }, 30000));
    rp::motor::VentanaVistaPrevia* v = previas().first();
    ASSERT_TRUE(QTest::qWaitForWindowActive(v));
    ASSERT_TRUE(QTest::qWaitFor([v] { return v->paginasListas() > 1; }, 30000));
    ASSERT_FALSE(v->terminado());
    auto* progreso = v->findChild<QAction*>(QStringLiteral("cancelarTarea"));
    ASSERT_NE(progreso, nullptr);
    EXPECT_TRUE(progreso->isVisible()); // the layout goes on, and can be stopped

    const QString pdf = carpeta + QStringLiteral("historial.pdf");
    guion.responderArchivo(pdf);
    const QString durantePdf = exportarYCancelar(v, "exportarPdf");
    EXPECT_TRUE(durantePdf.startsWith(QStringLiteral("Componiendo: "))) << durantePdf.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
    ASSERT_FALSE(previas().isEmpty());
    EXPECT_FALSE(v->exportando());

    const QString csv = carpeta + QStringLiteral("historial.csv");
    guion.responderArchivo(csv);
    const QString duranteCsv = exportarYCancelar(v, "exportarCsv");
    EXPECT_TRUE(duranteCsv.startsWith(QStringLiteral("Exportando: "))) << duranteCsv.toStdString();
    EXPECT_FALSE(QFile::exists(csv));

    // The window answers: the next page, the layout going on.
    const int antes = v->paginasListas();
    v->findChild<QAction*>(QStringLiteral("siguiente"))->trigger();
    EXPECT_EQ(2, v->paginaActual());
    EXPECT_TRUE(QTest::qWaitFor([&] { return v->paginasListas() > antes; }, 10000));
    EXPECT_TRUE(mensajes().isEmpty()) << mensajes().join('\n').toStdString();
    // Esc with nothing running closes the window.
    QTest::keyClick(v, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([this] { return previas().isEmpty(); }, 5000));
}
