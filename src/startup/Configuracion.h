#pragma once

#include <QString>
#include <QVariant>

namespace rp::db {
class DB_Dll;
}

namespace rp::startup {

// The configuration settings loaded once at start (key table of the suite's
// TA_CONFIGURACION); each bears the name of its key.
struct ConfiguracionCargada {
    QString TablaConfiguracion;
    bool MostrarStockenConsultas = false;
    QString TituloClientes;
    QString TituloProveedores;
    QString ArchivoDocTareas;
    bool EXIGECLAVECONSULTALIKEARTICULOS = false;
    bool UsaConsultaLike = false;
    QString CantidadDecimales;
    bool SS_CONFIDENCIALIDAD = false;
    bool UsaMultilesMonedas = false;
    bool UsaFacturaProforma = false;
    bool USACCOSTO = false;
    bool USA_STK_STOCK_UDKG = false;
    QString UNegocio;
    QString UNIDADDEMEDIDA_M3;
    QString UNIDADDEMEDIDA_BL;
    QString UNIDADDEMEDIDA_KG;
    qint16 PERIODO = 0;
    bool RazonSocialPorUneg = false;
    bool VALIDACODIGOBARRA = false;
    bool ModuloOrdenDeTrabajo = false;
    bool V_ModificaCPrecio = false;
    bool C_ModificaCPrecio = false;
    bool MADERERA = false;
    QString MAD_TIRAS, MAD_P2, MAD_ML, MAD_M2, MAD_HOJAS, MAD_ML_P2, MAD_M2_P2, MAD_ML_M2;
    QString CuentaCtroDist;
    double MaxDto = 0;
    double MaxDtoProforma = 0;
    bool PideClave_StockNeg = false;
    bool PideClave_MarkUpBase = false;
    bool PideClave_LimiteCredito = false;
    bool SS_BloqueoActivo = false;
    bool UTILIZARFECHADIA = false;
    bool AsignacionAutomaticaDeLoteING = false;
    bool AsignacionAutomaticaDeLoteINGOP = false;
    qint16 CONDIVAEMPRESA = 0;
    QString Top_Default;
};

// The run's loaded settings.
ConfiguracionCargada& configuracion();

// The statistics database object (KS_ESTADISTICAS), created on first use.
rp::db::DB_Dll& gDBEstadisticas();

// A key's main value through the shared database object (empty text when it
// is not open; one blank when the key has no row); `ValorAux` receives the
// auxiliary value.
QString Cfg(const QString& Clave, QString& ValorAux);
QString Cfg(const QString& Clave);
// The same through the statistics database object.
QString CfgKS(const QString& Clave, QString& ValorAux);
// Writes one key through the statistics database object; failures are
// skipped silently.
void GrabaCfgKS(const QString& Clave, const QVariant& Valor, const QString& ValorAux,
                bool PoliticaNegocio, const QString& Grupo, bool RecortarValor);
// Reads the settings of the key table once, at start.
void CargaConfiguracion(const QString& CarpetaPrograma);

// Interpretation rules of the loader, exposed for the report form and tests.
namespace regla {
bool si(const QString& v);
bool siRecortado(const QString& v);
bool noEsNo(const QString& v);
bool salvoNo(const QString& v);
qint16 numero(const QString& v);
double importe(const QString& v);
quint32 color(const QString& v);
} // namespace regla

} // namespace rp::startup
