#include "db/provider/ConnectionString.h"

#include <gtest/gtest.h>

using namespace rp::db;

namespace {

ProviderSettings settings() {
    ProviderSettings s;
    s.programFolder = QStringLiteral("/opt/suite/");
    s.sqlServerDriver = QStringLiteral("FreeTDS");
    s.oracleDriver = QStringLiteral("Oracle 19 ODBC driver");
    return s;
}

ProviderTarget translate(const QString& cs, const ProviderSettings& s = settings(),
                         const QString& user = QString(), const QString& password = QString()) {
    return translateConnectionString(cs, user, password, s);
}

} // namespace

TEST(ConnectionStringParse, KeysAreTrimmedAndUpperCasedValuesKeptRaw) {
    const auto m = parseConnectionString(
        QStringLiteral("PROVIDER=SQLOLEDB;Server=SRV1\\INST;Database =EMPRESA;UId=operador;"
                       "Pwd= a b ;"));
    EXPECT_EQ(m.value("PROVIDER"), "SQLOLEDB");
    EXPECT_EQ(m.value("SERVER"), "SRV1\\INST");
    EXPECT_EQ(m.value("DATABASE"), "EMPRESA");
    EXPECT_EQ(m.value("UID"), "operador");
    EXPECT_EQ(m.value("PWD"), " a b ");
    EXPECT_FALSE(m.contains("DATABASE "));
}

TEST(ConnectionStringParse, BracedValuesAndUnescapedSemicolons) {
    const auto m = parseConnectionString(
        QStringLiteral("DRIVER={SQLite3};DATABASE={/tmp/a;b}}c.db};PWD=x;y;UID=u"));
    EXPECT_EQ(m.value("DRIVER"), "{SQLite3}");
    EXPECT_EQ(m.value("DATABASE"), "{/tmp/a;b}}c.db}");
    // A piece without "=" continues the value before it (layouts do not escape).
    EXPECT_EQ(m.value("PWD"), "x;y");
    EXPECT_EQ(m.value("UID"), "u");
}

TEST(ConnectionStringParse, FirstOccurrenceWinsAndEmptyInputIsEmpty) {
    const auto m = parseConnectionString(QStringLiteral("DSN=a;dsn=b;"));
    EXPECT_EQ(m.value("DSN"), "a");
    EXPECT_TRUE(parseConnectionString(QString()).isEmpty());
    EXPECT_TRUE(parseConnectionString(QStringLiteral(";;  ;")).isEmpty());
}

TEST(ConnectionStringTranslate, SqlServerLayoutBecomesFreeTdsString) {
    const ProviderTarget t = translate(
        QStringLiteral("PROVIDER=SQLOLEDB;Server=SRV1\\INST;Database =EMPRESA;UId=operador;Pwd=;"));
    EXPECT_EQ(t.kind, ProviderTarget::Odbc);
    EXPECT_EQ(t.database, "EMPRESA");
    EXPECT_EQ(t.target, "DRIVER=FreeTDS;SERVER=SRV1\\INST;DATABASE=EMPRESA;UID=operador;PWD=;"
                        "TDS_Version=7.4;ClientCharset=UTF-8;");
}

TEST(ConnectionStringTranslate, SqlServerPortAndLocalNames) {
    EXPECT_TRUE(translate(QStringLiteral("PROVIDER=SQLOLEDB;Server=db.example,1533;"
                                         "Database =E;UId=u;Pwd=p;"))
                    .target.startsWith("DRIVER=FreeTDS;SERVER=db.example;PORT=1533;DATABASE=E;"));
    EXPECT_TRUE(translate(QStringLiteral("PROVIDER=SQLOLEDB;Server=(local)\\QUIMERA;"
                                         "Database =E;UId=u;Pwd=p;"))
                    .target.startsWith("DRIVER=FreeTDS;SERVER=localhost\\QUIMERA;"));
    // Another SQL Server driver takes "host,port" as it is, and no FreeTDS keys.
    ProviderSettings ms = settings();
    ms.sqlServerDriver = QStringLiteral("ODBC Driver 18 for SQL Server");
    EXPECT_EQ(translate(QStringLiteral("PROVIDER=SQLOLEDB;Server=db,1533;Database =E;UId=u;"
                                       "Pwd=p;"),
                        ms)
                  .target,
              "DRIVER=ODBC Driver 18 for SQL Server;SERVER=db,1533;DATABASE=E;UID=u;PWD=p;");
}

TEST(ConnectionStringTranslate, CredentialsCannotInjectKeys) {
    const ProviderTarget t =
        translate(QStringLiteral("PROVIDER=SQLOLEDB;Server=S;Database =E;UId=u;Pwd=x;"), settings(),
                  QStringLiteral("op}er"), QStringLiteral("a;DRIVER={evil};b"));
    EXPECT_EQ(t.target, "DRIVER=FreeTDS;SERVER=S;DATABASE=E;UID={op}}er};"
                        "PWD={a;DRIVER={evil}};b};TDS_Version=7.4;ClientCharset=UTF-8;");
    // A password written into the layout unescaped keeps its semicolon.
    const ProviderTarget u =
        translate(QStringLiteral("PROVIDER=SQLOLEDB;Server=S;Database =E;UId=u;Pwd=se;creta;"));
    EXPECT_TRUE(u.target.contains("PWD={se;creta};")) << u.target.toStdString();
    // Leading and trailing blanks of a password survive.
    const ProviderTarget v =
        translate(QStringLiteral("PROVIDER=SQLOLEDB;Server=S;Database =E;UId=u;Pwd= pw ;"));
    EXPECT_TRUE(v.target.contains("PWD={ pw };")) << v.target.toStdString();
}

