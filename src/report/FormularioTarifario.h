#pragma once

#include "report/BarraReporte.h"
#include "report/ConsultaCampo.h"
#include "suite/Formularios.h"

#include <QMap>
#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <optional>

namespace rp::report {

// The report form `frmRp_TARIFARIO`: what its filter fields, check boxes and
// options hold, which field is current, which tab is visible, how the fields
// react to focus, keys and the right mouse button, and what the toolbar's
// commands do. The window (VentanaTarifario) only shows this model and hands
// it the operator's events.
//
// Start-up gives it the session's focus colours (establecerColoresFoco) and
// toolbar style (barra().setStyleBar), then calls cargar() with the
// configuration reader, which sets the price-class captions.
//
// The report runs and the lookup plug in through hooks: establecerReporte
// for each tab's report, establecerConsultor for the database lookups. A tab
// without a report tells the operator so; without a lookup, only the date
// fields' date picker works.
class FormularioTarifario : public QObject, public suite::Formularios::Formulario {
    Q_OBJECT
public:
    // Output destination of the report object (`Destino` of the report
    // output): screen or printer.
    enum Destino { DestinoPantalla = 0, DestinoImpresora = 1 };

    // One tab's report run; it reads the filter fields from the form.
    using CorridaReporte = std::function<void(Destino destino)>;
    // A database lookup: shows the list or tree and returns the picked key;
    // nullopt when the operator cancels.
    using Consultor = std::function<std::optional<QString>(const ConsultaCampo& consulta)>;
    // The configuration read `Cfg`: the value of a key (one blank when the
    // key has no row).
    using LectorConfiguracion = std::function<QString(const QString& clave)>;

    explicit FormularioTarifario(QObject* parent = nullptr);

    // ---- start-up ---------------------------------------------------------
    // The session's focus colours gColorFondoFoco and gColorLetraFoco, as
    // Windows colour values (0x00BBGGRR, as the configuration stores them).
    void establecerColoresFoco(quint32 fondo, quint32 letra);
    quint32 colorFondoFoco() const { return fondoFoco_; }
    quint32 colorLetraFoco() const { return letraFoco_; }

    // The form's load, after the start-up routine: prepares the fields,
    // disables the lookup button, names the main view, sends the load
    // notice, takes the price-class captions from `cfg` (when given) and
    // shows tab 0.
    void cargar(const LectorConfiguracion& cfg = {});
    // Captions of the price classes 1-8 from "NOM_PCLASE1".."NOM_PCLASE8",
    // untrimmed, on `ChkFiltro`(i) and `optPrecios`(i); the options of tab 2
    // keep "Precio1".."Precio8". A failing read stops the captions there.
    void aplicarTitulosClase(const LectorConfiguracion& cfg);
    void setTituloClase(int clase, const QString& titulo);

    // The form's unload (closing the window or "CERRAR"): the unload notice,
    // then descargado(). Runs once.
    void descargar();
    bool estaDescargado() const { return descargado_; }

    // ---- hooks --------------------------------------------------------------
    void establecerReporte(int pestana, CorridaReporte corrida);
    void establecerConsultor(Consultor consultor);

    // ---- filter fields ----------------------------------------------------
    QString nombreFormulario() const override;
    QList<int> indicesCampos() const override;
    void colorearCampo(int indice, quint32 fondo, quint32 letra) override;
    void escribirCampo(int indice, const QString& texto) override { setTexto(indice, texto); }

    // Index of the field with that key, any letter case; -1 when none.
    int IndiceControl(const QString& clave) const;
    QString texto(int indice) const;
    // The text of the field with that key (empty when there is none).
    QString textoDe(const QString& clave) const;
    // Replaces a field's text, cut to the field's maximum length.
    void setTexto(int indice, const QString& texto);
    QString clave(int indice) const;
    QString tagConsulta(int indice) const;
    int longitudMaxima(int indice) const;
    quint32 colorFondo(int indice) const;
    quint32 colorLetra(int indice) const;
    QString vistaPrincipal() const { return vistaPrincipal_; }

