// Script batches on an Oracle connection: the text is cut into statements at
// fixed keywords, transaction commands go to the connection's own calls and
// every other statement is translated and executed on its own.
#include "db/DB_Dll.h"
#include "db/TextoVb.h"

namespace rp::db {

namespace {

const char* const kPalabras[] = {"INSERT ",  "DELETE ",      "UPDATE ",         "CREATE ",
                                 "DROP ",    "ALTER ",       "SET TRANSACTION", "COMMIT",
                                 "ROLLBACK", "IF NOT EXIST", "IF EXIST",        "GRANT "};

// Number of the provider's "errors occurred" notice left by a finished batch.
constexpr qint32 kAvisoLote = 265929;

// The smallest position at or after `desde` where a keyword starts; -1 when
// none does.
qsizetype primeraPalabra(const QString& s, qsizetype desde) {
    qsizetype menor = -1;
    for (const char* palabra : kPalabras) {
        const qsizetype p = s.indexOf(QLatin1String(palabra), desde, Qt::CaseInsensitive);
        if (p >= 0 && (menor < 0 || p < menor))
            menor = p;
    }
    return menor;
}

QString normalizar(QString s) {
    const QString cr = QStringLiteral("\r");
    const QString crlf = QStringLiteral("\r\n");
    const std::pair<QString, QString> pasos[] = {
        {QStringLiteral("SET NOCOUNT ON"), QString()},
        {QStringLiteral("SET NOCOUNT OFF"), QString()},
        {QStringLiteral(" GO "), QStringLiteral(" ")},
        {crlf + QStringLiteral("GO "), QStringLiteral(" ")},
        {crlf + QStringLiteral("GO "), QStringLiteral(" ")},
        {crlf + QStringLiteral("GO") + crlf, QStringLiteral(" ")},
        {cr, QStringLiteral(" ")},
        {crlf, QStringLiteral(" ")},
        {QStringLiteral("BEGIN TRANSACTION"), QStringLiteral("SET TRANSACTION")},
        {QStringLiteral("BEGIN TRANS"), QStringLiteral("SET TRANSACTION")},
        {QStringLiteral("COMMIT TRANSACTION"), QStringLiteral("COMMIT")},
        {QStringLiteral("COMMIT TRANS"), QStringLiteral("COMMIT")},
        {QStringLiteral("ROLLBACK TRANSACTION"), QStringLiteral("ROLLBACK")},
        {QStringLiteral("ROLLBACK TRANS"), QStringLiteral("ROLLBACK")},
    };
    for (const auto& [buscado, nuevo] : pasos)
        s = TextoVb::reemplazar(s, buscado, nuevo);
    return s;
}

} // namespace

QString DB_Dll::DescartaSentencia(QString& Sentencia) {
    if (TextoVb::contiene(Sentencia, QStringLiteral("SET NOCOUNT")) ||
        TextoVb::contiene(Sentencia, QStringLiteral("IF NOT EXIST")))
        Sentencia.clear();
    return Sentencia;
}

void DB_Dll::EjecutaLote(QString& Sentencia, qint32& RecordsAffected) {
    Sentencia = normalizar(Sentencia);
    Connection& cnn = conexion();
    for (;;) {
        const qsizetype inicio = primeraPalabra(Sentencia, 0);
        if (inicio < 0)
            break;
        const qsizetype siguiente = primeraPalabra(Sentencia, inicio + 1);
        const QString sentencia = TextoVb::recortar(
            siguiente < 0 ? Sentencia.mid(inicio) : Sentencia.mid(inicio, siguiente - inicio));
        // Line feeds left by CR LF line ends do not hide a transaction command.
        const QString comando = sentencia.trimmed();
        if (comando.compare(QLatin1String("SET TRANSACTION"), Qt::CaseInsensitive) == 0) {
            cnn.beginTrans();
        } else if (comando.compare(QLatin1String("COMMIT"), Qt::CaseInsensitive) == 0) {
            cnn.commitTrans();
        } else if (comando.compare(QLatin1String("ROLLBACK"), Qt::CaseInsensitive) == 0) {
            cnn.rollbackTrans();
        } else {
            QString traducida = ORACLE_Dicc(sentencia);
            DescartaSentencia(traducida);
            if (!TextoVb::recortar(traducida).isEmpty()) {
                qint64 filas = 0;
                cnn.execute(traducida, &filas);
                // Statements that report no count (-1) add nothing.
                if (filas > 0)
                    RecordsAffected += qint32(filas);
            }
        }
        Sentencia = siguiente < 0 ? QString() : Sentencia.mid(siguiente);
    }
    if (cnn.errors().size() == 1 && cnn.errors().first().number == kAvisoLote)
        cnn.clearErrors();
}

} // namespace rp::db
