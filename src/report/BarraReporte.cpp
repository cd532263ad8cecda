#include "report/BarraReporte.h"

#include "suite/ControlesForm.h"

namespace rp::report {

using suite::ControlesForm;

const QString BarraReporte::Pantalla = QStringLiteral("PANTALLA");
const QString BarraReporte::Impresora = QStringLiteral("IMPRESORA");
const QString BarraReporte::Consultar = QStringLiteral("CONSULTAR");
const QString BarraReporte::Cerrar = QStringLiteral("CERRAR");

BarraReporte::BarraReporte(QObject* parent) : QObject(parent) {}

QStringList BarraReporte::claves() {
    return {Pantalla, Impresora, Consultar, Cerrar};
}

QString BarraReporte::titulo(const QString& clave) {
    const QString k = clave.toUpper();
    if (k == Pantalla)
        return QStringLiteral("Pantalla");
    if (k == Impresora)
        return QStringLiteral("Impresora");
    if (k == Consultar)
        return QStringLiteral("Consultar");
    if (k == Cerrar)
        return QStringLiteral("Cerrar");
    return QString();
}

QString BarraReporte::descripcion(const QString& clave) {
    const QString k = clave.toUpper();
    if (k == Pantalla)
        return QStringLiteral("Ver el reporte en pantalla");
    if (k == Impresora)
        return QStringLiteral("Imprimir el reporte");
    if (k == Consultar)
        return QStringLiteral("Consultar los valores del campo");
    if (k == Cerrar)
        return QStringLiteral("Cerrar el programa");
    return QString();
}

QList<BarraReporte::Atajo> BarraReporte::atajos(const QString& clave) {
    const QString k = clave.toUpper();
    if (k == Pantalla)
        return {{ControlesForm::vbKeyF5, 0, QStringLiteral("F5")}};
    if (k == Impresora)
        return {{'P', ControlesForm::vbCtrlMask, QStringLiteral("Ctrl+P")}};
    if (k == Consultar)
        return {{ControlesForm::vbKeyF2, 0, QStringLiteral("F2")},
                {ControlesForm::vbKeyF4, 0, QStringLiteral("F4")}};
    if (k == Cerrar)
        return {{ControlesForm::vbKeyEscape, 0, QStringLiteral("Esc")}};
    return {};
}

QString BarraReporte::claveDeTecla(int codigoTecla, int shift) {
    if (codigoTecla == 0)
        return QString();
    for (const QString& clave : claves()) {
        for (const Atajo& a : atajos(clave)) {
            if (a.codigoTecla == codigoTecla && a.shift == shift)
                return clave;
        }
    }
    return QString();
}

bool BarraReporte::habilitado(const QString& clave) const {
    const QString k = clave.toUpper();
    if (k == Consultar)
        return consulta_;
    return claves().contains(k);
}

void BarraReporte::setConsultaHabilitada(bool habilitada) {
    if (consulta_ == habilitada)
        return;
    consulta_ = habilitada;
    Q_EMIT estadoCambiado();
}

void BarraReporte::setStyleBar(double estilo) {
    if (estilo_ == estilo)
        return;
    estilo_ = estilo;
    Q_EMIT estadoCambiado();
}

void BarraReporte::pulsar(const QString& clave) {
    if (habilitado(clave))
        Q_EMIT botonPulsado(clave.toUpper());
}

bool BarraReporte::teclaAbajo(int codigoTecla, int shift) {
    const QString clave = claveDeTecla(codigoTecla, shift);
    if (clave.isEmpty() || !habilitado(clave))
        return false;
    Q_EMIT botonPulsado(clave);
    return true;
}

} // namespace rp::report
