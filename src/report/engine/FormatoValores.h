#pragma once

#include "report/engine/Plantilla.h"
#include "suite/Regional.h"

#include <QString>
#include <QVariant>

namespace rp::motor {

// Values as the report shows them, in the workstation's regional settings:
// numbers with its decimal and thousands separators, dates in its short date
// form.
class FormatoValores {
public:
    explicit FormatoValores(const rp::suite::Regional& regional = rp::suite::Regional::actual())
        : regional_(regional) {}

    QString mostrar(const QVariant& valor, const FormatoColumna& formato) const;
    // The plain display of a value (placeholders of headers and captions).
    QString texto(const QVariant& valor) const;

    static QString numeroFijo(double valor, int decimales, QChar decimal, QChar miles);

private:
    rp::suite::Regional regional_;
};

} // namespace rp::motor
