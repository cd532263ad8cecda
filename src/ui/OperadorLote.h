#pragma once

#include "ui/Operador.h"

#include <functional>

namespace rp::ui {

// The operator of unattended runs (--batch): nobody answers, so every box is
// written on the standard error output and answered with its default button;
// input boxes, file dialogs, the date picker and other dialogs are cancelled.
//
// Loop guard: a routine that retries while the answer is "Retry" would never
// end unattended. When the very same box (same title and text) is asked more
// than three times in a row, the fourth and later asks are answered with the
// give-up button of the set (Abort, else No, else Cancel; OK when the box has
// only OK), and the output says so.
class OperadorLote : public Operador {
public:
    // `salida` receives every text written (one call per line, without line
    // end); by default the lines go to the standard error output.
    explicit OperadorLote(std::function<void(const QString&)> salida = {});

    int mensaje(const QString& text, int style = 0, const QString& title = QString()) override;
    std::optional<QString> ingresar(const QString& prompt, const QString& title,
                                    const QString& initial = QString()) override;
    std::optional<QString> abrirArchivo(const QString& title, const QString& filter,
                                        const QString& initialPath = QString()) override;
    std::optional<QString> guardarArchivo(const QString& title, const QString& filter,
                                          const QString& initialPath = QString()) override;
    std::optional<QDate> elegirFecha(const QDate& initial) override;
    bool dialogo(DialogoModal& model) override;

    // How many times in a row the same box may get its default answer.
    static constexpr int kRepeticionesPermitidas = 3;

private:
    void escribir(const QString& linea);

    std::function<void(const QString&)> salida_;
    QString ultimoMensaje_;
    int repeticiones_ = 0;
};

} // namespace rp::ui
