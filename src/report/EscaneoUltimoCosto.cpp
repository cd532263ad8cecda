#include "report/EscaneoUltimoCosto.h"

#include "banner/Dll_Display.h"
#include "db/DB_Dll.h"
#include "report/ReportePasos.h"
#include "suite/Regional.h"
#include "suite/Utilidades.h"
#include "ui/Operador.h"

namespace rp::report {

using suite::Utilidades;

namespace {

std::optional<QDateTime> fechaDe(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    if (v.typeId() == QMetaType::QDateTime) {
        const QDateTime d = v.toDateTime();
        return d.isValid() ? std::optional<QDateTime>(QDateTime(d.date(), d.time())) : std::nullopt;
    }
    if (v.typeId() == QMetaType::QDate)
        return QDateTime(v.toDate(), QTime(0, 0));
    const QString t = v.toString().trimmed();
    if (t.isEmpty())
        return std::nullopt;
    QDateTime iso = QDateTime::fromString(t, Qt::ISODateWithMs);
    if (!iso.isValid())
        iso = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (iso.isValid())
        return QDateTime(iso.date(), iso.time());
    return suite::Regional::actual().textoAFechaHora(t);
}

} // namespace

EscaneoUltimoCosto::EscaneoUltimoCosto(db::DB_Dll& base, banner::Dll_Display& cartel)
    : base_(base), cartel_(cartel) {}

QString EscaneoUltimoCosto::sentenciaArticulos(const QString& s) {
    QString sql = QStringLiteral("SELECT     dbo.V_MA_ARTICULOS.*, dbo.V_MV_PreciosHis.IdLista") +
                  QStringLiteral(" FROM         dbo.V_MA_ARTICULOS LEFT OUTER JOIN") +
                  QStringLiteral(" dbo.V_MV_PreciosHis ON dbo.V_MA_ARTICULOS.IDARTICULO = "
                                 "dbo.V_MV_PreciosHis.IdArticulo");
    if (!s.isEmpty())
        sql += QStringLiteral(" Where ") + s;
    return sql;
}

bool EscaneoUltimoCosto::hayQueActualizar(const QDateTime& encontrada,
                                          const std::optional<QDateTime>& guardada) {
    if (!encontrada.isValid())
        return false;
    return !guardada || guardada->msecsTo(encontrada) > 10000;
}

EscaneoUltimoCosto::Resultado EscaneoUltimoCosto::ejecutar(const QString& lista, const QString& s) {
    Resultado r;
    db::Connection& cnn = base_.conexion();
    bool transaccion = false;
    auto informe = [&](const suite::CodErr& error) {
        cartel_.CartelCerrar();
        const int respuesta = Utilidades::MensajeError(error);
        if (respuesta == ui::vbRetry || respuesta == ui::vbIgnore)
            cartel_.CartelInicio(QStringLiteral("Calculando.."), false);
        return respuesta;
    };
    ReportePasos paso(informe);

    db::Recordset rs;
    QString sql = sentenciaArticulos(s);
    if (!paso([&] {
            base_.AbrirRecordset(sql, rs, nullptr, db::adOpenForwardOnly, db::adLockReadOnly, -1,
                                 true);
        })) {
        cartel_.CartelCerrar();
        r.completo = false;
        return r;
    }
    const QString buscar =
        QStringLiteral("SELECT TOP 1 FECHAHORA FROM V_MV_PRECIOSHIS WHERE IDARTICULO = ? AND "
                       "IDLISTA = ? AND COSTO>0 AND FECHAHORA > ? ORDER BY FECHAHORA DESC");
    const QString buscarSinFecha =
        QStringLiteral("SELECT TOP 1 FECHAHORA FROM V_MV_PRECIOSHIS WHERE IDARTICULO = ? AND "
                       "IDLISTA = ? AND COSTO>0 ORDER BY FECHAHORA DESC");
    const QString actualizar =
        QStringLiteral("UPDATE V_MA_ARTICULOS SET FHULTIMOCOSTO = ? WHERE IDARTICULO = ?");

    // The last look-up: an article comes once per history row, and rows of
    // the same article with the same stored date find the same change.
    QString ultimoCodigo;
    std::optional<QDateTime> ultimaGuardada;
    bool hayUltima = false;

    try {
        if (rs.isOpen() && cnn.isOpen()) {
            cnn.beginTrans();
            transaccion = true;
        }
    } catch (const db::DbError&) {
        transaccion = false;
    }

    while (rs.isOpen() && !rs.eof()) {
        bool fin = false;
        const bool seguir = paso([&] {
            const QString id =
                Utilidades::TextoDeValor(rs.value(QStringLiteral("IdArticulo"))).trimmed();
            const QString descripcion =
                Utilidades::TextoDeValor(rs.value(QStringLiteral("Descripcion"))).trimmed();
            bool cancelado = false;
            cartel_.CartelMostrar(cancelado, id, descripcion);
            if (cancelado) {
                fin = true;
                return;
            }
            const std::optional<QDateTime> guardada =
                fechaDe(rs.value(QStringLiteral("fhultimocosto")));
            const QString codigo = Utilidades::FormatoCodigo(id, 25);

            QDateTime encontrada;
            if (hayUltima && codigo == ultimoCodigo && guardada == ultimaGuardada) {
                encontrada = QDateTime();
            } else {
                std::unique_ptr<db::Cursor> c =
                    guardada ? cnn.execute(buscar, nullptr, {codigo, lista, *guardada})
                             : cnn.execute(buscarSinFecha, nullptr, {codigo, lista});
                if (c && c->fetch()) {
                    if (const std::optional<QDateTime> d = fechaDe(c->value(0)))
                        encontrada = *d;
                }
                ultimoCodigo = codigo;
                ultimaGuardada = guardada;
                hayUltima = true;
            }
            if (!hayQueActualizar(encontrada, guardada))
                return;
            try {
                qint64 filas = 0;
                cnn.clearErrors();
                cnn.execute(actualizar, &filas, {encontrada, codigo});
                if (filas > 0)
                    r.actualizados += filas;
            } catch (const db::DbError& e) {
                const QString texto =
                    cnn.errors().isEmpty() ? e.description() : cnn.errors().first().description;
                cnn.clearErrors();
                ui::operador().mensaje(texto, ui::estilo::OKOnly, QString());
            }
        });
        if (!seguir || fin) {
            r.completo = false;
            break;
        }
        ++r.filas;
        if (!paso([&] { rs.moveNext(); })) {
            r.completo = false;
            break;
        }
    }
    if (rs.isOpen())
        base_.CierraRecordset(rs);
    if (transaccion) {
        try {
            cnn.commitTrans();
        } catch (const db::DbError& e) {
            ui::operador().mensaje(e.description(), ui::estilo::OKOnly, QString());
        }
    }
    cartel_.CartelCerrar();
    return r;
}

} // namespace rp::report
