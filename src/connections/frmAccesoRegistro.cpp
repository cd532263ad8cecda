// The workstation operations of the connection dialog: registering the typed
// connection ("Registrar") and the desktop launcher ("Crear Acceso Directo").
#include "connections/AccesoDirecto.h"
#include "connections/ArchivoBases.h"
#include "connections/GrabarBase.h"
#include "connections/OrigenDatosOdbc.h"
#include "connections/frmAcceso.h"
#include "db/DB_Dll.h"
#include "db/provider/ConnectionString.h"
#include "suite/Aplicacion.h"
#include "suite/Texto1252.h"
#include "suite/Utilidades.h"
#include "ui/Operador.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>

namespace rp::connections {

using rp::suite::Utilidades;
using rp::ui::operador;
namespace estilo = rp::ui::estilo;

namespace {

const QString kAviso = QStringLiteral("AVISO AL OPERADOR");

// Field 1 of the list: database and server (cut before its first ":"),
// trimmed and upper-cased.
QString claveRegistro(const QString& baseDatos, const QString& servidor) {
    const QString s = servidor.trimmed().toUpper();
    const qsizetype dosPuntos = s.indexOf(QLatin1Char(':'));
    return baseDatos.trimmed().toUpper() + QStringLiteral(" / ") +
           (dosPuntos < 0 ? s : s.left(dosPuntos));
}

// True when an entry of the list has this key in any letter case.
bool claveEnLista(const QString& clave) {
    const ArchivoBases::Lectura lectura =
        ArchivoBases::leer(ArchivoBases::ruta(rp::suite::Aplicacion::carpetaPrograma()));
    for (const EntradaBase& e : lectura.entradas)
        if (e.clave.trimmed().compare(clave.trimmed(), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// A value the list file holds unchanged: one field, and every character in
// the file's code page.
bool valorRegistrable(const QString& valor) {
    if (!CampoBaseValido(valor))
        return false;
    for (const QChar c : valor)
        if (!rp::suite::Texto1252::representable(c))
            return false;
    return true;
}

void cerrarSiAbierta(rp::db::Connection& cnn) {
    if (!cnn.isOpen())
        return;
    try {
        cnn.close();
    } catch (const rp::db::DbError&) {
    }
}

void avisoFalloRegistro(qint32 numero, const QString& descripcion) {
    operador().mensaje(QStringLiteral("SQL Server start failed.  ") + QLatin1Char('\r') +
                           QStringLiteral("SQL-DMO error:  ") + QString::number(numero) +
                           QLatin1Char(' ') + descripcion,
                       estilo::OKOnly);
}

// The data source that matches a registered connection: the program
// folder's own program when there is one, otherwise a user data source of
// unixODBC. The embedded database needs none.
void crearOrigenDatos(const QString& servidor, const QString& baseDatos) {
    const QString programa = frmAcceso::programaOrigenDatos();
    if (!programa.isEmpty()) {
        const QString argumento = QStringLiteral("Server=") + servidor + QStringLiteral(";DB=") +
                                  baseDatos + QStringLiteral(";");
        if (!QProcess::startDetached(programa, {argumento},
                                     rp::suite::Aplicacion::carpetaPrograma()))
            operador().mensaje(QStringLiteral("No se pudo iniciar ") + programa,
                               estilo::Exclamation, kAviso);
        return;
    }
    const auto definicion =
        OrigenDatosOdbc::definir(servidor, baseDatos, rp::db::providerSettings());
    if (!definicion)
        return;
    QString error;
    if (!OrigenDatosOdbc::registrar(baseDatos, *definicion, error))
        operador().mensaje(QStringLiteral("La conexion quedo registrada, pero no se pudo crear "
                                          "el origen de datos ODBC \"") +
                               baseDatos + QStringLiteral("\": ") + error,
                           estilo::Exclamation, kAviso);
}

} // namespace

QString frmAcceso::programaOrigenDatos() {
    const QFileInfo fi(Utilidades::RutaConBarra(rp::suite::Aplicacion::carpetaPrograma()) +
                       QStringLiteral("ODBC"));
    return fi.isFile() && fi.isExecutable() ? fi.absoluteFilePath() : QString();
}

bool frmAcceso::ExisteBaseDeDatos(const QString& Servidor, const QString& Dbname,
                                  const QString& Usuario, const QString& Password,
                                  const QString& Proveedor) {
    rp::db::Connection& cnn = rp::db::baseCompartida().conexion();
    // Whatever the flag of the object says, the test starts on a closed
    // connection and leaves it closed.
    cerrarSiAbierta(cnn);
    const QString texto = QStringLiteral("PROVIDER=") + Proveedor + QStringLiteral(";") +
                          QStringLiteral("Server=") + Servidor + QStringLiteral(";") +
                          QStringLiteral("Database =") + Dbname + QStringLiteral(";") +
                          QStringLiteral("UId=") + Usuario + QStringLiteral(";") +
                          QStringLiteral("Pwd=") + Password + QStringLiteral(";");
    bool abierta = false;
    try {
        cnn.open(texto, QString(), QString());
        abierta = cnn.isOpen();
    } catch (const rp::db::DbError&) {
    }
    cerrarSiAbierta(cnn);
    // A failed test leaves no diagnostics for the next open to report.
    cnn.clearErrors();
    return abierta;
}

bool frmAcceso::EjecutarCmdRegDB(const QString& Archivo, QString& ErrDevuelto) {
    QStringList partes = QProcess::splitCommand(Archivo);
    QProcess proceso;
    if (!partes.isEmpty()) {
        const QString programa = partes.takeFirst();
        proceso.start(programa, partes);
    }
    if (proceso.state() == QProcess::NotRunning || !proceso.waitForStarted(-1)) {
        ErrDevuelto = QStringLiteral("Error al ejecutar el comando");
        return false;
    }
    if (QCoreApplication::instance() != nullptr) {
        // The window keeps serving its events while the command runs.
        QEventLoop espera;
        QObject::connect(&proceso, &QProcess::finished, &espera, &QEventLoop::quit);
        if (proceso.state() != QProcess::NotRunning)
            espera.exec();
    } else {
        proceso.waitForFinished(-1);
    }
    return true;
}

void frmAcceso::CmdRegistrar_Click() {
    if (registrando_)
        return;
    registrando_ = true;
    const auto fin = qScopeGuard([this] { registrando_ = false; });
    rp::db::DB_Dll& db = rp::db::baseCompartida();

    const QString clave = claveRegistro(texto(TxtDbName), texto(TxtServidor));
    servidorEncontrado_.clear();
    DatosBase(clave);
    if (!servidorEncontrado_.trimmed().isEmpty() || claveEnLista(clave)) {
        operador().mensaje(QStringLiteral("La conexion que intenta registrar ya existe "),
                           estilo::Information, QStringLiteral("Atencion"));
        return;
    }

    const double numero = Utilidades::TextoANumero(texto(TxtPuerto));
    puerto_ = numero == 0 ? QVariant(qlonglong(1433))
              : numero == static_cast<double>(static_cast<qlonglong>(numero))
                  ? QVariant(static_cast<qlonglong>(numero))
                  : QVariant(numero);

    for (const Caja c : {TxtServidor, TxtUserId, TxtUserPassword, TxtDbName})
        escribir(c, texto(c).trimmed());
    const QString servidor = texto(TxtServidor).trimmed();
    const QString base = texto(TxtDbName);

    // What the list cannot hold is refused before anything is tried.
    for (const QString& valor : {clave, base, servidor}) {
        if (!valorRegistrable(valor)) {
            operador().mensaje(
                QStringLiteral("No se puede registrar la conexion: \"") + valor +
                    QStringLiteral("\" contiene comas, comillas, saltos de linea u otros "
                                   "caracteres que la lista de conexiones no admite"),
                estilo::Information, kAviso);
            return;
        }
    }

    const QString baseMayus = base.toUpper();
    if (!ExisteBaseDeDatos(servidor, baseMayus, baseMayus, baseMayus,
                           rp::db::DB_Dll::pSQLOLEDB())) {
        // The typed credentials on the shared object.
        if (db.gOpenFlag)
            cerrarSiAbierta(db.conexion());
        db.gServidor = servidor;
        db.gUsuario = texto(TxtUserId);
        db.gUserPassWord = texto(TxtUserPassword);
        db.gDBName = base;
        db.OpenServerADODB(false, 3, QString(), true, true);
        // Registered only when this very connection is open: the flag alone
        // does not say so, and a retry prompt may have changed the values.
        const bool abierta = db.gOpenFlag && db.conexion().isOpen() && db.gServidor == servidor &&
                             db.gDBName == base;
        if (!abierta) {
            cerrarSiAbierta(db.conexion());
            operador().mensaje(QStringLiteral("NO SE PUDO CONECTAR AL SERVIDOR ") + servidor +
                                   QStringLiteral(" VERIFIQUE EL NOMBRE DE USUARIO Y PASSWORD "
                                                  "INGRESADO"),
                               estilo::Information, kAviso);
            return;
        }
    }

    if (const auto fallo = GrabarBase(clave, base, base, base, servidor, false)) {
        // Nothing was registered: no data source either.
        avisoFalloRegistro(fallo->number, fallo->description);
    } else {
        crearOrigenDatos(servidor, base);
    }

    cerrarSiAbierta(db.conexion());
    llenarlist();
}

void frmAcceso::CmdLineaComando_Click() {
    const QString programa =
        rp::suite::Aplicacion::carpetaEjecutable() + rp::suite::Aplicacion::nombreEjecutable();
    QString ruta;
    QString error;
    if (!AccesoDirecto::crear(AccesoDirecto::carpetaEscritorio(), programa,
                              rp::suite::Aplicacion::carpetaPrograma(), ruta, error))
        operador().mensaje(QStringLiteral("No se pudo crear el acceso directo ") + ruta +
                               QStringLiteral(": ") + error,
                           estilo::Exclamation, kAviso);
}

} // namespace rp::connections
