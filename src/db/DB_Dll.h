#pragma once

#include "db/provider/Connection.h"
#include "db/provider/ProviderError.h"
#include "db/provider/Recordset.h"
#include "suite/PasosReintento.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

namespace rp::db {

// The database access object. One instance holds one connection and the
// credentials it was opened with; every database operation of the program runs
// through it. The program keeps one shared instance for the whole run
// (`baseCompartida()`), and a second one for the statistics database.
//
// The operations are split by concern over several files:
//   DbConexion.cpp   opening (server, reconnection, local file)
//   DbLiterales.cpp  type classification, literals and object names
//   DbEjecucion.cpp  record sets, statements, failure report
//   DbOracle.cpp     Oracle dialect translation
//   DbLote.cpp       script batches on Oracle
//   DbSinonimos.cpp  confidential synonyms
//   DbBusquedas.cpp  one-row look-ups and code search
//   DbEsquema.cpp    schema inspection and change
class DB_Dll {
public:
    DB_Dll();
    ~DB_Dll();
    DB_Dll(const DB_Dll&) = delete;
    DB_Dll& operator=(const DB_Dll&) = delete;

    // ---- State (public, as the rest of the program reads and writes it) ----
    bool gOpenFlag = false;
    // When it converts to true, the local-file password retry uses
    // gUserPassWord instead of asking (kept for the interface; see
    // OpenLocalADODB).
    QVariant gIgnoraPassWord;
    // The connection, created on first use and kept for the life of the object.
    std::unique_ptr<Connection> gCnn;
    // A record-set slot offered to callers; no operation of the layer uses it.
    Recordset* glrcs = nullptr;
    QVariant gCursorLocation;
    QString gProveedor;
    QString gDsn;
    QString gServidor;
    QString gDBName;
    QString gUsuario;
    bool gEsAdmin = false;
    QString gUserPassWord;
    QString gConnString;
    QString gExtended;
    QString gLogErr;
    bool ParametrosSQL = false;
    qint16 gKSTimeOut = 0;

    // ---- Provider names ----
    static QString pJETOLEDB40() { return QStringLiteral("Microsoft.Jet.OLEDB.4.0"); }
    static QString pJETOLEDB35() { return QStringLiteral("Microsoft.Jet.OLEDB.3.51"); }
    static QString pSQLOLEDB() { return QStringLiteral("SQLOLEDB"); }

    // The connection, created when missing.
    Connection& conexion();

    // ---- Connections (DbConexion.cpp) ----
    void OpenServerADODB(bool PideParametrosSQL, int lCursor, const QString& ConnString,
                         bool ValidaAdmin, bool MuestraError);
    void ReintentaConectar();
    // Opens a local database file (the embedded SQLite provider stands where
    // the Jet engine stood). CadenaID / CadenaPWD are the key names of the
    // user and password in the built string.
    void OpenLocalADODB(const QString& ConnString, const QString& CadenaID,
                        const QString& CadenaPWD);

    // ---- Literals and object names (DbLiterales.cpp) ----
    static bool adodate(const QVariant& Qtype);
    static bool ADOText(const QVariant& Qtype);
    static bool ADONumeric(const QVariant& Qtype);
    static bool ADOCurrency(const QVariant& Qtype);
    static bool ADOBoolean(const QVariant& Qtype);
    static QString ADOComilla(const QVariant& Qtype);
    // The literal text of a value. Marker "@": number; "'": quoted text or
    // date (apostrophes inside are doubled); anything else: unchanged.
    static QString SQLValue(const QVariant& Valor, const QString& Tipo);
    static QString AddBrackets(const QString& rObjName);
    static QString StripBrackets(const QString& rsObjName);
    static QString StripOwner(QString& rsTblName);
    static QString StripConnect(const QString& rsTblName);
    static QString stSTF(QString& rsName, bool rnPart);
    static QString StripFileName(const QString& rsFileName);

