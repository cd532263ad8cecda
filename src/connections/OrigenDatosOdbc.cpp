#include "connections/OrigenDatosOdbc.h"

#include "db/provider/ConnectionString.h"

#include <odbcinst.h>

namespace rp::connections {

namespace {

// Splits an ODBC connection string as the connection layer writes it: values
// wrapped in braces (with "}}" for a brace) may hold ";".
QList<QPair<QString, QString>> piezasOdbc(const QString& s) {
    QList<QPair<QString, QString>> piezas;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        const qsizetype igual = s.indexOf(QLatin1Char('='), i);
        if (igual < 0)
            break;
        const QString clave = s.mid(i, igual - i).trimmed();
        qsizetype j = igual + 1;
        QString valor;
        if (j < n && s.at(j) == QLatin1Char('{')) {
            ++j;
            while (j < n) {
                if (s.at(j) == QLatin1Char('}')) {
                    if (j + 1 < n && s.at(j + 1) == QLatin1Char('}')) {
                        valor += QLatin1Char('}');
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                valor += s.at(j++);
            }
            const qsizetype fin = s.indexOf(QLatin1Char(';'), j);
            i = fin < 0 ? n : fin + 1;
        } else {
            const qsizetype fin = s.indexOf(QLatin1Char(';'), j);
            valor = s.mid(j, (fin < 0 ? n : fin) - j);
            i = fin < 0 ? n : fin + 1;
        }
        if (!clave.isEmpty())
            piezas.append({clave, valor});
    }
    return piezas;
}

// The usual spelling of the keys the connection layer writes in capitals.
QString nombreAtributo(const QString& clave) {
    static const char* const nombres[] = {"Server", "Port", "Database"};
    for (const char* nombre : nombres)
        if (clave.compare(QLatin1String(nombre), Qt::CaseInsensitive) == 0)
            return QLatin1String(nombre);
    return clave;
}

QString errorInstalador() {
    DWORD codigo = 0;
    char mensaje[SQL_MAX_MESSAGE_LENGTH] = {};
    WORD largo = 0;
    if (SQLInstallerError(1, &codigo, mensaje, sizeof mensaje, &largo) == SQL_NO_DATA)
        return QStringLiteral("error del instalador ODBC");
    return QString::fromUtf8(mensaje) + QStringLiteral(" (") + QString::number(codigo) +
           QLatin1Char(')');
}

bool valorEscribible(const QString& v) {
    return !v.contains(QLatin1Char('\n')) && !v.contains(QLatin1Char('\r')) &&
           !v.contains(QChar(0));
}

// Restores the installer's default mode (user and system data sources) at
// the end of a registration, whatever happens.
struct ModoUsuario {
    ModoUsuario() { SQLSetConfigMode(ODBC_USER_DSN); }
    ~ModoUsuario() { SQLSetConfigMode(ODBC_BOTH_DSN); }
};

} // namespace

std::optional<OrigenDatosOdbc::Definicion>
OrigenDatosOdbc::definir(const QString& servidor, const QString& baseDatos,
                         const rp::db::ProviderSettings& ajustes) {
    const QString cadena = QStringLiteral("PROVIDER=SQLOLEDB;Server=") + servidor +
                           QStringLiteral(";Database =") + baseDatos + QStringLiteral(";");
    const rp::db::ProviderTarget destino =
        rp::db::translateConnectionString(cadena, QString(), QString(), ajustes);
    if (destino.kind != rp::db::ProviderTarget::Odbc)
        return std::nullopt;
    Definicion d;
    for (const auto& [clave, valor] : piezasOdbc(destino.target)) {
        const QString mayus = clave.toUpper();
        if (mayus == QLatin1String("DRIVER"))
            d.driver = valor;
        else if (mayus != QLatin1String("UID") && mayus != QLatin1String("PWD"))
            d.atributos.append({nombreAtributo(clave), valor});
    }
    return d;
}

bool OrigenDatosOdbc::registrar(const QString& nombre, const Definicion& definicion,
                                QString& error) {
    error.clear();
    if (nombre.trimmed().isEmpty() || nombre != nombre.trimmed() || !valorEscribible(nombre)) {
        error = QStringLiteral("nombre de origen de datos no válido");
        return false;
    }
    if (definicion.driver.isEmpty() || !valorEscribible(definicion.driver)) {
        error = QStringLiteral("no hay controlador ODBC para esta conexión");
        return false;
    }
    for (const auto& [clave, valor] : definicion.atributos) {
        if (!valorEscribible(clave) || !valorEscribible(valor) ||
            clave.contains(QLatin1Char('='))) {
            error = QStringLiteral("el valor de %1 no se puede guardar en odbc.ini").arg(clave);
            return false;
        }
    }
    const QByteArray dsn = nombre.toUtf8();
    const ModoUsuario modo;
    if (!SQLWriteDSNToIni(dsn.constData(), definicion.driver.toUtf8().constData())) {
        error = errorInstalador();
        return false;
    }
    for (const auto& [clave, valor] : definicion.atributos) {
        if (!SQLWritePrivateProfileString(dsn.constData(), clave.toUtf8().constData(),
                                          valor.toUtf8().constData(), "odbc.ini")) {
            error = errorInstalador();
            // No half-written data source stays behind.
            SQLRemoveDSNFromIni(dsn.constData());
            return false;
        }
    }
    return true;
}

} // namespace rp::connections
