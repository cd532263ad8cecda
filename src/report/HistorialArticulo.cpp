#include "report/HistorialArticulo.h"

#include "db/DB_Dll.h"
#include "db/provider/Recordset.h"
#include "report/engine/FormatoValores.h"
#include "report/engine/ValoresFormula.h"
#include "suite/Utilidades.h"

#include <cstdlib>

namespace rp::report {

namespace {

constexpr int kAnchoCodigo = 25;

std::optional<QDateTime> fecha(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    if (v.typeId() == QMetaType::QDate)
        return QDateTime(v.toDate(), QTime(0, 0));
    return rp::motor::ValoresFormula::aFechaHora(v.toString());
}

} // namespace

QString HistorialArticulo::sentencia() {
    return QStringLiteral(
        "SELECT V_MV_PRECIOSHIS.IDLISTA, V_MA_PRECIOSCAB.NOMBRE, V_MV_PRECIOSHIS.FECHAHORA, "
        "V_MV_PRECIOSHIS.USUARIO, V_MV_PRECIOSHIS.COSTO, V_MV_PRECIOSHIS.PRECIO1, "
        "V_MV_PRECIOSHIS.PRECIO2, V_MV_PRECIOSHIS.PRECIO3, V_MV_PRECIOSHIS.PRECIO4, "
        "V_MV_PRECIOSHIS.PRECIO5, V_MV_PRECIOSHIS.PRECIO6, V_MV_PRECIOSHIS.PRECIO7, "
        "V_MV_PRECIOSHIS.PRECIO8 FROM dbo.V_MV_PRECIOSHIS with(nolock) LEFT OUTER JOIN "
        "dbo.V_MA_PRECIOSCAB with(nolock) ON V_MA_PRECIOSCAB.IDLISTA = V_MV_PRECIOSHIS.IDLISTA "
        "WHERE V_MV_PRECIOSHIS.IDARTICULO = ? ORDER BY V_MV_PRECIOSHIS.FECHAHORA, "
        "V_MV_PRECIOSHIS.IDLISTA");
}

QList<HistorialArticulo::Cambio> HistorialArticulo::leer(rp::db::DB_Dll& base,
                                                         const QString& codigo) {
    QList<Cambio> out;
    const QString guardado = rp::suite::Utilidades::FormatoCodigo(codigo.trimmed(), kAnchoCodigo);
    QString sql = sentencia();
    rp::db::Recordset rs;
    base.AbrirRecordsetConValores(sql, {guardado}, rs);
    if (!rs.isOpen())
        return out;
    while (!rs.eof()) {
        Cambio c;
        c.lista = rs.value(0).toString().trimmed();
        c.nombreLista = rs.value(1).toString().trimmed();
        c.fecha = fecha(rs.value(2)).value_or(QDateTime());
        c.usuario = rs.value(3).toString().trimmed();
        for (int k = 0; k < CantidadClases; ++k)
            c.valores[k] = rs.value(4 + k).toDouble();
        out << c;
        rs.moveNext();
    }
    base.CierraRecordset(rs);
    return out;
}

QMap<QString, QList<HistorialArticulo::Punto>>
HistorialArticulo::series(const QList<Cambio>& cambios, int clase) {
    QMap<QString, QList<Punto>> out;
    if (clase < 0 || clase >= CantidadClases)
        return out;
    for (const Cambio& c : cambios)
        out[c.lista].append(Punto{c.fecha, c.valores[clase], c.usuario});
    return out;
}

QList<QPointF> HistorialArticulo::trazo(const QList<Punto>& serie) {
    QList<QPointF> out;
    for (const Punto& p : serie) {
        const double x = static_cast<double>(p.fecha.toMSecsSinceEpoch());
        if (!out.isEmpty())
            out << QPointF(x, out.last().y());
        out << QPointF(x, p.valor);
    }
    return out;
}

const HistorialArticulo::Punto* HistorialArticulo::puntoCercano(const QList<Punto>& serie,
                                                                const QDateTime& momento) {
    const Punto* mejor = nullptr;
    qint64 distancia = 0;
    for (const Punto& p : serie) {
        const qint64 d = std::llabs(p.fecha.msecsTo(momento));
        if (!mejor || d < distancia) {
            mejor = &p;
            distancia = d;
        }
    }
    return mejor;
}

QString HistorialArticulo::textoPunto(const QString& lista, const Punto& punto) {
    const rp::motor::FormatoValores formato;
    rp::motor::FormatoColumna fecha;
    fecha.tipo = rp::motor::FormatoColumna::FechaHora;
    rp::motor::FormatoColumna numero;
    numero.tipo = rp::motor::FormatoColumna::Numero;
    return QStringLiteral("Lista %1\n%2\n%3\n%4")
        .arg(lista, formato.mostrar(punto.fecha, fecha), formato.mostrar(punto.valor, numero),
             punto.usuario);
}

} // namespace rp::report
