#include "ui/Operador.h"

#include "ui/OperadorLote.h"

namespace rp::ui {

namespace {

Operador*& actual() {
    static Operador* op = nullptr;
    return op;
}

} // namespace

QList<int> botonesDeEstilo(int style) {
    switch (style & 0xF) {
    case estilo::OKCancel:
        return {vbOK, vbCancel};
    case estilo::AbortRetryIgnore:
        return {vbAbort, vbRetry, vbIgnore};
    case estilo::YesNoCancel:
        return {vbYes, vbNo, vbCancel};
    case estilo::YesNo:
        return {vbYes, vbNo};
    case estilo::RetryCancel:
        return {vbRetry, vbCancel};
    default:
        return {vbOK};
    }
}

int respuestaPorDefecto(int style) {
    const QList<int> botones = botonesDeEstilo(style);
    const qsizetype indice = (style & 0xF00) >> 8;
    return indice < botones.size() ? botones.at(indice) : botones.first();
}

QString textoBoton(int respuesta) {
    switch (respuesta) {
    case vbOK:
        return QStringLiteral("Aceptar");
    case vbCancel:
        return QStringLiteral("Cancelar");
    case vbAbort:
        return QStringLiteral("Anular");
    case vbRetry:
        return QStringLiteral("Reintentar");
    case vbIgnore:
        return QStringLiteral("Omitir");
    case vbYes:
        return QStringLiteral("Sí");
    case vbNo:
        return QStringLiteral("No");
    default:
        return QString();
    }
}

Operador& operador() {
    if (Operador* op = actual())
        return *op;
    static OperadorLote porDefecto;
    return porDefecto;
}

void setOperador(Operador* op) {
    actual() = op;
}

} // namespace rp::ui
