#include "startup/Configuracion.h"

#include "db/DB_Dll.h"
#include "db/TextoVb.h"
#include "startup/AvisoError.h"
#include "startup/Sesion.h"
#include "suite/Aplicacion.h"
#include "suite/Utilidades.h"

#include <cmath>
#include <limits>

namespace rp::startup {

using rp::db::DB_Dll;
using rp::db::DbError;
using rp::db::Recordset;
using rp::suite::Utilidades;

ConfiguracionCargada& configuracion() {
    static ConfiguracionCargada c;
    return c;
}

DB_Dll& gDBEstadisticas() {
    static DB_Dll db;
    return db;
}

namespace regla {

bool si(const QString& v) {
    return v.compare(QLatin1String("SI"), Qt::CaseInsensitive) == 0;
}
bool siRecortado(const QString& v) {
    return si(v.trimmed());
}
bool noEsNo(const QString& v) {
    return v.trimmed().compare(QLatin1String("NO"), Qt::CaseInsensitive) != 0;
}
bool salvoNo(const QString& v) {
    if (v.trimmed().isEmpty())
        return false;
    return v.compare(QLatin1String("NO"), Qt::CaseInsensitive) != 0;
}
qint16 numero(const QString& v) {
    const double n = std::round(Utilidades::NumeroInicial(v));
    if (n > std::numeric_limits<qint16>::max() || n < std::numeric_limits<qint16>::min())
        return 0;
    return static_cast<qint16>(n);
}
double importe(const QString& v) {
    return Utilidades::TextoANumero(v);
}
quint32 color(const QString& v) {
    const double n = std::round(importe(v));
    if (n < 0 || n > 4294967295.0)
        return 0;
    return static_cast<quint32>(n);
}

} // namespace regla

namespace {

QString leerClave(DB_Dll& db, const QString& rutina, const QString& Clave, QString& ValorAux) {
    ConfiguracionCargada& cfg = configuracion();
    if (cfg.TablaConfiguracion.trimmed().isEmpty())
        cfg.TablaConfiguracion = QStringLiteral("TA_CONFIGURACION");
    const QString clave = Clave.trimmed();
    const QString literal = rp::db::TextoVb::duplicarApostrofes(clave);
    QString sql = QStringLiteral("SELECT VALOR, valoraux FROM ") + cfg.TablaConfiguracion +
                  QStringLiteral(" with(nolock)  WHERE CLAVE = '") + literal + QLatin1Char('\'');
    if (clave.compare(QLatin1String("[FECHA HASTA]"), Qt::CaseInsensitive) == 0 ||
        clave.compare(QLatin1String("[FECHA DESDE]"), Qt::CaseInsensitive) == 0)
        sql = sql.toUpper();

    Recordset rs;
    QString resultado;
    // Steps after the open; a failure asks the operator, who may only ignore.
    auto fallo = [&](const DbError& e) {
        const int r = AvisoError(rp::suite::CodErr{e.number(), e.description(), e.source()},
                                 std::nullopt, rutina);
        if (r == 5)
            return true;
        try {
            db.CierraRecordset(rs);
        } catch (const DbError&) {
        }
        return false;
    };
    db.AbrirRecordset(sql, rs, nullptr, rp::db::adOpenForwardOnly, rp::db::adLockReadOnly, -1,
                      true);
    try {
        if (!rs.isOpen() || rs.eof()) {
            resultado = QStringLiteral(" ");
            ValorAux.clear();
        } else {
            resultado = Utilidades::TextoDeValor(rs.value(0));
            ValorAux = Utilidades::TextoDeValor(rs.value(1));
        }
    } catch (const DbError& e) {
        if (!fallo(e))
            return QString();
    }
    db.CierraRecordset(rs);
    if (clave.compare(QLatin1String("THEME"), Qt::CaseInsensitive) == 0 &&
        resultado.trimmed().isEmpty())
        resultado = QStringLiteral("1");
    return resultado;
}

} // namespace

QString Cfg(const QString& Clave, QString& ValorAux) {
    DB_Dll& db = rp::db::baseCompartida();
    if (!db.gOpenFlag)
        return QString();
    return leerClave(db, QStringLiteral("Cfg"), Clave, ValorAux);
}

QString Cfg(const QString& Clave) {
    QString aux;
    return Cfg(Clave, aux);
}

QString CfgKS(const QString& Clave, QString& ValorAux) {
    return leerClave(gDBEstadisticas(), QStringLiteral("CfgKS"), Clave, ValorAux);
}

void GrabaCfgKS(const QString& Clave, const QVariant& Valor, const QString& ValorAux,
                bool PoliticaNegocio, const QString& Grupo, bool RecortarValor) {
    DB_Dll& db = gDBEstadisticas();
    ConfiguracionCargada& cfg = configuracion();
    if (cfg.TablaConfiguracion.trimmed().isEmpty())
        cfg.TablaConfiguracion = QStringLiteral("TA_CONFIGURACION");
    const QString clave = rp::db::TextoVb::duplicarApostrofes(Clave);
    QString sql = QStringLiteral("SELECT * FROM ") + cfg.TablaConfiguracion +
                  QStringLiteral(" with(nolock)  WHERE CLAVE = '") + clave + QLatin1Char('\'');
    Recordset rs;
    // Every step is skipped silently when it fails.
    auto paso = [](auto&& f) {
        try {
            f();
        } catch (const DbError&) {
        }
    };
    if (!db.gCnn)
        return;
    paso([&] {
        db.AbrirRecordset(sql, rs, db.gCnn.get(), rp::db::adOpenDynamic, rp::db::adLockOptimistic,
                          -1, true);
    });
    if (!rs.isOpen())
        return;
    paso([&] {
        if (rs.eof())
            rs.addNew();
    });
    paso([&] { rs.setValue(QStringLiteral("Grupo"), Utilidades::TextoDeValor(Grupo)); });
    paso([&] { rs.setValue(QStringLiteral("Clave"), Clave.trimmed().toUpper()); });
    paso([&] {
        const QString v = Utilidades::TextoDeValor(Valor);
        rs.setValue(QStringLiteral("Valor"), RecortarValor ? v.trimmed() : v);
    });
    paso([&] { rs.setValue(QStringLiteral("PoliticaNegocio"), PoliticaNegocio ? 1 : 0); });
    if (!ValorAux.isEmpty())
        paso([&] { rs.setValue(QStringLiteral("ValorAux"), ValorAux.trimmed()); });
    paso([&] { rs.update(); });
    paso([&] { db.CierraRecordset(rs); });
}

void CargaConfiguracion(const QString& CarpetaPrograma) {
    ConfiguracionCargada& c = configuracion();
    c.TablaConfiguracion = QStringLiteral("ta_configuracion");
    auto leer = [](const char* clave) {
        try {
            return Cfg(QString::fromLatin1(clave));
        } catch (const DbError&) {
            return QString();
        }
    };
    c.MostrarStockenConsultas =
        regla::si(Utilidades::TextoDeValor(leer("MostrarStockenConsultas")));
    c.TituloClientes = leer("TituloClientes").trimmed();
    c.TituloProveedores = leer("TituloProveedores").trimmed();
    c.ArchivoDocTareas = CarpetaPrograma + QStringLiteral("KSDOCTareas.kst");
    c.EXIGECLAVECONSULTALIKEARTICULOS = regla::si(leer("EXIGECLAVECONSULTALIKEARTICULOS"));
    c.UsaConsultaLike = regla::si(leer("UsaConsultaLike"));
    c.CantidadDecimales = leer("CantidadDecimales");
    c.SS_CONFIDENCIALIDAD = regla::si(leer("SS_CONFIDENCIALIDAD"));
    DB_Dll::setConfidencialidad(c.SS_CONFIDENCIALIDAD);
    static const QStringList programasVentas = {
        "V_MV_VENTAS",     "FS_V_MV_VENTAS",   "FS_V_MV_VENTASH",
        "FS_V_MV_COMANDA", "FS_V_MV_COMANDAH", "V_MV_VENTASPDV",
        "V_MV_PR",         "V_MV_OT",          "RP_DIFERIDA"};
    if (programasVentas.contains(rp::suite::Aplicacion::nombreEjecutable(), Qt::CaseInsensitive)) {
        const QString v = leer("CantidadDecimalesVentas");
        if (regla::numero(v) > 0)
            c.CantidadDecimales = v;
    }
    c.UsaMultilesMonedas = regla::si(leer("UsaMultilesMonedas"));
    c.UsaFacturaProforma = regla::si(leer("UsaFacturaProforma"));
    c.USACCOSTO = regla::si(leer("USACCOSTO"));
    c.USA_STK_STOCK_UDKG = regla::si(leer("USA_STK_STOCK_UDKG"));

    // The user's row: unit of business and the pro-forma permission.
    try {
        DB_Dll& db = rp::db::baseCompartida();
        const QString usuario = rp::db::TextoVb::duplicarApostrofes(sesion().gUsuarioLogeado);
        QString sql = QStringLiteral("Select * from ta_usuarios  with(nolock)  where Nombre = '") +
                      usuario + QLatin1Char('\'');
        Recordset rs;
        db.AbrirRecordset(sql, rs);
        if (rs.isOpen() && !rs.eof()) {
            c.UNegocio = Utilidades::TextoDeValor(rs.value(QStringLiteral("UNegocio")));
            if (c.UsaFacturaProforma) {
                const QVariant v = rs.value(QStringLiteral("verproforma"));
                c.UsaFacturaProforma = !v.isNull() && v.toInt() != 0;
            }
        }
        db.CierraRecordset(rs);
    } catch (const DbError&) {
    }
    if (c.UNegocio.isEmpty())
        c.UNegocio = QStringLiteral("   1");

    c.UNIDADDEMEDIDA_M3 = leer("UNIDADDEMEDIDA_M3").trimmed();
    c.UNIDADDEMEDIDA_BL = leer("UNIDADDEMEDIDA_BL").trimmed();
    c.UNIDADDEMEDIDA_KG = leer("UNIDADDEMEDIDA_KG").trimmed();
    c.PERIODO = regla::numero(leer("PERIODO"));
    c.RazonSocialPorUneg = regla::siRecortado(leer("RazonSocialPorUneg"));
    c.VALIDACODIGOBARRA = regla::siRecortado(leer("VALIDACODIGOBARRA"));
    Sesion& s = sesion();
    s.gColorFondoFoco = regla::color(leer("CFondo"));
    if (s.gColorFondoFoco == 0)
        s.gColorFondoFoco = 16776960;
    s.gColorLetraFoco = regla::color(leer("CLetra"));
    c.ModuloOrdenDeTrabajo = regla::noEsNo(leer("ModuloOrdenDeTrabajo"));
    c.V_ModificaCPrecio = regla::salvoNo(leer("V_ModificaCPrecio"));
    c.C_ModificaCPrecio = regla::salvoNo(leer("C_ModificaCPrecio"));
    c.MADERERA = regla::salvoNo(leer("MADERERA"));
    c.MAD_TIRAS = leer("MAD_TIRAS").trimmed();
    c.MAD_P2 = leer("MAD_P2").trimmed();
    c.MAD_ML = leer("MAD_ML").trimmed();
    c.MAD_M2 = leer("MAD_M2").trimmed();
    c.MAD_HOJAS = leer("MAD_HOJAS").trimmed();
    c.MAD_ML_P2 = leer("MAD_ML_P2").trimmed();
    c.MAD_M2_P2 = leer("MAD_M2_P2").trimmed();
    c.MAD_ML_M2 = leer("MAD_ML_M2").trimmed();
    c.CuentaCtroDist = leer("CuentaCtroDist").trimmed();
    c.MaxDto = regla::importe(leer("MaxDto").trimmed());
    c.MaxDtoProforma = regla::importe(leer("MaxDtoProforma").trimmed());
    c.PideClave_StockNeg = regla::salvoNo(leer("PideClave_StockNeg"));
    c.PideClave_MarkUpBase = regla::salvoNo(leer("PideClave_MarkUpBase"));
    c.PideClave_LimiteCredito = regla::salvoNo(leer("PideClave_LimiteCredito"));
    c.SS_BloqueoActivo = regla::si(leer("SS_BloqueoActivo"));
    c.UTILIZARFECHADIA = regla::si(leer("UTILIZARFECHADIA"));
    c.AsignacionAutomaticaDeLoteING = regla::si(leer("AsignacionAutomaticaDeLoteING"));
    c.AsignacionAutomaticaDeLoteINGOP = regla::si(leer("AsignacionAutomaticaDeLoteINGOP"));
    c.CONDIVAEMPRESA = regla::numero(leer("CONDIVAEMPRESA"));
    if (c.CONDIVAEMPRESA == 0) {
        c.CONDIVAEMPRESA = regla::numero(leer("CONDIVA"));
        if (c.CONDIVAEMPRESA == 0)
            c.CONDIVAEMPRESA = 1;
    }
    c.Top_Default = leer("Top_Default");
    if (c.Top_Default.trimmed().isEmpty())
        c.Top_Default = QStringLiteral("1000");
}

} // namespace rp::startup
