#include "report/ConsultaCampo.h"

namespace rp::report {

std::optional<ConsultaCampo> ConsultaCampo::deTag(const QString& tag) {
    const QString t = tag.trimmed().toUpper();
    const QString listas = QStringLiteral("SELECT DISTINCT IDLISTA, NOMBRE FROM V_MA_PRECIOSCAB ");
    if (t == QLatin1String("V_MA_PRECIOS"))
        return ConsultaCampo{QStringLiteral("IDLISTA"), listas, false};
    if (t == QLatin1String("V_MA_PRECIOS_NOMBRE"))
        return ConsultaCampo{QStringLiteral("NOMBRE"), listas, false};
    if (t == QLatin1String("V_TA_FAMILIAS"))
        return ConsultaCampo{
            QStringLiteral("IDFAMILIA"),
            QStringLiteral("SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS ORDER BY IDFAMILIA"),
            true};
    if (t == QLatin1String("VT_PROVEEDORES"))
        return ConsultaCampo{QStringLiteral("codigo"), QStringLiteral("vt_proveedores"), false};
    if (t == QLatin1String("V_TA_RUBROS"))
        return ConsultaCampo{QStringLiteral("idrubro"), QStringLiteral("v_ta_rubros"), false};
    if (t == QLatin1String("V_MA_ARTICULOS"))
        return ConsultaCampo{QStringLiteral("idarticulo"), QStringLiteral("v_ma_articulos"), false};
    if (t == QLatin1String("USUARIO"))
        return ConsultaCampo{QStringLiteral("NOMBRE"), QStringLiteral("TA_USUARIOS"), false};
    return std::nullopt;
}

bool ConsultaCampo::esFecha(const QString& tag) {
    return tag.trimmed().compare(QLatin1String("FECHA"), Qt::CaseInsensitive) == 0;
}

} // namespace rp::report
