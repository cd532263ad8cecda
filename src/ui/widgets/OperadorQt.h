#pragma once

#include "ui/Operador.h"

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <functional>

class QWidget;

namespace rp::ui {

// The operator of the desktop program: real modal dialogs.
//
// Message boxes honour the style bits: button sets 0-5 with the Spanish
// captions of textoBoton(), icons 16/32/48/64, default button bits 256/512;
// Escape and the close button answer Cancel when the box has one, OK when OK
// is its only button, and are disabled otherwise. An empty title shows the
// application's name.
//
// Other modal dialogs are shown by the window classes: each registers, under
// the dialog's name (DialogoModal::dialogName()), a function that shows its Qt
// dialog over the model and tells whether it was accepted.
class OperadorQt : public Operador {
public:
    using FabricaDialogo = std::function<bool(DialogoModal& modelo, QWidget* padre)>;

    explicit OperadorQt(QWidget* padre = nullptr);

    // The window the dialogs are shown over (none: top-level dialogs).
    void setPadre(QWidget* padre);
    void registrarDialogo(const QString& nombre, FabricaDialogo fabrica);
    bool dialogoRegistrado(const QString& nombre) const;

    int mensaje(const QString& text, int style = 0, const QString& title = QString()) override;
    std::optional<QString> ingresar(const QString& prompt, const QString& title,
                                    const QString& initial = QString()) override;
    std::optional<QString> abrirArchivo(const QString& title, const QString& filter,
                                        const QString& initialPath = QString()) override;
    std::optional<QString> guardarArchivo(const QString& title, const QString& filter,
                                          const QString& initialPath = QString()) override;
    std::optional<QDate> elegirFecha(const QDate& initial) override;
    // An unregistered dialog name is written on the standard error output and
    // counts as cancelled.
    bool dialogo(DialogoModal& model) override;

    // The suite's file filter ("Access |*.MDB|Todos |*.*", patterns of one
    // entry separated by ";") as Qt name filters ("Access (*.MDB *.mdb)", one
    // per entry). Patterns match in any letter case, as on the suite's home
    // platform, so each pattern also appears in lower and upper case.
    static QStringList filtrosQt(const QString& filtroSuite);

private:
    std::optional<QString> elegirArchivo(bool guardar, const QString& title, const QString& filter,
                                         const QString& initialPath);

    QPointer<QWidget> padre_;
    QHash<QString, FabricaDialogo> fabricas_;
};

} // namespace rp::ui
