#include "report/EscaneoUltimoCosto.h"

#include "../db/DbPrueba.h"
#include "banner/Dll_Display.h"
#include "banner/Lbf_CtrlDisplay.h"
#include "suite/Utilidades.h"

#include <QRandomGenerator>

namespace {

using rp::report::EscaneoUltimoCosto;
using rp::suite::Utilidades;

QString cod(const QString& c) {
    return Utilidades::FormatoCodigo(c, 25);
}

// A small catalogue on a real SQLite file, shaped as the suite's views.
class EscaneoUltimoCostoTest : public rp::db::test::DbPrueba {
protected:
    rp::banner::Dll_Display cartel;

    void SetUp() override {
        DbPrueba::SetUp();
        abrir();
        sql(QStringLiteral(
            "CREATE TABLE V_MA_ARTICULOS (IDARTICULO VARCHAR(25) PRIMARY KEY, DESCRIPCION "
            "VARCHAR(100), IDRUBRO VARCHAR(4), CUENTAPROVEEDOR VARCHAR(20), IDFAMILIA "
            "VARCHAR(20), FHULTIMOCOSTO DATETIME)"));
        sql(QStringLiteral("CREATE TABLE V_MV_PRECIOSHIS (ID INTEGER PRIMARY KEY, IDARTICULO "
                           "VARCHAR(25), IDLISTA VARCHAR(4), FECHAHORA DATETIME, COSTO FLOAT)"));
    }
    void articulo(const QString& c, const QString& guardada = QString(),
                  const QString& familia = QStringLiteral("01")) {
        sql(QStringLiteral("INSERT INTO V_MA_ARTICULOS VALUES ('%1', 'Articulo %2', '   1', "
                           "'P1', '%3', %4)")
                .arg(cod(c), c, QString(familia).replace(QLatin1Char('\''), QLatin1String("''")),
                     guardada.isEmpty() ? QStringLiteral("NULL")
                                        : QLatin1Char('\'') + guardada + QLatin1Char('\'')));
    }
    void cambio(const QString& c, const QString& lista, const QString& fecha, double costo) {
        sql(QStringLiteral("INSERT INTO V_MV_PRECIOSHIS (IDARTICULO, IDLISTA, FECHAHORA, COSTO) "
                           "VALUES ('%1', '%2', '%3', %4)")
                .arg(cod(c), lista, fecha)
                .arg(costo));
    }
    QString guardada(const QString& c) {
        auto cur = db.conexion().execute(
            QStringLiteral("SELECT FHULTIMOCOSTO FROM V_MA_ARTICULOS WHERE IDARTICULO = ?"),
            nullptr, {cod(c)});
        if (!cur || !cur->fetch())
            return QStringLiteral("<sin fila>");
        const QVariant v = cur->value(0);
        if (v.isNull())
            return QString();
        if (v.typeId() == QMetaType::QDateTime)
            return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return v.toString().left(19).replace(QLatin1Char('T'), QLatin1Char(' '));
    }
    EscaneoUltimoCosto::Resultado escanear(const QString& s = QString()) {
        cartel.CartelInicio(QStringLiteral("Calculando.."), false);
        return EscaneoUltimoCosto(db, cartel).ejecutar(QStringLiteral("1"), s);
    }
};

TEST_F(EscaneoUltimoCostoTest, ReglasDeLaFechaDelUltimoCosto) {
    // No stored date: the latest change of the list with a cost above 0.
    articulo(QStringLiteral("1"));
    cambio(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("2024-01-01 08:00:00"), 10);
    cambio(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("2024-03-01 08:00:00"), 0);
    cambio(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("2024-02-01 08:00:00"), 12);
    cambio(QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("2024-05-01 08:00:00"), 5);
    // A change 5 seconds after the stored date: not written.
    articulo(QStringLiteral("2"), QStringLiteral("2024-02-01 10:00:00"));
    cambio(QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("2024-02-01 10:00:05"), 10);
    // Several later changes: the latest one.
    articulo(QStringLiteral("3"), QStringLiteral("2024-01-01 00:00:00"));
    cambio(QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("2024-03-01 09:30:00"), 7);
    cambio(QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("2024-02-01 09:30:00"), 7);
    // No history at all.
    articulo(QStringLiteral("4"));
    // 11 seconds later: written.
    articulo(QStringLiteral("5"), QStringLiteral("2024-01-01 00:00:00"));
    cambio(QStringLiteral("5"), QStringLiteral("1"), QStringLiteral("2024-01-01 00:00:11"), 3);
    // Only cost 0: never taken.
    articulo(QStringLiteral("6"));
    cambio(QStringLiteral("6"), QStringLiteral("1"), QStringLiteral("2024-01-01 00:00:00"), 0);

    const EscaneoUltimoCosto::Resultado r = escanear();
    EXPECT_TRUE(r.completo);
    // One row per history row (an article without history once).
    EXPECT_EQ(r.filas, 4 + 1 + 2 + 1 + 1 + 1);
    EXPECT_EQ(guardada(QStringLiteral("1")), QStringLiteral("2024-02-01 08:00:00"));
    EXPECT_EQ(guardada(QStringLiteral("2")), QStringLiteral("2024-02-01 10:00:00"));
    EXPECT_EQ(guardada(QStringLiteral("3")), QStringLiteral("2024-03-01 09:30:00"));
    EXPECT_EQ(guardada(QStringLiteral("4")), QString());
    EXPECT_EQ(guardada(QStringLiteral("5")), QStringLiteral("2024-01-01 00:00:11"));
    EXPECT_EQ(guardada(QStringLiteral("6")), QString());
    EXPECT_EQ(cartel.ventana(), nullptr); // closed at the end
    EXPECT_TRUE(cajas().isEmpty());

    // A second scan finds nothing newer.
    EXPECT_EQ(escanear().actualizados, 0);
}

TEST_F(EscaneoUltimoCostoTest, LaCondicionLimitaLosArticulosYAdmiteApostrofes) {
    articulo(QStringLiteral("1"), QString(), QStringLiteral("O'Brien"));
    articulo(QStringLiteral("2"), QString(), QStringLiteral("02"));
    cambio(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("2024-01-01 08:00:00"), 10);
    cambio(QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("2024-01-01 08:00:00"), 10);
    const EscaneoUltimoCosto::Resultado r =
        escanear(QStringLiteral(" V_MA_ARTICULOS.IDFAMILIA>='O''Brien'"));
    EXPECT_EQ(r.filas, 1);
    EXPECT_EQ(guardada(QStringLiteral("1")), QStringLiteral("2024-01-01 08:00:00"));
    EXPECT_EQ(guardada(QStringLiteral("2")), QString());
    EXPECT_TRUE(cajas().isEmpty());
}

// Cancel on the banner at the third article: the dates found before it are
// written (each is right on its own), the rest stays, and the scan is not
// complete, so the report does not run.
TEST_F(EscaneoUltimoCostoTest, CancelarDesdeElCartelGuardaLoHalladoYNoCompleta) {
    for (int i = 1; i <= 5; ++i) {
        articulo(QString::number(i));
        cambio(QString::number(i), QStringLiteral("1"),
               QStringLiteral("2024-01-0%1 08:00:00").arg(i), 10);
    }
    cartel.CartelInicio(QStringLiteral("Calculando.."), true);
    int mostrados = 0;
    QObject::connect(cartel.ventana(), &rp::banner::Lbf_CtrlDisplay::lineaCambiada, [&](int linea) {
        if (linea == 0 && ++mostrados == 3)
            cartel.ventana()->CmdDisplayCancelar_Click();
    });
    const EscaneoUltimoCosto::Resultado r =
        EscaneoUltimoCosto(db, cartel).ejecutar(QStringLiteral("1"), QString());
    EXPECT_TRUE(r.cancelado);
    EXPECT_FALSE(r.completo);
    EXPECT_EQ(r.actualizados, 2);
    EXPECT_EQ(guardada(QStringLiteral("1")), QStringLiteral("2024-01-01 08:00:00"));
    EXPECT_EQ(guardada(QStringLiteral("2")), QStringLiteral("2024-01-02 08:00:00"));
    EXPECT_EQ(guardada(QStringLiteral("3")), QString());
    EXPECT_EQ(guardada(QStringLiteral("5")), QString());
    EXPECT_TRUE(cajas().isEmpty());
    EXPECT_EQ(cartel.ventana(), nullptr);
}

// A database that refuses the updates (read-only, a trigger, a lost
// connection): one message, not one per article; the batch is rolled back,
// earlier batches stay, and the scan reports the failure.
TEST_F(EscaneoUltimoCostoTest, UnaActualizacionFallidaDetieneElEscaneoConUnMensaje) {
    const int total = EscaneoUltimoCosto::kLote + 50;
    db.conexion().beginTrans();
    for (int i = 1; i <= total; ++i) {
        articulo(QString::number(i));
        cambio(QString::number(i), QStringLiteral("1"), QStringLiteral("2024-02-01 08:00:00"), 10);
    }
    db.conexion().commitTrans();
    // The second batch meets an article the database refuses to change.
    sql(QStringLiteral("CREATE TRIGGER solo_lectura BEFORE UPDATE ON V_MA_ARTICULOS WHEN "
                       "NEW.IDARTICULO = '%1' BEGIN SELECT RAISE(ABORT, 'la base de datos es de "
                       "solo lectura'); END")
            .arg(cod(QString::number(total - 10))));
    op.responderMensaje(rp::ui::vbOK);
    const EscaneoUltimoCosto::Resultado r = escanear();
    EXPECT_TRUE(r.fallo);
    EXPECT_FALSE(r.completo);
    ASSERT_EQ(cajas().size(), 1);
    EXPECT_TRUE(cajas().first().texto.contains(QStringLiteral("solo lectura")))
        << cajas().first().texto.toStdString();
    EXPECT_EQ(r.actualizados, EscaneoUltimoCosto::kLote);
    EXPECT_EQ(guardada(QStringLiteral("1")), QStringLiteral("2024-02-01 08:00:00"));
    EXPECT_EQ(guardada(QString::number(total)), QString()) << "the failed batch is rolled back";
    EXPECT_EQ(cartel.ventana(), nullptr);
}

// On a connection that names Oracle the look-ups go through the database
// object as every statement does; their form (no TOP, no ROWNUM) runs as it
// is on both servers, so the scan completes.
TEST_F(EscaneoUltimoCostoTest, EnOracleLasBusquedasPasanPorLaBaseYCompletan) {
    articulo(QStringLiteral("1"));
    cambio(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("2024-01-01 08:00:00"), 10);
    db.gCnn->close();
    const QString oracle = dir.filePath(QStringLiteral("ORACLE.db"));
    ASSERT_TRUE(QFile::copy(archivo, oracle));
    datosSqlite(db, oracle);
    db.OpenServerADODB(false, 3, QString(), false, false);
    ASSERT_TRUE(db.gOpenFlag);
    rp::db::test::Traza traza(dir.filePath(QStringLiteral("traza.txt")));
    const EscaneoUltimoCosto::Resultado r = escanear();
    EXPECT_TRUE(r.completo);
    EXPECT_EQ(guardada(QStringLiteral("1")), QStringLiteral("2024-01-01 08:00:00"));
    QStringList busquedas;
    for (const QString& s : traza.escritas()) {
        if (s.contains(QStringLiteral("FECHAHORA) FROM V_MV_PRECIOSHIS")))
            busquedas << s;
    }
    ASSERT_EQ(busquedas.size(), 1) << traza.texto().toStdString();
    EXPECT_FALSE(busquedas.first().contains(QStringLiteral("TOP 1")));
    EXPECT_FALSE(busquedas.first().contains(QStringLiteral("ROWNUM")));
    EXPECT_TRUE(cajas().isEmpty());
}

// A random catalogue larger than several look-up blocks and write batches,
// against the rules computed here from the generated rows: the latest change
// of list 1 with a cost above 0, written when there is no stored date or it
// is more than 10 seconds later than the stored one.
TEST_F(EscaneoUltimoCostoTest, CoincideConElCalculoDirectoDeLasReglas) {
    QRandomGenerator azar(20240101);
    const QDateTime base(QDate(2024, 1, 1), QTime(0, 0));
    auto texto = [](const QDateTime& d) {
        return d.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    };
    const int total = 2 * EscaneoUltimoCosto::kBusqueda + 137;
    QHash<QString, QString> esperada;
    qint64 filas = 0;
    qint64 cambiados = 0;
    db.conexion().beginTrans();
    for (int i = 1; i <= total; ++i) {
        const QString c = QString::number(i);
        const int cambios = int(azar.bounded(6));
        filas += std::max(cambios, 1);
        QDateTime ultima;
        QList<QDateTime> fechas;
        for (int k = 0; k < cambios; ++k) {
            const QDateTime f = base.addSecs(qint64(azar.bounded(30 * 86400)));
            const QString lista = azar.bounded(4) == 0 ? QStringLiteral("2") : QStringLiteral("1");
            const double costo = azar.bounded(5) == 0 ? 0.0 : 1.0 + azar.bounded(100);
            cambio(c, lista, texto(f), costo);
            fechas << f;
            if (lista == QStringLiteral("1") && costo > 0 && (!ultima.isValid() || f > ultima))
                ultima = f;
        }
        // Stored: none, or near one of the changes (inside and outside the
        // 10 seconds), or after all of them.
        QString guardadaTexto;
        const int forma = int(azar.bounded(4));
        if (forma > 0 && !fechas.isEmpty()) {
            const QDateTime f = fechas.at(int(azar.bounded(int(fechas.size()))));
            guardadaTexto =
                texto(forma == 3 ? f.addDays(60) : f.addSecs(-qint64(azar.bounded(21))));
        }
        articulo(c, guardadaTexto);
        const bool escribe =
            ultima.isValid() &&
            (guardadaTexto.isEmpty() ||
             QDateTime::fromString(guardadaTexto, QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                     .secsTo(ultima) > 10);
        esperada.insert(c, escribe ? texto(ultima) : guardadaTexto);
        cambiados += escribe ? 1 : 0;
    }
    db.conexion().commitTrans();

    const EscaneoUltimoCosto::Resultado r = escanear();
    EXPECT_TRUE(r.completo);
    EXPECT_EQ(r.filas, filas);
    EXPECT_EQ(r.actualizados, cambiados);
    int distintos = 0;
    for (auto it = esperada.cbegin(); it != esperada.cend(); ++it) {
        if (guardada(it.key()) != it.value() && ++distintos <= 5)
            ADD_FAILURE() << "article " << it.key().toStdString() << ": "
                          << guardada(it.key()).toStdString() << " instead of "
                          << it.value().toStdString();
    }
    EXPECT_EQ(distintos, 0);
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(EscaneoUltimoCostoTest, SentenciaYReglaDeLosDiezSegundos) {
    EXPECT_EQ(EscaneoUltimoCosto::sentenciaArticulos(QString()),
              QStringLiteral("SELECT     dbo.V_MA_ARTICULOS.*, dbo.V_MV_PreciosHis.IdLista FROM    "
                             "     dbo.V_MA_ARTICULOS LEFT OUTER JOIN dbo.V_MV_PreciosHis ON "
                             "dbo.V_MA_ARTICULOS.IDARTICULO = dbo.V_MV_PreciosHis.IdArticulo"));
    EXPECT_TRUE(EscaneoUltimoCosto::sentenciaArticulos(QStringLiteral(" X>='1'"))
                    .endsWith(QStringLiteral(".IdArticulo Where  X>='1'")));
    const QDateTime t(QDate(2024, 1, 1), QTime(0, 0));
    EXPECT_TRUE(EscaneoUltimoCosto::hayQueActualizar(t, std::nullopt));
    EXPECT_FALSE(EscaneoUltimoCosto::hayQueActualizar(t.addSecs(10), t));
    EXPECT_TRUE(EscaneoUltimoCosto::hayQueActualizar(t.addMSecs(10001), t));
    EXPECT_FALSE(EscaneoUltimoCosto::hayQueActualizar(QDateTime(), std::nullopt));
}

} // namespace
