#include "report/EscaneoUltimoCosto.h"

#include "banner/Dll_Display.h"
#include "db/DB_Dll.h"
#include "report/ReportePasos.h"
#include "suite/Regional.h"
#include "suite/Utilidades.h"
#include "ui/Operador.h"

#include <QHash>
#include <QSet>
#include <algorithm>

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

QString EscaneoUltimoCosto::sentenciaUltimas(int articulos) {
    QString sql =
        QStringLiteral("SELECT A.IDARTICULO, (SELECT MAX(H.FECHAHORA) FROM V_MV_PRECIOSHIS H WHERE "
                       "H.IDARTICULO = A.IDARTICULO AND H.IDLISTA = ? AND H.COSTO > 0) AS FECHA "
                       "FROM V_MA_ARTICULOS A WHERE A.IDARTICULO IN (");
    for (int i = 0; i < articulos; ++i)
        sql += i == 0 ? QStringLiteral("?") : QStringLiteral(", ?");
    sql += QLatin1Char(')');
    return sql;
}

bool EscaneoUltimoCosto::buscarUltimas(const QList<FilaArticulo>& articulos, qsizetype inicio,
                                       qsizetype fin, const QString& lista,
                                       QHash<QString, QDateTime>& ultimas) {
    ultimas.clear();
    QVariantList valores{lista};
    QSet<QString> codigos;
    for (qsizetype i = inicio; i < fin; ++i) {
        const QString codigo = Utilidades::FormatoCodigo(articulos.at(i).id, 25);
        if (!codigo.isEmpty() && !codigos.contains(codigo)) {
            codigos.insert(codigo);
            valores << codigo;
        }
    }
    if (codigos.isEmpty())
        return true;
    QString sql = sentenciaUltimas(int(codigos.size()));
    db::Recordset rs;
    base_.AbrirRecordsetConValores(sql, valores, rs);
    if (!rs.isOpen())
        return false;
    while (!rs.eof()) {
        if (const std::optional<QDateTime> d = fechaDe(rs.value(1)))
            ultimas.insert(Utilidades::TextoDeValor(rs.value(0)).trimmed(), *d);
        rs.moveNext();
    }
    base_.CierraRecordset(rs);
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
            const int colId = rs.fieldIndex(QStringLiteral("IdArticulo"));
            const int colDescripcion = rs.fieldIndex(QStringLiteral("Descripcion"));
            const int colGuardada = rs.fieldIndex(QStringLiteral("fhultimocosto"));
            if (!rs.eof() && (colId < 0 || colDescripcion < 0 || colGuardada < 0)) {
                // Named as the provider names a missing column.
                (void)rs.value(colId < 0            ? QStringLiteral("IdArticulo")
                               : colDescripcion < 0 ? QStringLiteral("Descripcion")
                                                    : QStringLiteral("fhultimocosto"));
            }
            QVariant idAnterior, guardadaAnterior;
            while (!rs.eof()) {
                const QVariant idValor = rs.value(colId);
                const QVariant guardada = rs.value(colGuardada);
                // The same stored values as the row before: the same entry,
                // without making its texts again.
                if (!articulos.isEmpty() && idValor == idAnterior && guardada == guardadaAnterior) {
                    ++repeticiones.last();
                    rs.moveNext();
                    continue;
                }
                const QString id = Utilidades::TextoDeValor(idValor).trimmed();
                idAnterior = idValor;
                if (!articulos.isEmpty() && articulos.last().id == id &&
                    guardada == guardadaAnterior) {
                    ++repeticiones.last();
                } else {
                    FilaArticulo f;
                    f.id = id;
                    f.guardada = fechaDe(guardada);
                    f.descripcion = Utilidades::TextoDeValor(rs.value(colDescripcion)).trimmed();
                    articulos << f;
                    repeticiones << 1;
                    guardadaAnterior = guardada;
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

    // The latest change of every article of a block, in one statement; the
    // rules are applied to it here. The latest change with a cost above 0 is
    // later than the stored date exactly when there is any such change after
    // it, and then it is the one the rules take.
    QList<Pendiente> pendientes;
    QHash<QString, QDateTime> ultimas;
    for (qsizetype inicio = 0; inicio < articulos.size() && !r.cancelado && !r.fallo;
         inicio += kBusqueda) {
        const qsizetype fin = std::min<qsizetype>(inicio + kBusqueda, articulos.size());
        if (!buscarUltimas(articulos, inicio, fin, lista, ultimas)) {
            // The database layer has reported it and the operator gave up.
            r.fallo = true;
            break;
        }
        for (qsizetype i = inicio; i < fin; ++i) {
            const FilaArticulo& a = articulos.at(i);
            bool cancelado = false;
            cartel_.CartelMostrar(cancelado, a.id, a.descripcion);
            if (cancelado) {
                r.cancelado = true;
                break;
            }
            r.filas += repeticiones.at(i);
            const QDateTime encontrada = ultimas.value(a.id);
            if (hayQueActualizar(encontrada, a.guardada)) {
                pendientes << Pendiente{encontrada, Utilidades::FormatoCodigo(a.id, 25)};
                if (pendientes.size() >= kLote && !escribir(pendientes, r)) {
                    r.fallo = true;
                    return r;
                }
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