TEST(ConnectionStringTranslate, SqliteServerAnyCaseSelectsEmbeddedProvider) {
    for (const char* server : {"sqlite", "SQLite", "SQLITE", " sqlite "}) {
        const ProviderTarget t = translate(QStringLiteral("PROVIDER=SQLOLEDB;Server=%1;Database "
                                                          "=EMPRESA;UId=u;Pwd=;")
                                               .arg(QLatin1String(server)));
        EXPECT_EQ(t.kind, ProviderTarget::Sqlite) << server;
        EXPECT_EQ(t.target, "/opt/suite/EMPRESA.db") << server;
        EXPECT_EQ(t.database, "EMPRESA");
    }
    // The statistics database lives beside the main one.
    EXPECT_EQ(translate(QStringLiteral("PROVIDER=SQLOLEDB;Server=sqlite;Database =KS_ESTADISTICAS;"
                                       "UId=u;Pwd=;"))
                  .target,
              "/opt/suite/KS_ESTADISTICAS.db");
}

TEST(ConnectionStringTranslate, SqliteDatabasePaths) {
    auto target = [](const char* db) {
        return translate(QStringLiteral("PROVIDER=SQLOLEDB;Server=sqlite;Database =%1;UId=;Pwd=;")
                             .arg(QLatin1String(db)))
            .target;
    };
    EXPECT_EQ(target("/data/empresa.sqlite"), "/data/empresa.sqlite");
    EXPECT_EQ(target("demo.db"), "/opt/suite/demo.db");
    EXPECT_EQ(target("datos/empresa.db"), "/opt/suite/datos/empresa.db");
    EXPECT_EQ(target(":memory:"), ":memory:");
    ProviderSettings noFolder = settings();
    noFolder.programFolder.clear();
    EXPECT_EQ(
        translate(QStringLiteral("PROVIDER=SQLOLEDB;Server=sqlite;Database =X;"), noFolder).target,
        "X.db");
}

TEST(ConnectionStringTranslate, OracleLayout) {
    const ProviderTarget t = translate(QStringLiteral(
        "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=scott;Password=ti;ger;"));
    EXPECT_EQ(t.kind, ProviderTarget::Odbc);
    EXPECT_EQ(t.target, "DRIVER=Oracle 19 ODBC driver;DBQ=ORCL;UID=scott;PWD={ti;ger};");
    EXPECT_TRUE(t.database.isEmpty());
}

TEST(ConnectionStringTranslate, PlainOdbcStringsPassThrough) {
    const QString dsn = QStringLiteral("DSN=EMPRESA; UID=u; PWD=p");
    EXPECT_EQ(translate(dsn).target, dsn);
    EXPECT_EQ(translate(dsn).kind, ProviderTarget::Odbc);
    const QString drv = QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;DATABASE=x;");
    EXPECT_EQ(translate(drv).target, drv);
    EXPECT_EQ(translate(drv).database, "x");
    // Given credentials replace the string's own.
    EXPECT_EQ(translate(drv + "UID=a;PWD=b;", settings(), "c", "d;e").target,
              "DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;DATABASE=x;UID=c;PWD={d;e};");
    // An ADO provider key for ODBC sources is dropped.
    EXPECT_EQ(translate(QStringLiteral("Provider=MSDASQL.1;DSN=EMPRESA;")).target, "DSN=EMPRESA;");
}

TEST(ConnectionStringTranslate, SqliteOdbcDriverLoadsTheFunctionModule) {
    ProviderSettings s = settings();
    s.sqliteExtension = QStringLiteral("/opt/suite/lib/rp sql;ext.so");
    EXPECT_EQ(translate(QStringLiteral("DRIVER={SQLite3};DATABASE=/tmp/x.db;"), s).target,
              "DRIVER={SQLite3};DATABASE=/tmp/x.db;LoadExt={/opt/suite/lib/rp sql;ext.so};");
    // Not twice, and not for other drivers.
    EXPECT_EQ(translate(QStringLiteral("DRIVER={SQLite3};DATABASE=/x.db;LoadExt=/a.so;"), s).target,
              "DRIVER={SQLite3};DATABASE=/x.db;LoadExt=/a.so;");
    EXPECT_EQ(translate(QStringLiteral("DRIVER={PostgreSQL Unicode};"), s).target,
              "DRIVER={PostgreSQL Unicode};");
    // The SQL Server layout through a SQLite ODBC driver: the database is a file.
    s.sqlServerDriver = QStringLiteral("SQLite3");
    EXPECT_EQ(
        translate(QStringLiteral("PROVIDER=SQLOLEDB;Server=odbc;Database =EMPRESA;UId=;Pwd=;"), s)
            .target,
        "DRIVER=SQLite3;SERVER=odbc;DATABASE=/opt/suite/EMPRESA.db;"
        "LoadExt={/opt/suite/lib/rp sql;ext.so};");
}

TEST(ConnectionStringTranslate, JetFileIsServedByTheEmbeddedProvider) {
    const ProviderTarget t = translate(QStringLiteral(
        "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =/data/viejo.mdb;User ID=Admin;Password=;"));
    EXPECT_EQ(t.kind, ProviderTarget::Sqlite);
    EXPECT_EQ(t.target, "/data/viejo.mdb");
}

TEST(ConnectionStringSettings, ProcessWideSettingsRoundTrip) {
    const ProviderSettings before = providerSettings();
    ProviderSettings s = settings();
    s.sqlServerDriver = QStringLiteral("MyTDS");
    setProviderSettings(s);
    EXPECT_EQ(providerSettings().sqlServerDriver, "MyTDS");
    EXPECT_EQ(providerSettings().programFolder, "/opt/suite/");
    setProviderSettings(before);
}