    // ---- check boxes and options -------------------------------------------
    QString tituloChkFiltro(int indice) const;
    bool chkFiltro(int indice) const;
    void setChkFiltro(int indice, bool marcado);

    QString tituloOptPrecios(int indice) const;
    bool optPrecios(int indice) const;
    // Selects an option; the others of its group (same tab) are cleared.
    void setOptPrecios(int indice);
    // The first selected price option of a tab in index order; -1 when none.
    int optPreciosSeleccionado(int pestana) const;

    // "Mostrar variación" (tab 0): each shown price column gets its change
    // and % change beside it.
    bool mostrarVariacion() const { return variacion_; }
    void setMostrarVariacion(bool marcado);
    bool optOrden(int indice) const;
    void setOptOrden(int indice);
    int optOrdenSeleccionado() const;
    // Tag of the selected sort option: the report field to sort by.
    QString campoOrden() const;

    // ---- focus, keys, mouse -------------------------------------------------
    int campoActual() const { return actual_; }
    int pestana() const { return pestana_; }
    // Tab change: tab 0 puts the focus on "ListaDesde", tab 1 on "Lista",
    // tab 2 on "ListaC".
    void setPestana(int pestana);

    void entrarCampo(int indice);
    void salirCampo(int indice);
    // Key down in field `indice`: the suite's key handling (Enter and the
    // arrows move between the fields of the tab) and then the toolbar's key
    // method with the resulting code.
    void teclaAbajo(int indice, int& codigoTecla, int shift = 0);
    // Key press (character) in a field; `caracter` may come back changed or
    // 0 (cancelled).
    void teclaPresionada(int indice, int& caracter);
    // Mouse button down on a field (1 left, 2 right, 4 middle): the field
    // becomes current; the right button opens its lookup.
    void botonMouse(int indice, int boton);

    // ---- toolbar ----------------------------------------------------------
    BarraReporte& barra() { return barra_; }
    const BarraReporte& barra() const { return barra_; }
    Destino destino() const { return destino_; }
    // The toolbar event: "PANTALLA", "IMPRESORA", "CERRAR", "CONSULTAR" (any
    // case); other keys do nothing.
    void comandoBarra(const QString& clave);
    // The lookup launcher: fills the current field from its lookup (or the
    // date picker), then acts as after Enter in it. A cancelled lookup leaves
    // the field as it was.
    void abrirConsulta();

Q_SIGNALS:
    void textoCambiado(int indice);
    void coloresCambiados(int indice);
    // The window should give the focus to this field.
    void focoPedido(int indice);
    void pestanaCambiada(int pestana);
    void chkFiltroCambiado(int indice);
    void variacionCambiada();
    void optPreciosCambiado(int indice);
    void optOrdenCambiado(int indice);
    void titulosCambiados();
    // The form unloaded: the window closes and the program ends.
    void descargado();

private:
    struct Estado {
        QString texto;
        quint32 fondo = suite::Formularios::ColorFondoNormal;
        quint32 letra = suite::Formularios::ColorLetraNormal;
    };

    void correrReporte(Destino destino);
    void mover(int indice, int paso);

    QMap<int, Estado> campos_;
    std::array<QString, 10> tituloChk_;
    std::array<bool, 10> chk_{};
    bool variacion_ = false;
    std::array<QString, 18> tituloOpt_;
    std::array<bool, 18> opt_{};
    std::array<bool, 9> orden_{};
    int actual_ = -1;
    int pestana_ = 0;
    Destino destino_ = DestinoPantalla;
    QString vistaPrincipal_;
    quint32 fondoFoco_ = 0xFFFFFF;
    quint32 letraFoco_ = 0x000000;
    bool cargado_ = false;
    bool descargado_ = false;
    BarraReporte barra_;
    std::array<CorridaReporte, 3> reportes_;
    Consultor consultor_;
};

} // namespace rp::report