    // ---- Execution (DbEjecucion.cpp) ----
    void AbrirRecordset(QString& SentenciaSQL, Recordset& Lrcs,
                        Connection* Conexionactiva = nullptr, int CursorType = adOpenForwardOnly,
                        int LockType = adLockReadOnly, int Options = -1, bool ConvOracle = true);
    void EjecutaConsultaSQL(QString& SentenciaSQL, qint32& RecordsAffected,
                            Recordset* Lrcs = nullptr);
    void EjecutaConsultaRSQL(QString& SentenciaSQL, qint32& RecordsAffected,
                             Recordset* Lrcs = nullptr);
    // AbrirRecordset and EjecutaConsultaSQL for statements whose values are
    // bound to "?" markers (no value is ever part of the statement text):
    // the same synonyms, Oracle translation and lost-connection recovery,
    // and the same silent errors left on the connection for the update.
    void AbrirRecordsetConValores(QString& SentenciaSQL, const QVariantList& Valores,
                                  Recordset& Lrcs, bool ConvOracle = true);
    void EjecutaConsultaConValores(QString& SentenciaSQL, const QVariantList& Valores,
                                   qint32& RecordsAffected);
    // Oracle-named connection (its statements get the Oracle translation).
    bool esOracle(const Connection& cnn) const;
    void CierraRecordset(Recordset& LrcsTemp);
    // The layer's failure report: box, log line, answer (0 for error number 0).
    int TratamientoErrores(const DbError& CodErr, std::optional<int> Botones = std::nullopt,
                           const std::optional<QString>& Rutina = std::nullopt);
    // Steps under that report for routine `Rutina`: a database error asks
    // Abort / Retry / Ignore; any other exception leaves the routine. A
    // `previo` that answers (vbRetry, vbIgnore, vbAbort) decides without the
    // box; std::nullopt lets the box ask.
    using Previo = std::function<std::optional<int>(const rp::suite::CodErr&)>;
    rp::suite::PasosReintento pasosConAviso(const QString& Rutina, Previo previo = nullptr);
    // A database error as the suite's CodErr; any other exception is rethrown.
    static rp::suite::CodErr errorDe(std::exception_ptr excepcion);
    QString ArchivoErrores() const { return gLogErr; }
    void setArchivoErrores(const QVariant& ruta) { gLogErr = ruta.toString(); }
    // Kept in the interface; they do nothing.
    void QConsulta(const QVariant& TB, const QVariant& Rsp, const QVariant& Cl1,
                   const QVariant& Cl2, const QVariant& CmpDisplay, const QVariant& SQLWHERE);
    void QGridConsulta(const QVariant& Sentencia, const QVariant& CampoDevuelto1,
                       const QVariant& gCnnString, const QVariant& CampoDevuelto2,
                       const QVariant& CampoDevuelto3);

    // What ends the program when the operator gives up on a lost connection.
    // The default ends the process at once; tests install their own.
    static void setTerminateHook(std::function<void()> hook);

    // ---- Oracle dialect and batches (DbOracle.cpp, DbLote.cpp) ----
    QString ORACLE_Dicc(const QString& Valor) const;
    void EjecutaLote(QString& Sentencia, qint32& RecordsAffected);
    static QString DescartaSentencia(QString& Sentencia);

    // ---- Confidential synonyms (DbSinonimos.cpp) ----
    QString SS_TSinonimos(const QString& SQL) const;
    // The loaded setting SS_CONFIDENCIALIDAD (configuration key
    // "SS_CONFIDENCIALIDAD" = "SI"), set by the configuration loader.
    static void setConfidencialidad(bool activa);
    static bool confidencialidad();

