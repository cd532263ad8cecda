#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <array>

namespace rp::banner {

// State of the progress banner window: its title, three progress lines, the
// cancel button (whose caption doubles as the abort flag) and the twelve-frame
// busy animation driven by a 100 ms timer. One instance lives exactly as long
// as one banner window; a fresh one starts at frame 0 with empty lines.
class Lbf_CtrlDisplay : public QObject {
    Q_OBJECT
public:
    static constexpr int kCuadros = 12;
    static constexpr int kIntervaloTimerMs = 100;
    static constexpr int kLineas = 3;
    static const QString kTituloInicial;   // "Procesando Datos"
    static const QString kCaptionCancelar; // "&Cancelar"
    static const QString kCaptionAbortado; // "Abortado"

    explicit Lbf_CtrlDisplay(QObject* parent = nullptr);

    QString titulo() const { return titulo_; }
    void setTitulo(const QString& titulo);

    // LblCtrol(indice), indices 0..2 top to bottom; other indices are ignored.
    QString LblCtrol(int indice) const;
    void setLblCtrol(int indice, const QString& texto);

    // CmdDisplayCancelar
    QString captionCancelar() const { return captionCancelar_; }
    bool cancelarVisible() const { return cancelarVisible_; }
    void setCancelarVisible(bool visible);
    // True once the cancel button was pressed (its caption reads "Abortado").
    bool abortado() const { return captionCancelar_ == kCaptionAbortado; }

    bool siempreVisible() const { return siempreVisible_; }
    void setSiempreVisible(bool siempre);

    // Frame counter (0..11) and the frame Image1 shows (1..12).
    int contador() const { return contador_; }
    int cuadro() const { return cuadro_; }
    QTimer& Timer1() { return timer1_; }

public Q_SLOTS:
    // One animation step: advance the counter, show that frame, wrap after 12.
    void Timer1_Timer();
    // The operator pressed the cancel button.
    void CmdDisplayCancelar_Click();

Q_SIGNALS:
    void tituloCambiado();
    void lineaCambiada(int indice);
    void botonCambiado();
    void cuadroCambiado(int cuadro);
    void siempreVisibleCambiado(bool siempre);

private:
    QString titulo_;
    std::array<QString, kLineas> lineas_;
    QString captionCancelar_;
    bool cancelarVisible_ = true;
    bool siempreVisible_ = true;
    qint16 contador_ = 0;
    int cuadro_ = 1;
    QTimer timer1_;
};

} // namespace rp::banner
