// Opening the connection: server databases (SQL Server layout, Oracle
// layout, the embedded provider through Server=sqlite), the reconnection of
// the lost-connection recovery and local database files.
#include "db/AccesoPrompt.h"
#include "db/DB_Dll.h"
#include "db/TextoVb.h"
#include "db/provider/ConnectionString.h"
#include "suite/Aplicacion.h"
#include "suite/Utilidades.h"
#include "ui/Operador.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace rp::db {

using rp::ui::operador;

namespace {

const QString kCr = QStringLiteral("\r");
const QString kCrLf = QStringLiteral("\r\n");
const QString kOracle = QStringLiteral("OraOLEDB.Oracle.1");

// States of the local-file open, as the Jet engine reported them.
const QString kArchivoNoEncontrado = QStringLiteral("3024");
const QString kArchivoNoAbre = QStringLiteral("3051");
const QString kRutaInvalida = QStringLiteral("3044");

} // namespace

DB_Dll::DB_Dll() = default;
DB_Dll::~DB_Dll() = default;

Connection& DB_Dll::conexion() {
    if (!gCnn)
        gCnn = std::make_unique<Connection>();
    return *gCnn;
}

DB_Dll& baseCompartida() {
    static DB_Dll base;
    return base;
}

QString DB_Dll::armarCadenaConexion() const {
    if (gServidor.contains(QLatin1Char('#')))
        return QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=") + gDBName +
               QStringLiteral(";User Id=") + gUsuario + QStringLiteral(";Password=") +
               gUserPassWord + QStringLiteral(";");
    return QStringLiteral("PROVIDER=") + pSQLOLEDB() + QStringLiteral(";") +
           QStringLiteral("Server=") + gServidor + QStringLiteral(";") +
           QStringLiteral("Database =") + gDBName + QStringLiteral(";") + QStringLiteral("UId=") +
           gUsuario + QStringLiteral(";") + QStringLiteral("Pwd=") + gUserPassWord +
           QStringLiteral(";") + gExtended;
}

bool DB_Dll::pedirParametros() {
    AccesoPrompt prompt;
    prompt.TxtDbName = gDBName;
    prompt.TxtServidor = gServidor;
    prompt.TxtUserId = gUsuario;
    prompt.TxtUserPassword = gUserPassWord;
    prompt.CboPlataformaDB = AccesoPrompt::SqlServer;
    if (operador().dialogo(prompt))
        prompt.Aceptar = true;
    if (!prompt.Aceptar) {
        gOpenFlag = false;
        return false;
    }
    gOpenFlag = true;
    gDBName = prompt.TxtDbName;
    gServidor = prompt.TxtServidor;
    gUsuario = prompt.TxtUserId;
    gUserPassWord = prompt.TxtUserPassword;
    if (prompt.CboPlataformaDB > AccesoPrompt::SqlServer) {
        gProveedor = kOracle;
        if (!gServidor.contains(QLatin1Char('#')))
            gServidor = QLatin1Char('#') + gServidor;
    } else {
        gProveedor = pSQLOLEDB();
    }
    return true;
}

void DB_Dll::abrirConexion(int lCursor) {
    Connection& cnn = conexion();
    cnn.setCursorLocation(lCursor);
    if (cnn.isOpen())
        throw DbError(errc::NotAllowedOpen,
                      QStringLiteral("Operation is not allowed when the object is open."));
    cnn.open(gConnString, QString(), QString());
}

void DB_Dll::decidirAdministrador(bool ValidaAdmin, bool MuestraError, int& paso) {
    // paso counts the sub-steps so a retried failure resumes where it failed.
    for (;; ++paso) {
        switch (paso) {
        case 0:
            if (!ValidaAdmin) {
                gEsAdmin = true;
                return;
            }
            break;
        case 1:
            if (TextoVb::recortar(gDBName).isEmpty())
                return;
            break;
        case 2:
            conexion().setDefaultDatabase(gDBName);
            break;
        case 3:
            if (!baseCompartida().ExisteTablaDB(QStringLiteral("TA_USUARIOS")))
                return;
            break;
        case 4:
            if (!MuestraError) {
                gEsAdmin = true;
                return;
            }
            break;
        default: {
            const QVariant valor =
                DatosTabla(QStringLiteral("ta_usuarios"), gUsuario, QStringLiteral("Administrador"),
                           QStringLiteral("nombre"), 8, QString(), true, false);
            gEsAdmin = rp::suite::Utilidades::NumeroInicial(valor.toString()) == 1.0;
            return;
        }
        }
    }
}

