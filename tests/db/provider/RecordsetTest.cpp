#include "BaseTemporal.h"

#include "db/provider/Recordset.h"

using namespace rp::db;
using rp::prueba::BaseTemporal;

namespace {

void makeAuxErr(BaseTemporal& db) {
    db.ejecutar(QStringLiteral(
        "CREATE TABLE AUX_ERR (Proceso VARCHAR(50) COLLATE MSSQL, fecha DATETIME, Error INT, "
        "Descripcion VARCHAR(250) COLLATE MSSQL, SQL TEXT COLLATE MSSQL, "
        "Pc VARCHAR(50) COLLATE MSSQL, Usuario VARCHAR(50) COLLATE MSSQL)"));
}

} // namespace

TEST(Recordset, BaseTableOfSingleTableStatements) {
    EXPECT_EQ(Recordset::baseTable(QStringLiteral("select  top 1 * from AUX_ERR  with(nolock) ")),
              QStringLiteral("AUX_ERR"));
    EXPECT_EQ(Recordset::baseTable(QStringLiteral(
                  "SELECT * FROM TA_CONFIGURACION with(nolock) WHERE CLAVE='TimeOut'")),
              QStringLiteral("TA_CONFIGURACION"));
    EXPECT_EQ(Recordset::baseTable(QStringLiteral("SELECT * FROM dbo.T a (NOLOCK) ORDER BY 1")),
              QStringLiteral("dbo.T"));
    EXPECT_EQ(Recordset::baseTable(QStringLiteral("SELECT * FROM [Mi Tabla]")),
              QStringLiteral("[Mi Tabla]"));
    EXPECT_EQ(Recordset::baseTable(QStringLiteral(
                  "SELECT (SELECT MAX(x) FROM U) AS m FROM T WHERE a IN (SELECT b FROM V)")),
              QStringLiteral("T"));
    EXPECT_TRUE(Recordset::baseTable(QStringLiteral("SELECT * FROM A, B")).isEmpty());
    EXPECT_TRUE(
        Recordset::baseTable(QStringLiteral("SELECT * FROM A LEFT JOIN B ON 1=1")).isEmpty());
    EXPECT_TRUE(
        Recordset::baseTable(QStringLiteral("SELECT * FROM A x INNER JOIN B ON 1=1")).isEmpty());
    EXPECT_TRUE(Recordset::baseTable(QStringLiteral("SELECT * FROM (SELECT 1) q")).isEmpty());
    EXPECT_TRUE(Recordset::baseTable(QStringLiteral("UPDATE T SET A=1")).isEmpty());
}

TEST(Recordset, EmptyResultIsBothBofAndEof) {
    BaseTemporal db;
    makeAuxErr(db);
    Recordset rs;
    rs.open(QStringLiteral("select  top 1 * from AUX_ERR  with(nolock) "), db.conexion);
    EXPECT_TRUE(rs.isOpen());
    EXPECT_TRUE(rs.bof());
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW(rs.value(0), DbError);
    EXPECT_THROW(rs.moveNext(), DbError);
    EXPECT_EQ(rs.fieldCount(), 7);
    EXPECT_EQ(rs.field(3).definedSize, 250);
    rs.close();
    EXPECT_FALSE(rs.isOpen());
    try {
        rs.close();
        ADD_FAILURE();
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), errc::NotAllowedClosed);
    }
}

TEST(Recordset, StreamsRowsWithCaseInsensitiveFieldNames) {
    BaseTemporal db;
    db.ejecutar(QStringLiteral("CREATE TABLE T (Codigo VARCHAR(4), Valor INT)"));
    db.ejecutar(QStringLiteral("INSERT INTO T VALUES ('a', 1), ('b', NULL)"));
    Recordset rs;
    rs.open(QStringLiteral("SELECT * FROM T ORDER BY Codigo"), db.conexion);
    EXPECT_FALSE(rs.bof());
    EXPECT_FALSE(rs.eof());
    EXPECT_EQ(rs.value(QStringLiteral("CODIGO")).toString(), QStringLiteral("a"));
    EXPECT_EQ(rs.fieldIndex(QStringLiteral("valor")), 1);
    EXPECT_EQ(rs.fieldIndex(QStringLiteral("nada")), -1);
    try {
        rs.value(QStringLiteral("nada"));
        ADD_FAILURE();
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), errc::ItemNotFound);
    }
    EXPECT_EQ(rs.recordCount(), -1);
    rs.moveNext();
    EXPECT_TRUE(rs.value(1).isNull());
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_FALSE(rs.bof());
    rs.moveFirst(); // forward-only: the statement runs again
    EXPECT_EQ(rs.value(0).toString(), QStringLiteral("a"));
}

