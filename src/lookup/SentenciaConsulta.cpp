#include "lookup/SentenciaConsulta.h"

#include "db/TextoVb.h"
#include "lookup/ArchivoConsultas.h"
#include "suite/Utilidades.h"

#include <QFileInfo>
#include <cmath>
#include <limits>

namespace rp::lookup {

using rp::db::TextoVb;
using rp::suite::Utilidades;

namespace {

bool igual(const QString& a, const char* b) {
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

// A field of a definition record: bytes 0 and 255 removed, blanks trimmed.
QString limpio(const QString& campo) {
    return TextoVb::recortar(
        Utilidades::QuitarCaracter(campo, QString(QChar(0)), QString(QChar(0xFF))));
}

} // namespace

int SentenciaConsulta::limiteFilas(const QString& topConsArt) {
    const double v = Utilidades::NumeroInicial(topConsArt);
    // A bound below one row would make the statement fail; such values count
    // as missing.
    if (!std::isfinite(v) || std::llround(v) < 1)
        return 1000;
    if (v >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    return int(std::llround(v));
}

QString SentenciaConsulta::envolverCondicion(const QString& where) {
    const QString t = TextoVb::recortar(where);
    if (t.size() > 1 && !t.startsWith(QLatin1Char('(')))
        return QStringLiteral(" (") + where + QStringLiteral(") ");
    return where;
}

SentenciaConsulta::Resultado SentenciaConsulta::armar(const QString& sql, QString& where,
                                                      QString& campoBusqueda,
                                                      const QString& sentenciaOpcional,
                                                      const QString& rutaDefiniciones, int limite,
                                                      const LectorCampos& lector) {
    where = envolverCondicion(where);
    Resultado r;
    QString s = sql;
    if (TextoVb::contiene(s, QStringLiteral("SELECT"))) {
        if (TextoVb::contiene(s, QStringLiteral("V_MA_ARTICULOS")))
            s = Utilidades::ReemplazarTabla(s, QStringLiteral("V_MA_ARTICULOS"),
                                            QStringLiteral("VT_MA_ARTICULOS"));
        if (!TextoVb::recortar(where).isEmpty()) {
            if (!TextoVb::contiene(where, QStringLiteral("WHERE")))
                where = QStringLiteral(" WHERE ") + where;
            s += where;
        }
        r.sentencia = s;
        return r;
    }
    if (rutaDefiniciones.isEmpty()) {
        r.sentencia = automatica(s, where, campoBusqueda, sentenciaOpcional, limite, lector);
        return r;
    }
    if (!QFileInfo::exists(rutaDefiniciones)) {
        r.sentencia = s;
        return r;
    }
    const std::optional<RegistroConsulta> reg = ArchivoConsultas::buscar(rutaDefiniciones, s);
    if (!reg) {
        r.sentencia = automatica(s, where, campoBusqueda, sentenciaOpcional, limite, lector);
        return r;
    }

    const QString tablaRegistro = limpio(reg->Tabla);
    QString tabla = tablaRegistro;
    QString columnas = TextoVb::recortar(
        TextoVb::recortar(reg->Campos).replace(QLatin1Char('|'), QLatin1Char(',')));
    if (columnas.startsWith(QLatin1Char(',')))
        columnas.remove(0, 1);
    if (columnas.endsWith(QLatin1Char(',')))
        columnas.chop(1);
    if (TextoVb::recortar(columnas).isEmpty())
        columnas = QStringLiteral("*");
    if (campoBusqueda.isEmpty()) {
        const qsizetype coma = columnas.indexOf(QLatin1Char(','));
        if (coma < 0) {
            r.debeConfigurar = true;
            return r;
        }
        campoBusqueda = columnas.left(coma);
    }
    QString filtro = limpio(reg->Filtro);
    if (filtro.isEmpty() && !TextoVb::recortar(where).isEmpty())
        filtro = where;
    if (igual(tabla, "V_MA_ARTICULOS"))
        tabla = QStringLiteral("VT_MA_ARTICULOS");
    if (TextoVb::recortar(filtro).isEmpty()) {
        if (igual(tabla, "VT_PROVEEDORES") || igual(tabla, "VT_CLIENTES"))
            filtro = QStringLiteral("Dada_De_Baja = 0");
        else if (igual(tablaRegistro, "V_MA_ARTICULOS"))
            filtro = QStringLiteral("SUSPENDIDO = 0");
    }
    const QString condicion =
        (TextoVb::recortar(filtro).isEmpty() ? QString() : QStringLiteral(" WHERE ")) + filtro;
    const QString inicio = QStringLiteral("SELECT TOP ") + QString::number(limite) +
                           QLatin1Char(' ') + columnas + QStringLiteral(" FROM ") + tabla;
    if (!campoBusqueda.isEmpty())
        r.sentencia = inicio + QStringLiteral("  with(nolock) ") + condicion +
                      QStringLiteral(" ORDER BY ") + campoBusqueda;
    else
        r.sentencia = inicio + QStringLiteral(" with(nolock) ") + condicion;
    return r;
}

QString SentenciaConsulta::automatica(const QString& tabla, const QString& where,
                                      QString& campoBusqueda, const QString& sentenciaOpcional,
                                      int limite, const LectorCampos& lector) {
    if (!sentenciaOpcional.isEmpty())
        return sentenciaOpcional;
    QString columnas;
    if (igual(tabla, "V_TA_DEPOSITO")) {
        columnas = QStringLiteral("Descripcion,IdDeposito,UnidadNegocio,");
        campoBusqueda = QStringLiteral("IDDEPOSITO");
    } else if (lector) {
        const bool conId = igual(tabla, "v_mv_mutuales") || igual(tabla, "V_MV_TROPA_STOCK");
        const std::optional<QStringList> campos =
            lector(QStringLiteral("select top 1 * from ") + tabla);
        for (const QString& n : campos.value_or(QStringList())) {
            if (igual(n, "ID") || igual(n, "FECHAHORA_MODIFICACION") ||
                igual(n, "FECHAHORA_GRABACION")) {
                if (!conId)
                    continue;
                campoBusqueda = n;
            } else if (igual(n, "DESCRIPCION") || igual(n, "NOMBRE") || igual(n, "DETALLE")) {
                campoBusqueda = n;
            } else if (TextoVb::recortar(columnas).isEmpty()) {
                campoBusqueda = n;
            }
            columnas = n + QLatin1Char(',') + columnas;
        }
    }
    if (TextoVb::recortar(columnas).isEmpty())
        columnas = QStringLiteral(" * ");
    else
        columnas.chop(1);
    const QString filtro = QLatin1Char(' ') + where;
    return QStringLiteral("SELECT TOP ") + QString::number(limite) + QLatin1Char(' ') + columnas +
           QStringLiteral(" FROM ") + tabla +
           (TextoVb::recortar(filtro).isEmpty() ? QString() : QStringLiteral(" WHERE ")) + filtro +
           QStringLiteral(" ORDER BY ") + campoBusqueda;
}

} // namespace rp::lookup
