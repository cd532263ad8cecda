#pragma once

#include "ui/Operador.h"

#include <QList>
#include <QQueue>
#include <functional>

namespace rp::ui {

// The operator of the tests: answers come from queues the test fills before
// the code under test runs, and every interaction shown is recorded.
//
// An interaction whose queue is empty is unexpected: it is recorded (marked
// `inesperada`), reported on the standard error output and answered as the
// batch operator would (default button, cancelled input). Tests check
// `sinInesperadas()` (or `resumenInesperadas()`) at the end.
class OperadorGuion : public Operador {
public:
    enum class Tipo { Mensaje, Ingresar, AbrirArchivo, GuardarArchivo, Fecha, Dialogo };

    struct Interaccion {
        Tipo tipo = Tipo::Mensaje;
        QString titulo;
        QString texto;   // message, prompt, initial path, or the dialog's name
        QString detalle; // initial value of an input, file filter, initial date
        int estilo = 0;  // message-box style
        bool inesperada = false;
    };

    using Manejador = std::function<bool(DialogoModal&)>;

    // Queued answers, consumed in order.
    void responderMensaje(int respuesta);
    void responderIngresar(std::optional<QString> respuesta);
    // For both the open and the save dialogs.
    void responderArchivo(std::optional<QString> ruta);
    void responderFecha(std::optional<QDate> fecha);
    void responderDialogo(Manejador manejador);

    int mensaje(const QString& text, int style = 0, const QString& title = QString()) override;
    std::optional<QString> ingresar(const QString& prompt, const QString& title,
                                    const QString& initial = QString()) override;
    std::optional<QString> abrirArchivo(const QString& title, const QString& filter,
                                        const QString& initialPath = QString()) override;
    std::optional<QString> guardarArchivo(const QString& title, const QString& filter,
                                          const QString& initialPath = QString()) override;
    std::optional<QDate> elegirFecha(const QDate& initial) override;
    bool dialogo(DialogoModal& model) override;

    const QList<Interaccion>& interacciones() const { return interacciones_; }
    // The recorded message boxes only.
    QList<Interaccion> mensajes() const;
    QList<Interaccion> inesperadas() const;
    bool sinInesperadas() const { return inesperadas().isEmpty(); }
    // One line per unexpected interaction (empty when there was none).
    QString resumenInesperadas() const;
    // Answers queued and not used.
    int pendientes() const;
    // Forgets the record and the queued answers.
    void limpiar();

private:
    Interaccion& registrar(Tipo tipo, const QString& titulo, const QString& texto,
                           const QString& detalle, int estilo, bool inesperada);

    QQueue<int> mensajes_;
    QQueue<std::optional<QString>> ingresos_;
    QQueue<std::optional<QString>> archivos_;
    QQueue<std::optional<QDate>> fechas_;
    QQueue<Manejador> dialogos_;
    QList<Interaccion> interacciones_;
};

} // namespace rp::ui