    // ---- Look-ups (DbBusquedas.cpp) ----
    bool ExisteEnTabla(const QString& Tabla, const QString& ValorBuscado,
                       const QString& Campo = QStringLiteral("Codigo"), Recordset* Lrcs = nullptr,
                       const QVariant& Tipodato = 8, const QString& Condicion = QString(),
                       bool SoloLectura = true);
    bool ExisteEnTablaST(const QString& Tabla, const QString& ValorBuscado,
                         const QString& Campo = QStringLiteral("Codigo"), Recordset* Lrcs = nullptr,
                         const QVariant& Tipodato = 8, const QString& Condicion = QString(),
                         bool SoloLectura = false);
    // Text of column CampoDevuelto of the first matching row; empty text when
    // no row matches; an invalid QVariant (the empty value) when the object is
    // not open after the attempt or the operator gave up.
    QVariant DatosTabla(const QString& Tabla, const QString& ValorBuscado,
                        const QString& CampoDevuelto,
                        const QString& Campo = QStringLiteral("Codigo"),
                        const QVariant& Tipodato = 8, const QString& Condicion = QString(),
                        bool UsaTrim = true, bool IgnoraError = false);
    // These three raise DbError to the caller. An invalid result is the empty
    // value (no row).
    QVariant BuscaMaximo(const QString& QueTabla, const QString& QueCampo,
                         const QVariant& Tipo = QVariant(), QString* Condicion = nullptr);
    QVariant BuscaMinimo(const QString& QueTabla, const QString& QueCampo,
                         const QVariant& Tipo = QVariant(),
                         const std::optional<QString>& Condicion = std::nullopt);
    QVariant BuscaUltimoCodigo(const QString& QueTabla, const QString& QueCampo,
                               const QVariant& Tipo, const QString& Condicion);

    // ---- Schema (DbEsquema.cpp) ----
    bool ExisteTablaDB(const QString& Tabla);
    bool ExisteCampoDB(const QString& Tabla, const QString& Campo);
    void AddField(const QString& Tabla, const QString& Campo, const QString& Tipo,
                  bool PermiteNulos, const std::optional<QString>& ValorDefault = std::nullopt);
    bool VerCampoDB(const QString& Tabla, const QString& Campo, bool Agregar, const QString& Tipo,
                    bool PermiteNulos, const std::optional<QString>& ValorDefault = std::nullopt);

private:
    // Connection string in the SQL Server or Oracle layout from the fields.
    QString armarCadenaConexion() const;
    // The connection prompt; false when the operator cancelled.
    bool pedirParametros();
    // Sets gEsAdmin after an open.
    void decidirAdministrador(bool ValidaAdmin, bool MuestraError, int& paso);
    QString mensajeFalloConexion(const ProviderError& e) const;
    void abrirConexion(int lCursor);
    // The local-file open of OpenLocalADODB, raising the Jet-style states.
    void abrirArchivoLocal(const QString& cadena);
    bool buscarArchivoLocal();

    // Lost-connection recovery of AbrirRecordset: vbRetry when the failed
    // step is to run again, vbAbort when the program was ended, std::nullopt
    // when the general report follows (the third recovery of one call).
    std::optional<int> recuperarConexion(int& contador);
    // The steps of AbrirRecordset with `abrir` as the opening step.
    void abrirConRecuperacion(QString& SentenciaSQL, Recordset& Lrcs, Connection* Conexionactiva,
                              bool ConvOracle,
                              const std::function<void(const QString&, Connection&)>& abrir);
    QString mensajeConexionPerdida() const;
    // Path of the layer's error log.
    QString rutaLog() const;
    void descartarAvisoTruncado(const QString& sentencia);
    void ejecutar(QString& SentenciaSQL, qint32& RecordsAffected, Recordset* Lrcs, bool informar);

    // ExisteEnTabla / ExisteEnTablaST shared work.
    bool existeEn(Connection& cnn, QString sentencia, Recordset* Lrcs, bool SoloLectura,
                  bool traducir);
};

// The shared database object: the one instance that holds the main connection
// for the whole run. Created on first use.
DB_Dll& baseCompartida();

} // namespace rp::db
