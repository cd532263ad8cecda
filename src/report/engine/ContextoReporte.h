#pragma once

#include "report/engine/ContextoFormula.h"

#include <QDateTime>
#include <QHash>
#include <QVariantList>

namespace rp::motor {

class ReportePreparado;

// The context a report's formulas run in: its formula slots, the current row
// (when there is one) and the special fields of the page.
class ContextoReporte : public ContextoFormula {
public:
    // Text that stands for the total page count until the last page is laid
    // out; the painter replaces it (see sustituirTotal).
    static QString marcaTotalPaginas() { return QString(QChar(0xE000)); }
    static QString sustituirTotal(const QString& texto, int total);

    explicit ContextoReporte(const ReportePreparado& reporte) : rep_(reporte) {}

    // Row fields: key "TABLA.CAMPO" (upper case) -> index in `valores`.
    void fijarFila(const QHash<QString, int>* indices, const QVariantList* valores, qint64 numero) {
        indices_ = indices;
        valores_ = valores;
        numeroFila_ = numero;
    }
    void fijarPagina(int pagina) { pagina_ = pagina; }
    // Rows of the group a group footer closes ({GroupCount}).
    void fijarCuentaGrupo(qint64 filas) { cuentaGrupo_ = filas; }

    QVariant campo(const NodoCampo& campo) const override;
    Formula formula(const QString& nombre) const override;
    QVariant especial(const QString& nombre) const override;

private:
    const ReportePreparado& rep_;
    const QHash<QString, int>* indices_ = nullptr;
    const QVariantList* valores_ = nullptr;
    qint64 numeroFila_ = 0;
    int pagina_ = 0;
    qint64 cuentaGrupo_ = 0;
};

} // namespace rp::motor
