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

namespace {

// One row of the article statement, as far as the scan needs it.
struct FilaArticulo {
    QString id;
    QString descripcion;
    std::optional<QDateTime> guardada;
};

void avisar(const QString& texto) {
    ui::operador().mensaje(texto, ui::estilo::OKOnly, QString());
}

} // namespace

bool EscaneoUltimoCosto::escribir(QList<Pendiente>& pendientes, Resultado& r) {
    if (pendientes.isEmpty())
        return true;
    db::Connection& cnn = base_.conexion();
    cnn.clearErrors();
    bool transaccion = false;
    try {
        cnn.beginTrans();
        transaccion = true;
    } catch (const db::DbError&) {
        // Without a transaction each update stands alone.
        cnn.clearErrors();
    }
    qint64 escritos = 0;
    for (const Pendiente& p : pendientes) {
        QString sql =
            QStringLiteral("UPDATE V_MA_ARTICULOS SET FHULTIMOCOSTO = ? WHERE IDARTICULO = ?");
        qint32 filas = 0;
        base_.EjecutaConsultaConValores(sql, {p.fecha, p.codigo}, filas);
        if (!cnn.errors().isEmpty()) {
            const QString texto = cnn.errors().first().description;
            cnn.clearErrors();
            if (transaccion) {
                try {
                    cnn.rollbackTrans();
                } catch (const db::DbError&) {
                    cnn.clearErrors();
                }
            }
            pendientes.clear();
            cartel_.CartelCerrar();
            avisar(texto);
            return false;
        }
        if (filas > 0)
            escritos += filas;
    }
    pendientes.clear();
    if (transaccion) {
        try {
            cnn.commitTrans();
        } catch (const db::DbError& e) {
            const QString texto =
                cnn.errors().isEmpty() ? e.description() : cnn.errors().first().description;
            cnn.clearErrors();
            cartel_.CartelCerrar();
            avisar(texto);
            return false;
        }
    }
    r.actualizados += escritos;
    return true;
}

EscaneoUltimoCosto::Resultado EscaneoUltimoCosto::ejecutar(const QString& lista, const QString& s) {
    Resultado r;
    auto informe = [&](const suite::CodErr& error) {
        cartel_.CartelCerrar();
        const int respuesta = Utilidades::MensajeError(error);
        if (respuesta == ui::vbRetry || respuesta == ui::vbIgnore)
            cartel_.CartelInicio(QStringLiteral("Calculando.."), true);
        return respuesta;
    };
    ReportePasos paso(informe);

    // The articles, read whole. Consecutive rows of one article with one
    // stored date (the statement lists an article once per history row) are
    // one entry: they find the same change.
    QList<FilaArticulo> articulos;
    QList<qint64> repeticiones;
    {
        db::Recordset rs;
        QString sql = sentenciaArticulos(s);
        const bool leido = paso([&] {
            articulos.clear();
            repeticiones.clear();
            base_.AbrirRecordset(sql, rs, nullptr, db::adOpenForwardOnly, db::adLockReadOnly, -1,
                                 true);
            if (!rs.isOpen())
                throw suite::CodErr{3704, QStringLiteral("No se pudo leer la lista de artículos"),
                                    QString()};
            while (!rs.eof()) {
                FilaArticulo f;
                f.id = Utilidades::TextoDeValor(rs.value(QStringLiteral("IdArticulo"))).trimmed();
                f.guardada = fechaDe(rs.value(QStringLiteral("fhultimocosto")));
                if (!articulos.isEmpty() && articulos.last().id == f.id &&
                    articulos.last().guardada == f.guardada) {
                    ++repeticiones.last();
                } else {
                    f.descripcion =
                        Utilidades::TextoDeValor(rs.value(QStringLiteral("Descripcion"))).trimmed();
                    articulos << f;
                    repeticiones << 1;
                }
                rs.moveNext();
            }
        });
        if (rs.isOpen())
            base_.CierraRecordset(rs);
        if (!leido) {
            cartel_.CartelCerrar();
            r.fallo = true;
            return r;
        }
    }

    const QString buscar =
        QStringLiteral("SELECT TOP 1 FECHAHORA FROM V_MV_PRECIOSHIS WHERE IDARTICULO = ? AND "
                       "IDLISTA = ? AND COSTO>0 AND FECHAHORA > ? ORDER BY FECHAHORA DESC");
    const QString buscarSinFecha =
        QStringLiteral("SELECT TOP 1 FECHAHORA FROM V_MV_PRECIOSHIS WHERE IDARTICULO = ? AND "
                       "IDLISTA = ? AND COSTO>0 ORDER BY FECHAHORA DESC");
    QList<Pendiente> pendientes;
    for (qsizetype i = 0; i < articulos.size(); ++i) {
        const FilaArticulo& a = articulos.at(i);
        bool cancelado = false;
        cartel_.CartelMostrar(cancelado, a.id, a.descripcion);
        if (cancelado) {
            r.cancelado = true;
            break;
        }
        const QString codigo = Utilidades::FormatoCodigo(a.id, 25);
        QDateTime encontrada;
        db::Recordset rs;
        QString sql = a.guardada ? buscar : buscarSinFecha;
        const QVariantList valores =
            a.guardada ? QVariantList{codigo, lista, *a.guardada} : QVariantList{codigo, lista};
        base_.AbrirRecordsetConValores(sql, valores, rs);
        if (!rs.isOpen()) {
            // The database layer has reported it and the operator gave up.
            r.fallo = true;
            break;
        }
        if (!rs.eof()) {
            if (const std::optional<QDateTime> d = fechaDe(rs.value(0)))
                encontrada = *d;
        }
        base_.CierraRecordset(rs);
        r.filas += repeticiones.at(i);
        if (hayQueActualizar(encontrada, a.guardada)) {
            pendientes << Pendiente{encontrada, codigo};
            if (pendientes.size() >= kLote && !escribir(pendientes, r)) {
                r.fallo = true;
                return r;
            }
        }
    }
    // What was found is written, also when the operator stopped the scan.
    if (!escribir(pendientes, r)) {
        r.fallo = true;
        return r;
    }
    r.completo = !r.cancelado && !r.fallo;
    cartel_.CartelCerrar();
    return r;
}

} // namespace rp::report
