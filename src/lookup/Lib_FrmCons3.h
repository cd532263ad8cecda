#pragma once

#include "db/DB_Dll.h"
#include "lookup/MiembrosConsulta.h"
#include "lookup/ModeloListaConsulta.h"
#include "ui/Operador.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

namespace rp::lookup {

// The list lookup dialog "Consulta..." without its window: the statement,
// its rows (ModeloListaConsulta), the search boxes' behaviour, the keys of
// the list, the buttons and the results. The lookup request fills the
// public members, loads it and hands it to the operator interface under the
// name "Lib_FrmCons3"; the window (VentanaConsulta) only shows it.
class Lib_FrmCons3 : public QObject, public ui::DialogoModal, public MiembrosConsulta {
    Q_OBJECT
public:
    using LectorConfiguracion = std::function<QString(const QString& clave)>;
    // Starts a suite program (`MenuExes`): command, additional parameter.
    using Lanzador = std::function<void(const QString& comando, const QString& parametro)>;

    explicit Lib_FrmCons3(QObject* parent = nullptr);
    QString dialogName() const override { return QStringLiteral("Lib_FrmCons3"); }

    // ---- public members (besides those of MiembrosConsulta) -------------------
    QVariant StkNivel1, StkNivel2, StkNivel3, StkNivel4;
    QString MuestraStock;
    QString FiltroInicial;
    QString CampoBusqueda;
    bool OrdenarPorLwv = false;
    QStringList Cantidades;
    bool UsaCantidades = false;
    QString ValoresDefault;
    bool CfgUsaConsultaLIKE = false;
    bool GrabarCfg = false;
    // Queries go through the second database object `UDBC` instead of the
    // shared one (the request never sets it; each lookup has its own dialog,
    // so it never outlives one).
    bool UsarUDBC = false;
    rp::db::DB_Dll* UDBC = nullptr;
    QString Titulo = QStringLiteral("Consulta...");
    // The option pickers hide "Nueva Busqueda".
    bool ConNuevaBusqueda = true;

    // Configuration (price-class names) and the program launcher.
    LectorConfiguracion cfg;
    Lanzador lanzador;
    // The width file "CONSULTASLEN.KST" (empty: none).
    QString rutaAnchos;

    // ---- state ------------------------------------------------------------------
    ModeloListaConsulta& modelo() { return modelo_; }
    const ModeloListaConsulta& modelo() const { return modelo_; }
    bool EsArticulos() const { return esArticulos_; }
    QString SQLActual() const { return sqlActual_; }
    QString SQLOriginal() const { return sqlOriginal_; }
    QString TablaConsulta() const { return tablaConsulta_; }
    // Display position of the selected row; -1 when none.
    int seleccionada() const { return seleccionada_; }
    void setSeleccionada(int pos);
    // Text of each search box (one per column).
    QString textoBusqueda(int k) const { return busquedas_.value(k); }
    int BusquedaActiva = 0;
    // Widths from the width file for this table, in twips (may be shorter
    // than the columns).
    QList<int> anchosGuardados() const { return anchos_; }

    // ---- load ---------------------------------------------------------------------
    // Runs the statement and fills the rows (the dialog's load).
    void Load();
    // Option lists: one column headed `titulo`, the given rows.
    void cargarOpciones(const QString& titulo, const QStringList& opciones,
                        const QList<bool>& marcas = {});

    // ---- operator's actions ----------------------------------------------------------
    // A search box's text changed: type-ahead over column k.
    void cambioBusqueda(int k, const QString& texto);
    // F5 in search box k: narrows the statement on the server and loads again.
    void busquedaServidor(int k);
    // Keys in the list (key codes of ControlesForm::CodigoTecla; `texto` is
    // what the key types, for keys without a code). Returns the new text of
    // the active search box, which then takes the focus (nullopt: the key
    // does not type); `aceptar` is set when the key accepts.
    std::optional<QString> teclaLista(int codigo, int shift, bool& aceptar,
                                      const QString& texto = QString());
    // "Aceptar": true when the dialog closes.
    bool Aceptar();
    void Cancelar();
    void NuevaBusqueda();
    void Marcar();
    void Nuevo();
    // F12 on an article list: the shortage question and notice.
    void informarFaltante();
    // Saves the widths (twips) of this table's columns.
    bool GrabarAnchos(const QList<int>& twips) const;

    // The statement F5 builds from `sql` for column `columna` and the box's
    // text; `clausulaOrden` receives the kept ordering tail.
    static QString sentenciaBusqueda(const QString& sql, const QString& columna,
                                     const QString& texto, bool usaLike,
                                     QString* clausulaOrden = nullptr);
    // The program key and additional parameter "Nuevo" starts for a table.
    static std::pair<QString, QString> programaMantenimiento(const QString& tabla);

Q_SIGNALS:
    // The rows were loaded again (columns may have changed).
    void recargado();
    void seleccionCambiada(int pos);
    // A search box's text was set by the dialog (initial filter, cleared
    // after F5, typed in the list).
    void busquedaCambiada(int k, const QString& texto);

private:
    void leerFilas();
    QString valorDe(int pos, const QString& campo, const QString& anterior) const;

    ModeloListaConsulta modelo_;
    bool esArticulos_ = false;
    QString sqlActual_;
    QString sqlOriginal_;
    QString tablaConsulta_;
    QString clausulaOrden_;
    int seleccionada_ = -1;
    QStringList busquedas_;
    QList<int> anchos_;
};

} // namespace rp::lookup