QString DB_Dll::mensajeFalloConexion(const ProviderError& e) const {
    const DB_Dll& base = baseCompartida();
    return QStringLiteral(" Estado de Sql: ") + e.sqlState + kCr +
           QStringLiteral("Numero de Error: ") + QString::number(e.number) + kCr +
           QStringLiteral("Descripcion: ") + e.description + kCr +
           QStringLiteral("Codigo Nativo: ") + QString::number(e.nativeError) + kCr + kCrLf +
           QStringLiteral("Nombre de Proceso: ") + rp::suite::Aplicacion::nombreEjecutable() + kCr +
           kCrLf + kCrLf + QStringLiteral("1. Verifique el Usuario, contraseña y base de datos") +
           kCrLf +
           QStringLiteral("2. Verifique el nombre del servidor, quizas necesite agregarle el "
                          "nombre de la instancia, por ejemplo : ") +
           base.gServidor + QStringLiteral("\\QUIMERA") + kCrLf +
           QStringLiteral("3. Verifique si el inicio de sesion para el usuario ") + base.gUsuario +
           QStringLiteral(" existe") + kCrLf + kCrLf + kCrLf +
           QStringLiteral(" - Desea Intentarlo Nuevamente??? ");
}

void DB_Dll::OpenServerADODB(bool PideParametrosSQL, int lCursor, const QString& ConnString,
                             bool ValidaAdmin, bool MuestraError) {
    bool reintentado = false;
    gOpenFlag = true;
    int paso = 2;
    int subpaso = 0;
    for (;;) {
        try {
            switch (paso) {
            case 2:
                if (gProveedor.isEmpty())
                    gProveedor = baseCompartida().pSQLOLEDB();
                break;
            case 3:
                gConnString =
                    TextoVb::recortar(ConnString).isEmpty() ? armarCadenaConexion() : ConnString;
                break;
            case 4:
                if (PideParametrosSQL) {
                    if (!pedirParametros())
                        return;
                    gConnString = armarCadenaConexion();
                }
                break;
            case 5:
                abrirConexion(lCursor);
                break;
            default:
                decidirAdministrador(ValidaAdmin, MuestraError, subpaso);
                return;
            }
            ++paso;
        } catch (const DbError& e) {
            const bool abierta = e.number() == errc::NotAllowedOpen;
            const auto cerrarYReintentar = [&]() {
                reintentado = true;
                try {
                    conexion().close();
                } catch (const DbError&) {
                }
            };
            if (!MuestraError) {
                if (abierta && !reintentado) {
                    cerrarYReintentar();
                    continue;
                }
                gOpenFlag = false;
                return;
            }
            Connection& cnn = conexion();
            if (!cnn.errors().isEmpty()) {
                const ProviderError primero = cnn.errors().first();
                const int respuesta = operador().mensaje(
                    mensajeFalloConexion(primero), ui::estilo::YesNo | ui::estilo::Critical,
                    QStringLiteral(" Error de Conexion a Base de Datos"));
                if (respuesta != ui::vbYes) {
                    gOpenFlag = false;
                    return;
                }
                cnn.clearErrors();
                if (!pedirParametros())
                    return;
                gConnString = armarCadenaConexion();
                continue;
            }
            if (abierta && !reintentado) {
                cerrarYReintentar();
                continue;
            }
            operador().mensaje(e.description(), ui::estilo::OKOnly, QString());
            gOpenFlag = false;
            return;
        }
    }
}

