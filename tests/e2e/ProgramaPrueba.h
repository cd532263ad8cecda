#pragma once

#include "app/Ensamblaje.h"
#include "app/OpcionesPrograma.h"
#include "report/engine/widgets/VentanaVistaPrevia.h"
#include "report/widgets/VentanaTarifario.h"
#include "ui/OperadorGuion.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class QWidget;

namespace rp::e2e {

// The program started as main starts it (`Ensamblaje`, the assembly main
// uses) with `--demo` on a fresh copy of a demo program folder, the scripted
// operator standing in for the person's answers. Tests drive the real window
// with key events.
class ProgramaPrueba : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString carpeta; // the program folder, ending in "/"
    rp::ui::OperadorGuion guion;
    std::unique_ptr<rp::app::Ensamblaje> programa;

    void SetUp() override;
    void TearDown() override;

    // Starts the program with these command-line arguments (after the demo
    // folder options); expects the main window up.
    void arrancar(const QStringList& argumentos = {});
    rp::report::VentanaTarifario& ventana() const;

    // The filter field of the form with key `clave` ("ListaDesde", ...).
    QWidget* campo(const QString& clave) const;
    // Types `texto` into the field of key `clave`, as a person does: click,
    // select what is there, type.
    void teclear(const QString& clave, const QString& texto);
    // A key on the widget that has the focus (the main window when none).
    void tecla(int key, Qt::KeyboardModifiers mods = Qt::NoModifier);
    // Moves to tab `n` with Ctrl+Tab / Ctrl+Shift+Tab.
    void irAPestana(int n);

    // The open preview windows.
    QList<rp::motor::VentanaVistaPrevia*> previas() const;
    // Waits for one preview window and for its last page; null after 30 s.
    rp::motor::VentanaVistaPrevia* esperarPrevia();
    void cerrarPrevias();

    // One value of a query on the demo business database (own connection).
    QVariant valor(const QString& sql) const;

    // The message boxes shown so far, as "title|text".
    QStringList mensajes() const;

    // Pages of a PDF file (0 when it cannot be read).
    static int paginasPdf(const QString& ruta);
};

} // namespace rp::e2e
