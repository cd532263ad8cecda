#include "db/provider/ConnectionString.h"

#include <QDir>
#include <QList>

namespace rp::db {

namespace {

// One "key=value" piece of a connection string, in the order written.
struct Piece {
    QString key;    // upper-cased, trimmed
    QString keyRaw; // as written (trimmed)
    QString value;  // as written
};

// Splits at ";" outside ODBC braces. A value that starts with "{" and has a
// matching "}" (with "}}" standing for a literal brace) followed by ";" or
// the end is taken whole. A piece without "=" continues the previous value
// (the program's layouts do not escape values, so a password such as
// "a;b" arrives split).
QList<Piece> splitPieces(const QString& s) {
    QList<Piece> pieces;
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype eq = s.indexOf(QLatin1Char('='), i);
        const qsizetype semi = s.indexOf(QLatin1Char(';'), i);
        if (eq < 0 || (semi >= 0 && semi < eq)) {
            const qsizetype end = semi < 0 ? n : semi;
            const QString text = s.mid(i, end - i);
            if (!pieces.isEmpty() && !text.trimmed().isEmpty())
                pieces.last().value += QLatin1Char(';') + text;
            i = end + 1;
            continue;
        }
        Piece p;
        p.keyRaw = s.mid(i, eq - i).trimmed();
        p.key = p.keyRaw.toUpper();
        qsizetype v = eq + 1;
        qsizetype end = -1;
        qsizetype first = v;
        while (first < n && s.at(first).isSpace())
            ++first;
        if (first < n && s.at(first) == QLatin1Char('{')) {
            qsizetype j = first + 1;
            while (j < n) {
                if (s.at(j) == QLatin1Char('}')) {
                    if (j + 1 < n && s.at(j + 1) == QLatin1Char('}')) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            if (j < n) {
                qsizetype k = j + 1;
                while (k < n && s.at(k).isSpace())
                    ++k;
                if (k == n || s.at(k) == QLatin1Char(';'))
                    end = k;
            }
        }
        if (end < 0) {
            end = s.indexOf(QLatin1Char(';'), v);
            if (end < 0)
                end = n;
        }
        p.value = s.mid(v, end - v);
        if (!p.key.isEmpty())
            pieces.append(p);
        i = end + 1;
    }
    return pieces;
}

// First value of any of `keys` (upper-cased), or null.
QString valueOf(const QList<Piece>& pieces, std::initializer_list<const char*> keys) {
    for (const Piece& p : pieces)
        for (const char* k : keys)
            if (p.key == QLatin1String(k))
                return p.value;
    return QString();
}

bool hasKey(const QList<Piece>& pieces, std::initializer_list<const char*> keys) {
    for (const Piece& p : pieces)
        for (const char* k : keys)
            if (p.key == QLatin1String(k))
                return true;
    return false;
}

// The value an ODBC driver reads from a raw value: braces removed.
QString unbrace(const QString& raw) {
    const QString t = raw.trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('{')) && t.endsWith(QLatin1Char('}')))
        return t.mid(1, t.size() - 2).replace(QLatin1String("}}"), QLatin1String("}"));
    return t;
}

// A value as an ODBC connection string must carry it: wrapped in braces
// (with "}" doubled) when it could otherwise end the value or start another
// key, so no value can add keys of its own.
QString odbcValue(const QString& v) {
    const bool needsBraces = v.contains(QLatin1Char(';')) || v.contains(QLatin1Char('{')) ||
                             v.contains(QLatin1Char('}')) ||
                             (!v.isEmpty() && (v.front().isSpace() || v.back().isSpace()));
    if (!needsBraces)
        return v;
    QString inner = v;
    inner.replace(QLatin1String("}"), QLatin1String("}}"));
    return QLatin1Char('{') + inner + QLatin1Char('}');
}

void appendKey(QString& out, const QString& key, const QString& value) {
    out += key + QLatin1Char('=') + odbcValue(value) + QLatin1Char(';');
}

// A database file of the embedded provider: a bare name is <folder><name>.db,
// a relative path is taken from the program folder.
QString sqliteFile(const QString& name, const ProviderSettings& settings) {
    const QString n = name.trimmed();
    if (n.isEmpty() || n == QLatin1String(":memory:"))
        return n;
    const bool bare = !n.contains(QLatin1Char('/'));
    if (bare) {
        QString file = n;
        if (!file.endsWith(QLatin1String(".db"), Qt::CaseInsensitive))
            file += QLatin1String(".db");
        return settings.programFolder + file;
    }
    if (QDir::isAbsolutePath(n) || settings.programFolder.isEmpty())
        return n;
    return QDir(settings.programFolder).filePath(n);
}

bool isSqliteDriver(const QString& driver) {
    return driver.contains(QLatin1String("sqlite"), Qt::CaseInsensitive);
}

// Keys of the SQL Server layout that the translation reads itself.
bool isSqlServerKey(const QString& key) {
    static const char* const keys[] = {"PROVIDER",
                                       "SERVER",
                                       "DATA SOURCE",
                                       "ADDRESS",
                                       "ADDR",
                                       "NETWORK ADDRESS",
                                       "DATABASE",
                                       "INITIAL CATALOG",
                                       "UID",
                                       "USER ID",
                                       "USER",
                                       "PWD",
                                       "PASSWORD",
                                       "PERSIST SECURITY INFO",
                                       "OLE DB SERVICES",
                                       "INTEGRATED SECURITY"};
    for (const char* k : keys)
        if (key == QLatin1String(k))
            return true;
    return false;
}

ProviderTarget sqlServerTarget(const QList<Piece>& pieces, const QString& user,
                               const QString& password, const ProviderSettings& settings) {
    ProviderTarget t;
    const QString server =
        unbrace(valueOf(pieces, {"SERVER", "DATA SOURCE", "ADDRESS", "ADDR", "NETWORK ADDRESS"}));
    const QString database = unbrace(valueOf(pieces, {"DATABASE", "INITIAL CATALOG"}));
    t.database = database;
    if (server.compare(QLatin1String("sqlite"), Qt::CaseInsensitive) == 0) {
        t.kind = ProviderTarget::Sqlite;
        t.target = sqliteFile(database, settings);
        return t;
    }
    t.kind = ProviderTarget::Odbc;
    const QString uid = user.isEmpty() ? valueOf(pieces, {"UID", "USER ID", "USER"}) : user;
    const QString pwd = password.isEmpty() ? valueOf(pieces, {"PWD", "PASSWORD"}) : password;
    const bool freeTds =
        settings.sqlServerDriver.contains(QLatin1String("freetds"), Qt::CaseInsensitive);

    QString host = server;
    QString port;
    const qsizetype comma = host.indexOf(QLatin1Char(','));
    if (comma >= 0 && freeTds) {
        port = host.mid(comma + 1).trimmed();
        host = host.left(comma).trimmed();
    }
    // "(local)" and "." name this workstation on the suite's Windows machines.
    const qsizetype slash = host.indexOf(QLatin1Char('\\'));
    const QString machine = slash < 0 ? host : host.left(slash);
    if (machine == QLatin1String("(local)") || machine == QLatin1String("."))
        host = QLatin1String("localhost") + (slash < 0 ? QString() : host.mid(slash));

    QString out;
    appendKey(out, QStringLiteral("DRIVER"), settings.sqlServerDriver);
    appendKey(out, QStringLiteral("SERVER"), host);
    if (!port.isEmpty())
        appendKey(out, QStringLiteral("PORT"), port);
    const bool sqliteDriver = isSqliteDriver(settings.sqlServerDriver);
    if (!database.isEmpty())
        appendKey(out, QStringLiteral("DATABASE"),
                  sqliteDriver ? sqliteFile(database, settings) : database);
    const bool trusted = unbrace(valueOf(pieces, {"INTEGRATED SECURITY"}))
                             .compare(QLatin1String("SSPI"), Qt::CaseInsensitive) == 0;
    if (trusted && uid.isEmpty()) {
        out += QLatin1String("Trusted_Connection=Yes;");
    } else if (!uid.isEmpty() || !pwd.isEmpty()) {
        appendKey(out, QStringLiteral("UID"), uid);
        appendKey(out, QStringLiteral("PWD"), pwd);
    }
    if (freeTds)
        out += QLatin1String("TDS_Version=7.4;ClientCharset=UTF-8;");
    if (sqliteDriver && !settings.sqliteExtension.isEmpty())
        appendKey(out, QStringLiteral("LoadExt"), settings.sqliteExtension);
    // Extra properties appended to the layout go on unchanged.
    for (const Piece& p : pieces) {
        if (isSqlServerKey(p.key))
            continue;
        appendKey(out, p.keyRaw, unbrace(p.value));
    }
    t.target = out;
    return t;
}

ProviderTarget oracleTarget(const QList<Piece>& pieces, const QString& user,
                            const QString& password, const ProviderSettings& settings) {
    ProviderTarget t;
    t.kind = ProviderTarget::Odbc;
    const QString source = unbrace(valueOf(pieces, {"DATA SOURCE", "DBQ", "SERVER"}));
    const QString uid = user.isEmpty() ? valueOf(pieces, {"USER ID", "UID", "USER"}) : user;
    const QString pwd = password.isEmpty() ? valueOf(pieces, {"PASSWORD", "PWD"}) : password;
    QString out;
    appendKey(out, QStringLiteral("DRIVER"), settings.oracleDriver);
    appendKey(out, QStringLiteral("DBQ"), source);
    appendKey(out, QStringLiteral("UID"), uid);
    appendKey(out, QStringLiteral("PWD"), pwd);
    t.target = out;
    return t;
}

// A plain ODBC string goes to the driver manager as written; only the given
// credentials, the removal of an ADO provider key and the function module of
// a SQLite driver change it.
ProviderTarget odbcTarget(const QString& s, const QList<Piece>& pieces, const QString& user,
                          const QString& password, const ProviderSettings& settings) {
    ProviderTarget t;
    t.kind = ProviderTarget::Odbc;
    t.database = unbrace(valueOf(pieces, {"DATABASE"}));
    const bool addExt = !settings.sqliteExtension.isEmpty() &&
                        isSqliteDriver(unbrace(valueOf(pieces, {"DRIVER"}))) &&
                        !hasKey(pieces, {"LOADEXT"});
    const bool change =
        !user.isEmpty() || !password.isEmpty() || addExt || hasKey(pieces, {"PROVIDER"});
    if (!change) {
        t.target = s;
        return t;
    }
    QString out;
    bool uidDone = false;
    bool pwdDone = false;
    for (const Piece& p : pieces) {
        if (p.key == QLatin1String("PROVIDER"))
            continue;
        if (p.key == QLatin1String("UID") && !user.isEmpty()) {
            if (!uidDone)
                appendKey(out, p.keyRaw, user);
            uidDone = true;
            continue;
        }
        if (p.key == QLatin1String("PWD") && !password.isEmpty()) {
            if (!pwdDone)
                appendKey(out, p.keyRaw, password);
            pwdDone = true;
            continue;
        }
        out += p.keyRaw + QLatin1Char('=') + p.value + QLatin1Char(';');
    }
    if (!user.isEmpty() && !uidDone)
        appendKey(out, QStringLiteral("UID"), user);
    if (!password.isEmpty() && !pwdDone)
        appendKey(out, QStringLiteral("PWD"), password);
    if (addExt)
        appendKey(out, QStringLiteral("LoadExt"), settings.sqliteExtension);
    t.target = out;
    return t;
}

ProviderSettings& settingsStore() {
    static ProviderSettings settings;
    return settings;
}

} // namespace

