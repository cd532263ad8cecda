// Record sets, statements, the lost-connection recovery and the layer's
// failure report.
#include "db/DB_Dll.h"
#include "db/TextoVb.h"
#include "suite/Aplicacion.h"
#include "suite/RegistroErrores.h"
#include "ui/Operador.h"

#include <cstdlib>

namespace rp::db {

using rp::ui::operador;

namespace {

void terminarProceso() {
    // The operator chose to close the application: nothing else runs.
    std::_Exit(EXIT_FAILURE);
}

std::function<void()>& ganchoTerminar() {
    static std::function<void()> gancho = terminarProceso;
    return gancho;
}

// Native code of SQL Server's "string or binary data would be truncated".
constexpr qint32 kTruncado = 8152;

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

void DB_Dll::setTerminateHook(std::function<void()> hook) {
    ganchoTerminar() = hook ? std::move(hook) : std::function<void()>(terminarProceso);
}

QString DB_Dll::mensajeConexionPerdida() const {
    const DB_Dll& base = baseCompartida();
    return kCrLf + kCrLf + kCrLf + QStringLiteral("Se perdio la conexion con la base de datos ") +
           base.gDBName + kCrLf + QStringLiteral(" Servidor ") + base.gServidor + kCrLf + kCrLf +
           QStringLiteral("Elija SI para reintentar conectarse") + kCrLf +
           QStringLiteral("Elija NO para cerrar la aplicacion") + kCrLf + kCrLf + kCrLf;
}

std::optional<int> DB_Dll::recuperarConexion(int& contador) {
    for (;;) {
        ReintentaConectar();
        if (gOpenFlag) {
            ++contador;
            return contador < 3 ? std::optional<int>(ui::vbRetry) : std::nullopt;
        }
        const int respuesta =
            operador().mensaje(mensajeConexionPerdida(), 20, QStringLiteral("AVISO AL OPERADOR"));
        if (respuesta != ui::vbYes) {
            ganchoTerminar()();
            return ui::vbAbort;
        }
    }
}

bool DB_Dll::esOracle(const Connection& cnn) const {
    // An Oracle connection names its provider after the first character of
    // the string.
    return cnn.connectionString().indexOf(QLatin1String("ORACLE"), 1, Qt::CaseInsensitive) >= 0;
}

void DB_Dll::AbrirRecordset(QString& SentenciaSQL, Recordset& Lrcs, Connection* Conexionactiva,
                            int CursorType, int LockType, int Options, bool ConvOracle) {
    abrirConRecuperacion(SentenciaSQL, Lrcs, Conexionactiva, ConvOracle,
                         [&](const QString& sql, Connection& cnn) {
                             Lrcs.open(sql, cnn, CursorType, LockType, Options);
                         });
}

void DB_Dll::AbrirRecordsetConValores(QString& SentenciaSQL, const QVariantList& Valores,
                                      Recordset& Lrcs, bool ConvOracle) {
    abrirConRecuperacion(SentenciaSQL, Lrcs, nullptr, ConvOracle,
                         [&](const QString& sql, Connection& cnn) {
                             Lrcs.attach(cnn.execute(sql, nullptr, Valores));
                         });
}

void DB_Dll::abrirConRecuperacion(QString& SentenciaSQL, Recordset& Lrcs,
                                  Connection* Conexionactiva, bool ConvOracle,
                                  const std::function<void(const QString&, Connection&)>& abrir) {
    Connection& cnn = Conexionactiva ? *Conexionactiva : conexion();
    // A lost connection is recovered (twice at the most in one call) before
    // the general report asks.
    int contador = 1;
    rp::suite::PasosReintento paso = pasosConAviso(
        QStringLiteral("AbrirRecordset"), [&](const rp::suite::CodErr& e) -> std::optional<int> {
            if ((e.number == errc::Unspecified || e.number == errc::ConnectionClosed) &&
                !cnn.errors().isEmpty())
                return recuperarConexion(contador);
            return std::nullopt;
        });
    if (!paso([&] { CierraRecordset(Lrcs); }))
        return;
    if (!paso([&] { SentenciaSQL = SS_TSinonimos(SentenciaSQL); }))
        return;
    // The translation is never written back to the caller.
    paso([&] {
        abrir(ConvOracle && esOracle(cnn) ? ORACLE_Dicc(SentenciaSQL) : SentenciaSQL, cnn);
    });
}

void DB_Dll::EjecutaConsultaConValores(QString& SentenciaSQL, const QVariantList& Valores,
                                       qint32& RecordsAffected) {
    try {
        SentenciaSQL = TextoVb::reemplazar(SentenciaSQL, QStringLiteral("@Admin_"), QString());
        Connection& cnn = conexion();
        qint64 filas = 0;
        cnn.execute(esOracle(cnn) ? ORACLE_Dicc(SentenciaSQL) : SentenciaSQL, &filas, Valores);
        RecordsAffected = qint32(filas);
        descartarAvisoTruncado(SentenciaSQL);
    } catch (const DbError&) {
        // Silent: the provider errors stay on the connection for the caller.
        descartarAvisoTruncado(SentenciaSQL);
    }
}

void DB_Dll::descartarAvisoTruncado(const QString& sentencia) {
    // A lone truncation warning is not a failure of the statement.
    DB_Dll& base = baseCompartida();
    if (!base.gCnn)
        return;
    QList<ProviderError>& errores = base.gCnn->errors();
    if (!errores.isEmpty() && errores.size() <= 2 &&
        !TextoVb::contiene(sentencia, QStringLiteral("TRANS")) &&
        errores.first().nativeError == kTruncado)
        base.gCnn->clearErrors();
}

void DB_Dll::ejecutar(QString& SentenciaSQL, qint32& RecordsAffected, Recordset* Lrcs,
                      bool informar) {
    try {
        if (TextoVb::contiene(SentenciaSQL, QStringLiteral("DROP")) &&
            TextoVb::contiene(SentenciaSQL, QStringLiteral("CREATE")) &&
            !TextoVb::contiene(SentenciaSQL, QStringLiteral("DELETE")) &&
            !TextoVb::contiene(SentenciaSQL, QStringLiteral("@ADMIN_")))
            SentenciaSQL = SS_TSinonimos(SentenciaSQL);
        else
            SentenciaSQL = TextoVb::reemplazar(SentenciaSQL, QStringLiteral("@Admin_"), QString());

        Connection& cnn = conexion();
        if (TextoVb::contiene(cnn.connectionString(), QStringLiteral("ORACLE"))) {
            EjecutaLote(SentenciaSQL, RecordsAffected);
        } else {
            qint64 filas = 0;
            std::unique_ptr<Cursor> resultado = cnn.execute(SentenciaSQL, &filas);
            RecordsAffected = qint32(filas);
            if (Lrcs) {
                if (Lrcs->isOpen())
                    CierraRecordset(*Lrcs);
                if (resultado)
                    Lrcs->attach(std::move(resultado));
            }
        }
        descartarAvisoTruncado(SentenciaSQL);
    } catch (const DbError& e) {
        // Silent: the provider errors stay on the connection for the caller.
        descartarAvisoTruncado(SentenciaSQL);
        if (!informar)
            return;
        const qint32 n = e.number();
        if (n != errc::Unspecified && n != errc::IntegrityViolation && n != errc::ObjectNotFound &&
            n != errc::SyntaxError && !TextoVb::contiene(SentenciaSQL, QStringLiteral("TRANS")))
            operador().mensaje(e.description(), ui::estilo::Critical,
                               QStringLiteral("Aviso al operador!!!"));
    }
}

void DB_Dll::EjecutaConsultaSQL(QString& SentenciaSQL, qint32& RecordsAffected, Recordset* Lrcs) {
    ejecutar(SentenciaSQL, RecordsAffected, Lrcs, false);
}

void DB_Dll::EjecutaConsultaRSQL(QString& SentenciaSQL, qint32& RecordsAffected, Recordset* Lrcs) {
    ejecutar(SentenciaSQL, RecordsAffected, Lrcs, true);
}

void DB_Dll::CierraRecordset(Recordset& LrcsTemp) {
    // Retry closes again; Ignore and Abort leave the record set as it is.
    pasosConAviso(QStringLiteral("CierraRecordset"),
                  [&](const rp::suite::CodErr& e) -> std::optional<int> {
                      if (e.number != errc::NotAllowedContext)
                          return std::nullopt;
                      // An edit is pending: drop it and close, ignoring failures.
                      try {
                          LrcsTemp.cancelUpdate();
                      } catch (const DbError&) {
                      }
                      try {
                          if (LrcsTemp.isOpen())
                              LrcsTemp.close();
                      } catch (const DbError&) {
                      }
                      return ui::vbIgnore;
                  })([&] {
        if (LrcsTemp.isOpen())
            LrcsTemp.close();
    });
}

QString DB_Dll::rutaLog() const {
    if (!gLogErr.isEmpty())
        return gLogErr;
    QString carpeta = rp::suite::Aplicacion::carpetaPrograma();
    if (!carpeta.endsWith(QLatin1Char('/')))
        carpeta += QLatin1Char('/');
    return carpeta + QStringLiteral("KSERR.LOG");
}

int DB_Dll::TratamientoErrores(const DbError& CodErr, std::optional<int> Botones,
                               const std::optional<QString>& Rutina) {
    const rp::suite::CodErr error{CodErr.number(), CodErr.description(), CodErr.source()};
    // The box is shown and the answer returned whatever happens to the log
    // line (an unwritable folder only loses the line).
    return rp::suite::RegistroErrores::Informar(error, Botones.value_or(18), Rutina,
                                                CodErr.source(), QStringLiteral("5"), rutaLog());
}

rp::suite::PasosReintento DB_Dll::pasosConAviso(const QString& Rutina, Previo previo) {
    return rp::suite::PasosReintento(
        [this, Rutina, previo = std::move(previo)](const rp::suite::CodErr& error) {
            if (previo)
                if (const std::optional<int> respuesta = previo(error))
                    return *respuesta;
            return rp::suite::RegistroErrores::Informar(error, 18, Rutina, error.source,
                                                        QStringLiteral("5"), rutaLog());
        },
        errorDe);
}

rp::suite::CodErr DB_Dll::errorDe(std::exception_ptr excepcion) {
    try {
        std::rethrow_exception(excepcion);
    } catch (const DbError& e) {
        return rp::suite::CodErr{e.number(), e.description(), e.source()};
    }
}

void DB_Dll::QConsulta(const QVariant&, const QVariant&, const QVariant&, const QVariant&,
                       const QVariant&, const QVariant&) {}

void DB_Dll::QGridConsulta(const QVariant&, const QVariant&, const QVariant&, const QVariant&,
                           const QVariant&) {}

} // namespace rp::db
