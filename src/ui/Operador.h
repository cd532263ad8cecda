#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace rp::ui {

// Message-box answer codes.
enum Respuesta {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7
};

// Message-box style bits (buttons + icon + default button).
namespace estilo {
constexpr int OKOnly = 0, OKCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4,
              RetryCancel = 5;
constexpr int Critical = 16, Question = 32, Exclamation = 48, Information = 64;
constexpr int DefaultButton2 = 256, DefaultButton3 = 512;
} // namespace estilo

// The buttons a style shows, in order, as answer codes.
QList<int> botonesDeEstilo(int style);
// The answer of the default button of a style (bits 256 and 512 pick the
// second and third button; a default bit beyond the set picks the first).
int respuestaPorDefecto(int style);
// The usual Spanish caption of a button, by answer code ("Aceptar",
// "Cancelar", "Anular", "Reintentar", "Omitir", "Sí", "No"); "" otherwise.
QString textoBoton(int respuesta);

// A modal dialog with its own model (connection prompt, lookup list, print
// settings...). The real operator shows the widget registered for
// `dialogName()`; the scripted one hands the model to the test's handler.
class DialogoModal {
public:
    virtual ~DialogoModal() = default;
    virtual QString dialogName() const = 0;
};

// Every modal interaction of the program goes through this interface.
// Implementations: OperadorQt (real dialogs), OperadorGuion (scripted, tests),
// OperadorLote (headless: prints on stderr and takes the default answer).
class Operador {
public:
    virtual ~Operador() = default;

    // Windows-style message box; returns an answer code 1..7.
    virtual int mensaje(const QString& text, int style = 0, const QString& title = QString()) = 0;
    // Input box; nullopt when cancelled.
    virtual std::optional<QString> ingresar(const QString& prompt, const QString& title,
                                            const QString& initial = QString()) = 0;
    // File dialogs; nullopt when cancelled. `filter` in the suite's form
    // "Description |*.EXT".
    virtual std::optional<QString> abrirArchivo(const QString& title, const QString& filter,
                                                const QString& initialPath = QString()) = 0;
    virtual std::optional<QString> guardarArchivo(const QString& title, const QString& filter,
                                                  const QString& initialPath = QString()) = 0;
    // Calendar date picker; nullopt when cancelled.
    virtual std::optional<QDate> elegirFecha(const QDate& initial) = 0;
    // Any other modal dialog; true when accepted.
    virtual bool dialogo(DialogoModal& model) = 0;
};

// The process-wide operator (set once by the program's entry point; tests
// install a scripted one). Defaults to the headless operator; setOperador
// does not take ownership, and nullptr goes back to the default.
Operador& operador();
void setOperador(Operador* op);

} // namespace rp::ui