TEST(Recordset, StaticRecordSetsMoveBackAndCount) {
    BaseTemporal db;
    db.ejecutar(QStringLiteral("CREATE TABLE T (A INT)"));
    db.ejecutar(QStringLiteral("INSERT INTO T VALUES (1), (2), (3)"));
    Recordset rs;
    rs.open(QStringLiteral("SELECT A FROM T ORDER BY A"), db.conexion, adOpenStatic);
    EXPECT_EQ(rs.recordCount(), 3);
    rs.moveLast();
    EXPECT_EQ(rs.value(0).toInt(), 3);
    rs.movePrevious();
    EXPECT_EQ(rs.value(0).toInt(), 2);
    rs.movePrevious();
    rs.movePrevious();
    EXPECT_TRUE(rs.bof());
}

TEST(Recordset, AddNewInsertsARow) {
    BaseTemporal db;
    makeAuxErr(db);
    Recordset rs;
    rs.open(QStringLiteral("select  top 1 * from AUX_ERR  with(nolock) "), db.conexion,
            adOpenDynamic, adLockOptimistic);
    ASSERT_TRUE(rs.isUpdatable());
    rs.addNew();
    rs.setValue(QStringLiteral("Proceso"), QStringLiteral("RP_TARIFARIO"));
    rs.setValue(QStringLiteral("fecha"), QDateTime(QDate(2024, 12, 31), QTime(10, 0)));
    rs.setValue(QStringLiteral("Error"), -2147217900);
    rs.setValue(QStringLiteral("Descripcion"), QStringLiteral("falla de O'Brien"));
    rs.setValue(QStringLiteral("SQL"), QStringLiteral("INSERT INTO X VALUES ('a')"));
    EXPECT_TRUE(rs.editPending());
    rs.update();
    EXPECT_FALSE(rs.editPending());
    rs.close();
    EXPECT_EQ(db.columna(QStringLiteral("SELECT Proceso || '|' || fecha || '|' || Error || '|' || "
                                        "Descripcion || '|' || SQL || '|' || "
                                        "IFNULL(Pc, 'null') FROM AUX_ERR")),
              QStringList{QStringLiteral("RP_TARIFARIO|2024-12-31 10:00:00|-2147217900|"
                                         "falla de O'Brien|INSERT INTO X VALUES ('a')|null")});
}

TEST(Recordset, UpdateMatchesTheRowOnItsOriginalValuesNullSafe) {
    BaseTemporal db;
    db.ejecutar(QStringLiteral("CREATE TABLE TA_CONFIGURACION (CLAVE VARCHAR(30) COLLATE MSSQL, "
                               "VALOR VARCHAR(50) COLLATE MSSQL, VALORAUX VARCHAR(50))"));
    db.ejecutar(QStringLiteral("INSERT INTO TA_CONFIGURACION VALUES ('TimeOut', '360', NULL), "
                               "('TimeOut2', '360', NULL), ('Otra', '1', 'x')"));
    Recordset rs;
    rs.open(QStringLiteral("SELECT * FROM TA_CONFIGURACION with(nolock) WHERE CLAVE='TimeOut'"),
            db.conexion, adOpenDynamic, adLockOptimistic);
    ASSERT_FALSE(rs.eof());
    rs.setValue(QStringLiteral("VALOR"), QStringLiteral("600"));
    rs.update();
    EXPECT_EQ(rs.value(QStringLiteral("VALOR")).toString(), QStringLiteral("600"));
    rs.close();
    EXPECT_EQ(db.columna(QStringLiteral("SELECT CLAVE || '=' || VALOR FROM TA_CONFIGURACION "
                                        "ORDER BY CLAVE")),
              (QStringList{QStringLiteral("Otra=1"), QStringLiteral("TimeOut=600"),
                           QStringLiteral("TimeOut2=360")}));
}

TEST(Recordset, UpdateOfARowChangedMeanwhileFails) {
    BaseTemporal db;
    db.ejecutar(QStringLiteral("CREATE TABLE T (A INT, B VARCHAR(5))"));
    db.ejecutar(QStringLiteral("INSERT INTO T VALUES (1, 'x')"));
    Recordset rs;
    rs.open(QStringLiteral("SELECT * FROM T"), db.conexion, adOpenStatic, adLockOptimistic);
    db.ejecutar(QStringLiteral("UPDATE T SET B = 'y'"));
    rs.setValue(QStringLiteral("A"), 2);
    try {
        rs.update();
        ADD_FAILURE();
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), errc::RowNotFound);
    }
    EXPECT_TRUE(rs.editPending());
    rs.cancelUpdate();
    rs.close();
    EXPECT_EQ(db.escalar(QStringLiteral("SELECT A FROM T")), QStringLiteral("1"));
}

