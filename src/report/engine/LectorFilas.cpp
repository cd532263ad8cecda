#include "report/engine/LectorFilas.h"

#include "report/engine/ErrorMotor.h"
#include "report/engine/EvaluadorFormula.h"
#include "report/engine/ReportePreparado.h"
#include "report/engine/ValoresFormula.h"

#include <algorithm>

namespace rp::motor {

LectorFilas::LectorFilas(const ReportePreparado& reporte, std::unique_ptr<rp::db::Cursor> cursor,
                         bool paginas)
    : rep_(reporte), cursor_(std::move(cursor)), contexto_(reporte), paginas_(paginas) {
    const QList<NodoCampo>& campos = rep_.campos();
    for (int i = 0; i < campos.size(); ++i) {
        const NodoCampo& c = campos.at(i);
        indices_.insert(c.clave(), i);
        if (!rep_.esProcedimiento()) {
            columnasCursor_ << i;
            continue;
        }
        // Procedure results: fields by column name.
        int encontrada = -1;
        if (cursor_) {
            const auto& fs = cursor_->fields();
            for (int k = 0; k < fs.size(); ++k) {
                if (fs.at(k).name.compare(c.campo, Qt::CaseInsensitive) == 0) {
                    encontrada = k;
                    break;
                }
            }
        }
        if (encontrada < 0 && cursor_)
            throw ErrorMotor(QStringLiteral("campo desconocido: {%1.%2}").arg(c.tabla, c.campo));
        columnasCursor_ << encontrada;
    }
    if (cursor_ && !rep_.esProcedimiento() && cursor_->fields().size() < campos.size())
        throw ErrorMotor(QStringLiteral("la consulta devolvió menos columnas que las pedidas"));
    contexto_.fijarFila(&indices_, &actual_, 0);
}

bool LectorFilas::leerDelCursor(QVariantList& fila) {
    if (!cursor_)
        return false;
    const EvaluadorFormula ev(contexto_);
    while (cursor_->fetch()) {
        ++leidas_;
        fila.clear();
        fila.reserve(columnasCursor_.size());
        for (int c : columnasCursor_)
            fila << (c >= 0 ? cursor_->value(c) : QVariant());
        if (!rep_.filtroEnMemoria())
            return true;
        contexto_.fijarFila(&indices_, &fila, leidas_);
        const bool sirve = ev.cumple(rep_.seleccion());
        contexto_.fijarFila(&indices_, &actual_, numero_);
        if (sirve)
            return true;
    }
    cursor_.reset();
    return false;
}

void LectorFilas::ordenarEnMemoria() {
    QVariantList fila;
    while (leerDelCursor(fila))
        memoria_ << fila;
    QList<std::pair<int, bool>> claves;
    for (const CampoOrden& o : paginas_ ? rep_.ordenPaginas() : rep_.orden())
        claves << std::make_pair(indices_.value(std::get<NodoCampo>(o.campo->contenido).clave()),
                                 o.descendente);
    std::stable_sort(memoria_.begin(), memoria_.end(),
                     [&](const QVariantList& a, const QVariantList& b) {
                         for (const auto& [i, desc] : claves) {
                             const int c = ValoresFormula::ordenar(a.value(i), b.value(i));
                             if (c != 0)
                                 return desc ? c > 0 : c < 0;
                         }
                         return false;
                     });
}

bool LectorFilas::siguiente() {
    bool hay;
    if (rep_.ordenEnMemoria()) {
        if (!ordenado_) {
            ordenado_ = true;
            ordenarEnMemoria();
        }
        hay = posMemoria_ < memoria_.size();
        if (hay)
            actual_ = std::move(memoria_[posMemoria_++]);
    } else {
        hay = leerDelCursor(actual_);
    }
    if (!hay)
        return false;
    ++numero_;
    contexto_.fijarFila(&indices_, &actual_, numero_);
    return true;
}

} // namespace rp::motor
