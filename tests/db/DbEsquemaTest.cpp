#include "DbPrueba.h"

namespace rp::db::test {
namespace {

class DbEsquema : public DbPrueba {
protected:
    void SetUp() override {
        DbPrueba::SetUp();
        abrir();
        sql(QStringLiteral("CREATE TABLE TA_USUARIOS (nombre varchar(20), Administrador int)"));
        sql(QStringLiteral("CREATE TABLE MA_CLIENTES (Codigo varchar(10))"));
        sql(QStringLiteral("INSERT INTO MA_CLIENTES VALUES ('1')"));
        sql(QStringLiteral("CREATE VIEW V_MA_CLIENTES AS SELECT * FROM MA_CLIENTES"));
    }
};

TEST_F(DbEsquema, TablasYVistasPorNombreSinDueno) {
    EXPECT_TRUE(db.ExisteTablaDB(QStringLiteral("ta_usuarios")));
    EXPECT_TRUE(db.ExisteTablaDB(QStringLiteral(" TA_USUARIOS ")));
    EXPECT_TRUE(db.ExisteTablaDB(QStringLiteral("V_MA_CLIENTES"))) << "a view counts as a table";
    EXPECT_FALSE(db.ExisteTablaDB(QStringLiteral("dbo.TA_USUARIOS")));
    EXPECT_FALSE(db.ExisteTablaDB(QStringLiteral("[TA_USUARIOS]")));
    EXPECT_FALSE(db.ExisteTablaDB(QStringLiteral("NOEXISTE")));
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(DbEsquema, CatalogoIlegibleReintentarIgnorarAbortar) {
    // The catalogue cannot be read on a closed connection. Retry reads it
    // again (here after the connection came back); Ignore and Abort answer
    // that the table is not there.
    const QString cadena = db.gCnn->connectionString();
    db.gCnn->close();
    op.responderMensaje(ui::vbRetry);
    op.alMostrar = [&] { db.gCnn->open(cadena, QString(), QString()); };
    EXPECT_TRUE(db.ExisteTablaDB(QStringLiteral("TA_USUARIOS")));
    ASSERT_EQ(cajas().size(), 1);
    EXPECT_TRUE(cajas().first().titulo.endsWith(
        QStringLiteral("VerificaCampos -  Aviso al operador!!! - 5 ")))
        << cajas().first().titulo.toStdString();
    EXPECT_EQ(cajas().first().estilo, 18);

    for (int respuesta : {int(ui::vbIgnore), int(ui::vbAbort)}) {
        op.limpiar();
        db.gCnn->close();
        op.responderMensaje(respuesta);
        EXPECT_FALSE(db.ExisteTablaDB(QStringLiteral("TA_USUARIOS")));
        EXPECT_EQ(cajas().size(), 1);
        db.gCnn->open(cadena, QString(), QString());
    }
}

TEST_F(DbEsquema, CamposEnElCatalogoDeLaBase) {
    EXPECT_TRUE(db.ExisteCampoDB(QStringLiteral("TA_USUARIOS"), QStringLiteral(" administrador ")));
    EXPECT_FALSE(db.ExisteCampoDB(QStringLiteral("TA_USUARIOS"), QStringLiteral("Clave")));
    EXPECT_FALSE(db.ExisteCampoDB(QStringLiteral("NOEXISTE"), QStringLiteral("nombre")));
    const QString base = db.gDBName;
    db.gDBName = QStringLiteral("OTRA_BASE");
    EXPECT_FALSE(db.ExisteCampoDB(QStringLiteral("TA_USUARIOS"), QStringLiteral("nombre")))
        << "only the catalogue of the object's database counts";
    db.gDBName = base;
    db.gProveedor = QStringLiteral("OraOLEDB.Oracle.1");
    EXPECT_TRUE(db.ExisteCampoDB(QStringLiteral("TA_USUARIOS"), QStringLiteral("Clave")));
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(DbEsquema, AgregarCampoConValorPorDefecto) {
    Traza traza(dir.filePath(QStringLiteral("traza.log")));
    db.AddField(QStringLiteral("MA_CLIENTES"), QStringLiteral("Zona"),
                QStringLiteral("VARCHAR(10)"), false, QStringLiteral("'N'"));
    ASSERT_FALSE(traza.escritas().isEmpty());
    EXPECT_EQ(traza.escritas().last(), "ALTER TABLE dbo.MA_CLIENTES ADD Zona VARCHAR(10) Not Null  "
                                       "CONSTRAINT DF_MA_CLIENTES_Zona DEFAULT ('N')");
    EXPECT_TRUE(db.ExisteCampoDB(QStringLiteral("MA_CLIENTES"), QStringLiteral("Zona")));
    auto c = db.conexion().execute(QStringLiteral("SELECT Zona FROM MA_CLIENTES"));
    ASSERT_TRUE(c && c->fetch());
    EXPECT_EQ(c->value(0).toString(), "N");

    db.AddField(QStringLiteral("MA_CLIENTES"), QStringLiteral("Nota"), QStringLiteral("int"), true);
    EXPECT_EQ(traza.escritas().last(), "ALTER TABLE dbo.MA_CLIENTES ADD Nota int Null ");
    EXPECT_TRUE(db.ExisteCampoDB(QStringLiteral("MA_CLIENTES"), QStringLiteral("Nota")));
}

TEST_F(DbEsquema, UnCampoRechazadoQuedaEnLaListaDeErrores) {
    db.gCnn->clearErrors();
    db.AddField(QStringLiteral("MA_CLIENTES"), QStringLiteral("Obligatorio"), QStringLiteral("int"),
                false);
    EXPECT_FALSE(db.ExisteCampoDB(QStringLiteral("MA_CLIENTES"), QStringLiteral("Obligatorio")));
    EXPECT_FALSE(db.gCnn->errors().isEmpty());
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(DbEsquema, VerCampoAgregaSoloLoQueFalta) {
    Traza traza(dir.filePath(QStringLiteral("traza.log")));
    EXPECT_TRUE(db.VerCampoDB(QStringLiteral("MA_CLIENTES"), QStringLiteral("Codigo"), true,
                              QStringLiteral("int"), true));
    EXPECT_TRUE(db.VerCampoDB(QStringLiteral("NOEXISTE"), QStringLiteral("Codigo"), true,
                              QStringLiteral("int"), true));
    EXPECT_TRUE(db.VerCampoDB(QStringLiteral("MA_CLIENTES"), QStringLiteral("Saldo"), false,
                              QStringLiteral("float"), true));
    EXPECT_TRUE(traza.escritas().isEmpty());
    EXPECT_TRUE(db.VerCampoDB(QStringLiteral("MA_CLIENTES"), QStringLiteral("Saldo"), true,
                              QStringLiteral("float"), true, QStringLiteral("0")));
    EXPECT_TRUE(db.ExisteCampoDB(QStringLiteral("MA_CLIENTES"), QStringLiteral("Saldo")));
}

} // namespace
} // namespace rp::db::test