TEST(Recordset, CloseWithAPendingEditRaises3219AndKeepsTheRowOut) {
    BaseTemporal db;
    makeAuxErr(db);
    Recordset rs;
    rs.open(QStringLiteral("select  top 1 * from AUX_ERR  with(nolock) "), db.conexion,
            adOpenDynamic, adLockOptimistic);
    rs.addNew();
    rs.setValue(QStringLiteral("Proceso"), QStringLiteral("X"));
    try {
        rs.close();
        ADD_FAILURE();
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), errc::NotAllowedContext);
    }
    EXPECT_TRUE(rs.isOpen());
    rs.cancelUpdate();
    rs.close();
    EXPECT_EQ(db.escalar(QStringLiteral("SELECT COUNT(*) FROM AUX_ERR")), QStringLiteral("0"));
}

TEST(Recordset, ReadOnlyAndJoinedRecordSetsRefuseUpdates) {
    BaseTemporal db;
    db.ejecutar(QStringLiteral("CREATE TABLE T (A INT)"));
    db.ejecutar(QStringLiteral("INSERT INTO T VALUES (1)"));
    Recordset ro;
    ro.open(QStringLiteral("SELECT * FROM T"), db.conexion);
    EXPECT_THROW(ro.addNew(), DbError);
    EXPECT_THROW(ro.setValue(QStringLiteral("A"), 2), DbError);
    Recordset joined;
    joined.open(QStringLiteral("SELECT * FROM T a, T b"), db.conexion, adOpenDynamic,
                adLockOptimistic);
    EXPECT_FALSE(joined.isUpdatable());
}

TEST(Recordset, StatementWithoutRowsLeavesTheRecordSetClosed) {
    BaseTemporal db;
    db.ejecutar(QStringLiteral("CREATE TABLE T (A INT)"));
    Recordset rs;
    rs.open(QStringLiteral("INSERT INTO T VALUES (1)"), db.conexion);
    EXPECT_FALSE(rs.isOpen());
    EXPECT_THROW(rs.eof(), DbError);
}

// A streamed row's values are taken from the statement when first read: any
// order, skipped columns, the same column twice, dates typed by the declared
// type, and the values of the row as it was fetched even when the same
// connection changes the table before they are read.
TEST(Recordset, StreamedValuesAreTheRowAsFetched) {
    BaseTemporal db;
    db.ejecutar(
        QStringLiteral("CREATE TABLE T (Codigo VARCHAR(4), Nombre VARCHAR(200), Alta DATETIME, "
                       "Valor INT)"));
    for (int i = 1; i <= 300; ++i)
        db.ejecutar(
            QStringLiteral("INSERT INTO T VALUES ('%1', '%2', '2024-02-%3 10:20:30.250', %1)")
                .arg(i)
                .arg(QString(150, QLatin1Char('x')) + QString::number(i))
                .arg(1 + i % 28, 2, 10, QLatin1Char('0')));
    Recordset rs;
    // Read straight from the table's pages (no sort), in insertion order.
    rs.open(QStringLiteral("SELECT * FROM T"), db.conexion);
    int fila = 0;
    while (!rs.eof()) {
        ++fila;
        if (fila % 3 == 0) {
            // Nothing read on this row.
        } else {
            const QString nombre = QString(150, QLatin1Char('x')) + QString::number(fila);
            if (fila % 2 == 0)
                db.ejecutar(QStringLiteral("UPDATE T SET Valor = -Valor, Nombre = 'cambiado', "
                                           "Alta = '1999-01-01' WHERE Codigo = '%1'")
                                .arg(fila));
            EXPECT_EQ(rs.value(3).toLongLong(), fila);
            EXPECT_EQ(rs.value(1).toString(), nombre);
            const QDateTime alta = rs.value(QStringLiteral("alta")).toDateTime();
            EXPECT_EQ(alta, QDateTime(QDate(2024, 2, 1 + fila % 28), QTime(10, 20, 30, 250)));
            EXPECT_EQ(rs.value(3).toLongLong(), fila);
        }
        rs.moveNext();
    }
    EXPECT_EQ(fila, 300);
}
