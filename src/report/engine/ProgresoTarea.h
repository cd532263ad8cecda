#pragma once

#include <QElapsedTimer>
#include <QString>
#include <functional>

namespace rp::motor {

// Progress and cancellation of a long piece of work done in slices (laying
// a report out, writing a file, printing). The work calls avanzar() after
// each slice with what it has done; at most every `intervalo` milliseconds
// that is reported to `informar` (a window shows it and lets its event loop
// turn there, so it stays usable and can ask for a cancellation). Once
// cancelar() was called avanzar() answers false and the work stops; files
// are written through QSaveFile, so a cancelled one leaves nothing behind.
class ProgresoTarea {
public:
    // The text to show, what was done and the total (0 = not known yet).
    using Informe = std::function<void(const QString& texto, qint64 hecho, qint64 total)>;

    explicit ProgresoTarea(Informe informar = {}, int intervalo = 50);

    // What the work does now ("Componiendo páginas", "Exportando PDF") and
    // its unit ("páginas", "filas"); `total` 0 when not known.
    void fijarPaso(const QString& accion, const QString& unidad, qint64 total = 0);
    // After a slice: false once a cancellation was asked for.
    bool avanzar(qint64 hecho);
    // Reports the current step at once (the first slice's text).
    void informarAhora(qint64 hecho = 0);

    void cancelar() { cancelada_ = true; }
    bool cancelada() const { return cancelada_; }

    // "Exportando PDF: 120 de 1.234 páginas (Esc cancela)" in the
    // workstation's number form; without " de N" when the total is unknown.
    QString texto(qint64 hecho) const;
    // A `continuar` callback for the writers (EscritorCsv, SalidaPdf, ...).
    std::function<bool(qint64)> continuar() {
        return [this](qint64 hecho) { return avanzar(hecho); };
    }

private:
    Informe informar_;
    int intervalo_;
    QElapsedTimer reloj_;
    QString accion_;
    QString unidad_;
    qint64 total_ = 0;
    bool cancelada_ = false;
};

} // namespace rp::motor
