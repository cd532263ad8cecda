#include "BaseTemporal.h"

#include "db/provider/SqlServerText.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace rp::db;

namespace {

// A database made with SQLite alone, in the given journal mode, with one row.
void crearBase(const QString& path, const char* journal) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    const QByteArray sql = QByteArray("PRAGMA journal_mode=") + journal +
                           "; CREATE TABLE T (A INT); INSERT INTO T VALUES (7);";
    ASSERT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

QString modoDiario(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    QString modo;
    if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        modo = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return modo;
}

} // namespace

// An empty file is no database: it is refused, not turned into an empty one.
TEST(SqliteApertura, ArchivoVacioSeRechaza) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VACIA.db"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    Connection c;
    EXPECT_THROW(c.openWith(std::make_unique<SqliteProvider>(), path), DbError);
    EXPECT_FALSE(c.isOpen());
    EXPECT_EQ(QFileInfo(path).size(), 0);
}

// The journal mode belongs to whoever made the database.
TEST(SqliteApertura, NoCambiaElModoDeDiario) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("AJENA.db"));
    crearBase(path, "DELETE");
    {
        Connection c;
        c.openWith(std::make_unique<SqliteProvider>(), path);
        auto cur = c.execute(QStringLiteral("SELECT A FROM T"));
        ASSERT_TRUE(cur && cur->fetch());
    }
    EXPECT_EQ(modoDiario(path), QStringLiteral("delete"));
}

// Another process holding the database at the moment of opening: the open
// waits for it instead of failing with "database is locked".
TEST(SqliteApertura, AperturaEsperaAUnaBaseOcupada) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("OCUPADA.db"));
    crearBase(path, "DELETE");
    sqlite3* otro = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &otro), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(otro, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    std::thread soltar([otro] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        sqlite3_exec(otro, "COMMIT", nullptr, nullptr, nullptr);
    });
    Connection c;
    try {
        c.openWith(std::make_unique<SqliteProvider>(), path);
    } catch (const DbError& e) {
        ADD_FAILURE() << e.description().toStdString();
    }
    soltar.join();
    sqlite3_close(otro);
    ASSERT_TRUE(c.isOpen());
    auto cur = c.execute(QStringLiteral("SELECT A FROM T"));
    ASSERT_TRUE(cur && cur->fetch());
    EXPECT_EQ(cur->value(0).toInt(), 7);
}

// A WAL database in a folder the user may not write: the reports, which only
// read, still run. (Run as an unprivileged user: root writes anywhere.)
TEST(SqliteApertura, CarpetaDeSoloLecturaSeAbreParaLeer) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("EMPRESA.db"));
    crearBase(path, "WAL");
    ASSERT_EQ(modoDiario(path), QStringLiteral("wal"));
    // As the program leaves a database it closed: no shared-memory file
    // beside it (the read-only look above leaves one), and none can be made
    // in the read-only folder.
    QFile::remove(path + QStringLiteral("-shm"));
    ASSERT_FALSE(QFile::exists(path + QStringLiteral("-wal")) &&
                 QFileInfo(path + QStringLiteral("-wal")).size() > 0);
    const QByteArray carpeta = QFile::encodeName(dir.path());
    ASSERT_EQ(::chmod(carpeta.constData(), 0555), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    const pid_t hijo = ::fork();
    ASSERT_GE(hijo, 0);
    if (hijo == 0) {
        if (::geteuid() == 0 && ::setuid(65534) != 0)
            ::_exit(3);
        int rc = 1;
        try {
            Connection c;
            c.openWith(std::make_unique<SqliteProvider>(), path);
            auto cur = c.execute(QStringLiteral("SELECT A FROM T"));
            rc = (cur && cur->fetch() && cur->value(0).toInt() == 7) ? 0 : 2;
        } catch (...) {
            rc = 1;
        }
        ::_exit(rc);
    }
    int estado = 0;
    ASSERT_EQ(::waitpid(hijo, &estado, 0), hijo);
    ::chmod(carpeta.constData(), 0700);
    ASSERT_TRUE(WIFEXITED(estado));
    EXPECT_EQ(WEXITSTATUS(estado), 0) << "1: open or query failed, 2: wrong result";
}

namespace {

// The reverse of any order: an index built under it is stale for the
// program's collation.
int alReves(void*, int n1, const void* p1, int n2, const void* p2) {
    const int r = std::memcmp(p1, p2, size_t(std::min(n1, n2)));
    return r != 0 ? -r : n2 - n1;
}

// A database whose index on a MSSQL text column was built by another order,
// stamped with `version`.
void crearIndiceAjeno(const QString& path, int version) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    sqlite3_create_collation(db, "MSSQL", SQLITE_UTF8, nullptr, alReves);
    const QByteArray sql = "CREATE TABLE T (D VARCHAR(20) COLLATE MSSQL);"
                           "CREATE INDEX IX_T_D ON T (D);"
                           "INSERT INTO T VALUES ('cebra'), ('Ábaco'), ('abeja'), ('Ñandú');"
                           "CREATE TABLE RP_COLLATION (VERSION INTEGER NOT NULL);"
                           "INSERT INTO RP_COLLATION VALUES (" +
                           QByteArray::number(version) + ");";
    ASSERT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

QStringList enOrden(Connection& c) {
    QStringList out;
    auto cur = c.execute(QStringLiteral("SELECT D FROM T ORDER BY D"));
    while (cur && cur->fetch())
        out << cur->value(0).toString();
    return out;
}

} // namespace

// Indexes ordered by an older collation are rebuilt once, when the stamp is
// older than the program's order; a current stamp costs no rebuild.
TEST(SqliteApertura, IndicesDeOtroCotejoSeReconstruyen) {
    // Accented letters sort by their code after the plain ones.
    const QStringList correcto{QStringLiteral("abeja"), QStringLiteral("cebra"),
                               QStringLiteral("Ábaco"), QStringLiteral("Ñandú")};
    QTemporaryDir dir;
    const QString vieja = dir.filePath(QStringLiteral("VIEJA.db"));
    crearIndiceAjeno(vieja, 0);
    {
        Connection c;
        c.openWith(std::make_unique<SqliteProvider>(), vieja);
        EXPECT_EQ(enOrden(c), correcto);
        auto v = c.execute(QStringLiteral("SELECT VERSION FROM RP_COLLATION"));
        ASSERT_TRUE(v && v->fetch());
        EXPECT_EQ(v->value(0).toInt(), rp::db::mssql::kCollationVersion);
    }
    const QString actual = dir.filePath(QStringLiteral("ACTUAL.db"));
    crearIndiceAjeno(actual, rp::db::mssql::kCollationVersion);
    Connection c;
    c.openWith(std::make_unique<SqliteProvider>(), actual);
    EXPECT_NE(enOrden(c), correcto) << "a current stamp must not rebuild the indexes";
}