QMap<QString, QString> parseConnectionString(const QString& s) {
    QMap<QString, QString> map;
    for (const Piece& p : splitPieces(s))
        if (!map.contains(p.key))
            map.insert(p.key, p.value);
    return map;
}

ProviderTarget translateConnectionString(const QString& connectionString, const QString& user,
                                         const QString& password,
                                         const ProviderSettings& settings) {
    const QList<Piece> pieces = splitPieces(connectionString);
    const QString provider = unbrace(valueOf(pieces, {"PROVIDER"}));

    if (provider.contains(QLatin1String("OraOLEDB"), Qt::CaseInsensitive) ||
        provider.contains(QLatin1String("MSDAORA"), Qt::CaseInsensitive))
        return oracleTarget(pieces, user, password, settings);

    if (provider.startsWith(QLatin1String("Microsoft.Jet.OLEDB"), Qt::CaseInsensitive) ||
        provider.startsWith(QLatin1String("Microsoft.ACE.OLEDB"), Qt::CaseInsensitive)) {
        // A local database file: served by the embedded provider.
        ProviderTarget t;
        t.kind = ProviderTarget::Sqlite;
        t.database = unbrace(valueOf(pieces, {"DATA SOURCE"}));
        t.target = sqliteFile(t.database, settings);
        return t;
    }

    const bool odbc = hasKey(pieces, {"DSN", "DRIVER", "FILEDSN"});
    if (!odbc && (!provider.isEmpty() || hasKey(pieces, {"SERVER"})) &&
        !provider.startsWith(QLatin1String("MSDASQL"), Qt::CaseInsensitive))
        return sqlServerTarget(pieces, user, password, settings);

    return odbcTarget(connectionString, pieces, user, password, settings);
}

const ProviderSettings& providerSettings() {
    return settingsStore();
}

void setProviderSettings(const ProviderSettings& settings) {
    settingsStore() = settings;
}

} // namespace rp::db
