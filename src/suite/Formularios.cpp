#include "suite/Formularios.h"

namespace rp::suite {

namespace {

// The forms that announced their load and not yet their unload.
QStringList& abiertos() {
    static QStringList lista;
    return lista;
}

} // namespace

void Formularios::PrepararFormulario(Formulario& formulario, bool vaciar) {
    const QList<int> indices = formulario.indicesCampos();
    for (int indice : indices) {
        formulario.colorearCampo(indice, ColorFondoNormal, ColorLetraNormal);
        if (vaciar)
            formulario.escribirCampo(indice, QString());
    }
}

void Formularios::FormularioCarga(Formulario& formulario, const QString& parametro) {
    Q_UNUSED(parametro);
    abiertos().append(formulario.nombreFormulario());
}

void Formularios::FormularioDescarga(Formulario& formulario, const QString& parametro) {
    Q_UNUSED(parametro);
    abiertos().removeOne(formulario.nombreFormulario());
}

QStringList Formularios::FormulariosAbiertos() {
    return abiertos();
}

} // namespace rp::suite
