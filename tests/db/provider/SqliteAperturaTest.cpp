#include "ProviderTestSupport.h"

#include <QFile>
#include <QFileInfo>
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