void DB_Dll::ReintentaConectar() {
    gOpenFlag = false;
    Connection& cnn = conexion();
    // A connection already closed goes on with the next step; a failure of
    // the provider itself ends the attempt without a box.
    rp::suite::PasosReintento paso = pasosConAviso(
        QStringLiteral("AbrirRecordset"), [this](const rp::suite::CodErr& e) -> std::optional<int> {
            if (e.number == errc::NotAllowedClosed)
                return ui::vbIgnore;
            gOpenFlag = false;
            if (e.number == errc::Unspecified)
                return ui::vbAbort;
            return std::nullopt;
        });
    if (!paso([&] { cnn.setCommandTimeout(5); }))
        return;
    if (!paso([&] { cnn.close(); }))
        return;
    if (!paso([&] {
            const DB_Dll& base = baseCompartida();
            cnn.open(cnn.connectionString(), base.gUsuario, base.gUserPassWord);
        }))
        return;
    gOpenFlag = true;
}

bool DB_Dll::buscarArchivoLocal() {
    const std::optional<QString> archivo =
        operador().abrirArchivo(QStringLiteral("Buscar Base de Datos"),
                                QStringLiteral("Base de Datos SQLite |*.db"), gDBName);
    if (!archivo)
        return false;
    gDBName = *archivo;
    return true;
}

void DB_Dll::abrirArchivoLocal(const QString& cadena) {
    Connection& cnn = conexion();
    const ProviderTarget destino =
        translateConnectionString(cadena, QString(), QString(), providerSettings());
    if (destino.kind == ProviderTarget::Sqlite && destino.target != QLatin1String(":memory:")) {
        // The embedded provider would create a missing file; a local database
        // that is not there, cannot be opened or is not a database is reported
        // the way the program expects of a local file.
        const QFileInfo info(destino.target);
        QString estado;
        QString texto;
        if (destino.target.isEmpty() || !info.dir().exists() || info.isDir()) {
            estado = kRutaInvalida;
            texto = QStringLiteral("'%1' no es una ruta válida.").arg(destino.target);
        } else if (!info.exists()) {
            estado = kArchivoNoEncontrado;
            texto = QStringLiteral("No se encuentra el archivo '%1'.").arg(destino.target);
        } else {
            QFile archivo(destino.target);
            bool valido = archivo.open(QIODevice::ReadOnly);
            if (valido && info.size() > 0)
                valido = archivo.read(16) == QByteArray("SQLite format 3", 16);
            if (!valido || !info.isWritable()) {
                estado = kArchivoNoAbre;
                texto = QStringLiteral("No se puede abrir el archivo '%1'.").arg(destino.target);
            }
        }
        if (!estado.isEmpty()) {
            ProviderError error;
            error.number = errc::Unspecified;
            error.description = texto;
            error.sqlState = estado;
            error.nativeError = -1;
            error.source = QStringLiteral("SQLite");
            cnn.errors().append(error);
            throw DbError(errc::Unspecified, texto, error.source);
        }
    }
    cnn.open(cadena, QString(), QString());
}

void DB_Dll::OpenLocalADODB(const QString& ConnString, const QString& CadenaID,
                            const QString& CadenaPWD) {
    for (;;) {
        try {
            if (TextoVb::recortar(gDBName).isEmpty() && !buscarArchivoLocal())
                return;
            const QString cadena = !ConnString.isEmpty()
                                       ? ConnString
                                       : QStringLiteral("PROVIDER=") + gProveedor +
                                             QStringLiteral(";") + QStringLiteral("Data Source =") +
                                             gDBName + QStringLiteral(";") + CadenaID +
                                             QStringLiteral("=") + gUsuario + QStringLiteral(";") +
                                             CadenaPWD + QStringLiteral("=") + gUserPassWord +
                                             QStringLiteral(";") + gExtended;
            abrirArchivoLocal(cadena);
            gConnString = cadena;
            return;
        } catch (const DbError& e) {
            Connection& cnn = conexion();
            const QString estado =
                cnn.errors().isEmpty() ? QString() : cnn.errors().first().sqlState;
            if (estado == kArchivoNoEncontrado || estado == kArchivoNoAbre ||
                estado == kRutaInvalida) {
                cnn.clearErrors();
                if (!buscarArchivoLocal())
                    return;
                continue;
            }
            // A SQLite file carries no database password, so the password
            // state of the Jet engine never arises here.
            operador().mensaje(QString::number(e.number()) + QStringLiteral("  ") + e.description(),
                               ui::estilo::Critical, QString());
            return;
        }
    }
}

} // namespace rp::db
