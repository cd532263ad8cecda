#include "report/engine/ProgresoTarea.h"

#include <QLocale>

namespace rp::motor {

ProgresoTarea::ProgresoTarea(Informe informar, int intervalo)
    : informar_(std::move(informar)), intervalo_(std::max(0, intervalo)) {
    reloj_.start();
}

void ProgresoTarea::fijarPaso(const QString& accion, const QString& unidad, qint64 total) {
    accion_ = accion;
    unidad_ = unidad;
    total_ = std::max<qint64>(0, total);
}

void ProgresoTarea::informarAhora(qint64 hecho) {
    reloj_.restart();
    if (informar_)
        informar_(texto(hecho), hecho, total_);
}

bool ProgresoTarea::avanzar(qint64 hecho) {
    if (!cancelada_ && reloj_.elapsed() >= intervalo_)
        informarAhora(hecho);
    return !cancelada_;
}

QString ProgresoTarea::texto(qint64 hecho) const {
    const QLocale l;
    const QString cuenta =
        total_ > 0
            ? QStringLiteral("%1 de %2 %3").arg(l.toString(hecho), l.toString(total_), unidad_)
            : QStringLiteral("%1 %2").arg(l.toString(hecho), unidad_);
    return QStringLiteral("%1: %2 (Esc cancela)").arg(accion_, cuenta);
}

} // namespace rp::motor
