#include "report/engine/ContextoReporte.h"

#include "report/engine/ErrorMotor.h"
#include "report/engine/ReportePreparado.h"

namespace rp::motor {

QString ContextoReporte::sustituirTotal(const QString& texto, int total) {
    if (!texto.contains(QChar(0xE000)))
        return texto;
    QString r = texto;
    return r.replace(QChar(0xE000), QString::number(total));
}

QVariant ContextoReporte::campo(const NodoCampo& c) const {
    if (!indices_ || !valores_)
        throw ErrorMotor(QStringLiteral("campo fuera del detalle: {%1.%2}").arg(c.tabla, c.campo));
    const auto it = indices_->constFind(c.clave());
    if (it == indices_->constEnd())
        throw ErrorMotor(QStringLiteral("campo desconocido: {%1.%2}").arg(c.tabla, c.campo));
    return valores_->value(it.value());
}

Formula ContextoReporte::formula(const QString& nombre) const {
    return rep_.formula(nombre);
}

QVariant ContextoReporte::especial(const QString& nombre) const {
    const auto es = [&](const char* n) {
        return nombre.compare(QLatin1String(n), Qt::CaseInsensitive) == 0;
    };
    if (es("PageNumber"))
        return QVariant(static_cast<double>(pagina_));
    if (es("TotalPageCount"))
        return marcaTotalPaginas();
    if (es("PrintDate"))
        return QVariant(rep_.momentoImpresion().date());
    if (es("PrintTime"))
        return QVariant(rep_.momentoImpresion().time().toString(QStringLiteral("HH:mm")));
    if (es("RecordNumber"))
        return QVariant(static_cast<double>(numeroFila_));
    if (es("GroupCount"))
        return QVariant(static_cast<double>(cuentaGrupo_));
    return QVariant();
}

} // namespace rp::motor
