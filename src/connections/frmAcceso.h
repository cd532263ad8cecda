#pragma once

#include "connections/EntradaBase.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>

namespace rp::db {
class AccesoPrompt;
}

namespace rp::connections {

// The connection dialog "Control de Acceso" below its window: the four
// connection boxes, the port, the platform choice, the list of registered
// connections from "BASES.TXT" and the flag Aceptar.
//
// One instance serves the whole run: the flag, the port and the values found
// by the last look-up keep their values across showings of the dialog, as the
// window is created for each showing and discarded afterwards. The window
// runs Form_Load when it is created and forwards the operator's actions to the
// event operations (…_Click, …_GotFocus, setTexto for typing); it follows the
// signals to show the boxes and the list.
class frmAcceso : public QObject {
    Q_OBJECT
public:
    enum Caja { TxtServidor = 0, TxtDbName, TxtUserId, TxtUserPassword, TxtPuerto };
    static constexpr int kCajas = 5;

    // Entries of CboPlataformaDB.
    enum Plataforma { SqlServer = 0, Oracle = 1, Sqlite = 2 };
    static QStringList plataformas();
    // Server text that selects the embedded database.
    static const QString kServidorSqlite;

    // Colour value MensajeInicial gives a box that shows its hint; -1 stands
    // for the default text colour.
    static constexpr int kColorHint = 2;
    static constexpr int kColorNormal = -1;

    static QString nombreCaja(Caja caja);
    // The hint a box shows while it is empty (empty for the password and port).
    static QString hint(Caja caja);
    static QString toolTip(Caja caja);

    frmAcceso();

    // Load of the window: fills the list (selecting and assigning its first
    // entry) and puts the hints into the empty boxes.
    void Form_Load();

    bool Aceptar() const { return aceptar_; }
    void setAceptar(bool aceptar) { aceptar_ = aceptar; }

    // Boxes. setTexto stands for the operator typing or a caller writing the
    // box; it runs the box's change event.
    QString texto(Caja caja) const;
    void setTexto(Caja caja, const QString& texto);
    int colorTexto(Caja caja) const;
    // Selection set by the last MensajeInicial on the box: start and length.
    int selInicio(Caja caja) const;
    int selLargo(Caja caja) const;

    // CboPlataformaDB: setting the index is a click on the entry. Choosing the
    // embedded database puts "sqlite" in TxtServidor.
    int CboPlataformaDB() const { return plataforma_; }
    void setCboPlataformaDB(int indice);

    // lstBases: the keys of the registered entries and the selected index (-1: none).
    const QStringList& lstBases() const { return lista_; }
    int lstBasesIndice() const { return indice_; }
    // Click or key on the list: selects the entry and assigns it to the boxes.
    void lstBases_Click(int indice);
    void lstBases_KeyDown();
    // Double click: as a click, then "Aceptar".
    void lstBases_DblClick(int indice);

    void bcAceptar_Click();
    void bcCancelar_Click();
    void TxtUserId_GotFocus();

    // Refills lstBases from the list file of the program folder.
    void llenarlist();
    // Looks the entry with key Nombre up (exact, case-sensitive comparison of
    // the trimmed key) and keeps its values as the found values.
    void DatosBase(const QString& Nombre);
    // Copies the selected entry into the boxes (user and password cleared).
    void AsignarDatosBase();
    // Shows the box's hint, fully selected, when the box is empty.
    void MensajeInicial(Caja caja);

    // "Registrar": checks that the typed connection opens, appends it to the
    // list file, makes a matching ODBC data source and refreshes the list.
    // Works on the shared database object, whose connection it leaves closed.
    // Only a connection that opened is registered; a key already in the list
    // (in any letter case) or a value the list file cannot hold writes
    // nothing.
    void CmdRegistrar_Click();
    // True while "Registrar" runs. The database object's retry prompt is
    // then not shown over the dialog (the operator corrects the boxes of the
    // dialog already open and registers again).
    bool registrando() const { return registrando_; }
    // "Crear Acceso Directo": the program's launcher on the user's desktop,
    // starting it with the current program folder.
    void CmdLineaComando_Click();
    // True when a connection with these values opens on the shared database
    // object's connection. Whatever it opened it closes again, and a
    // connection left open before the test is closed first.
    static bool ExisteBaseDeDatos(const QString& Servidor, const QString& Dbname,
                                  const QString& Usuario, const QString& Password,
                                  const QString& Proveedor);
    // Runs the command line Archivo and waits for it to end, keeping the
    // window responsive. False with ErrDevuelto "Error al ejecutar el
    // comando" when it cannot be started.
    static bool EjecutarCmdRegDB(const QString& Archivo, QString& ErrDevuelto);
    // The program folder's own data-source program ("ODBC", executable); an
    // empty text when there is none.
    static QString programaOrigenDatos();

    // Values found by the last DatosBase that matched.
    QString servidorEncontrado() const { return servidorEncontrado_; }
    QString baseEncontrada() const { return baseEncontrada_; }
    QString usuarioEncontrado() const { return usuarioEncontrado_; }
    QString passwordEncontrado() const { return passwordEncontrado_; }
    void setServidorEncontrado(const QString& servidor) { servidorEncontrado_ = servidor; }
    const EntradaBase& ultimaEntradaLeida() const { return ultimaEntrada_; }
    // Port of the last selected entry that had one (null until then).
    QVariant puerto() const { return puerto_; }
    void setPuerto(const QVariant& puerto) { puerto_ = puerto; }

    // The connection prompt of the database object: after the load its values
    // replace the boxes and its platform is selected; after the dialog is
    // hidden the flag, the four boxes and the platform go back. The embedded
    // database goes back as the SQL Server layout with the server "sqlite",
    // which selects the embedded provider.
    void recibirPrompt(const rp::db::AccesoPrompt& prompt);
    void entregarPrompt(rp::db::AccesoPrompt& prompt) const;

Q_SIGNALS:
    // Text or colour of a box changed.
    void cajaCambiada(rp::connections::frmAcceso::Caja caja);
    // MensajeInicial put the box's hint in place: select it (selInicio, selLargo).
    void mensajeInicialMostrado(rp::connections::frmAcceso::Caja caja);
    void listaCambiada();
    void seleccionListaCambiada(int indice);
    void plataformaCambiada(int indice);
    // Aceptar or Cancelar was pressed: the window hides.
    void ocultar();

private:
    struct EstadoCaja {
        QString texto;
        int color = kColorNormal;
        int selInicio = 0;
        int selLargo = 0;
    };
    EstadoCaja& caja(Caja c) { return cajas_[static_cast<size_t>(c)]; }
    const EstadoCaja& caja(Caja c) const { return cajas_[static_cast<size_t>(c)]; }
    // Writes a box and runs its change event.
    void escribir(Caja c, const QString& texto);
    void seleccionar(int indice);

    bool aceptar_ = false;
    bool registrando_ = false;
    std::array<EstadoCaja, kCajas> cajas_;
    int plataforma_ = SqlServer;
    QStringList lista_;
    int indice_ = -1;
    QString rutaLista_;
    EntradaBase ultimaEntrada_;
    QString servidorEncontrado_;
    QString baseEncontrada_;
    QString usuarioEncontrado_;
    QString passwordEncontrado_;
    QVariant puerto_;
};

} // namespace rp::connections
