#include "ui/OperadorLote.h"

#include <QStringList>
#include <cstdio>

namespace rp::ui {

namespace {

int botonDeAbandono(int style) {
    const QList<int> botones = botonesDeEstilo(style);
    for (const int preferido : {int(vbAbort), int(vbNo), int(vbCancel)}) {
        if (botones.contains(preferido))
            return preferido;
    }
    return botones.first();
}

} // namespace

OperadorLote::OperadorLote(std::function<void(const QString&)> salida)
    : salida_(std::move(salida)) {}

void OperadorLote::escribir(const QString& linea) {
    if (salida_) {
        salida_(linea);
        return;
    }
    const QByteArray bytes = linea.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

int OperadorLote::mensaje(const QString& text, int style, const QString& title) {
    const QString clave = title + QChar(0) + text;
    repeticiones_ = clave == ultimoMensaje_ ? repeticiones_ + 1 : 1;
    ultimoMensaje_ = clave;

    escribir(QStringLiteral("[%1] %2").arg(title.trimmed(), text));
    if (repeticiones_ > kRepeticionesPermitidas) {
        const int respuesta = botonDeAbandono(style);
        escribir(QStringLiteral("  -> %1 (el mismo aviso se repitió %2 veces seguidas)")
                     .arg(textoBoton(respuesta))
                     .arg(repeticiones_));
        return respuesta;
    }
    const int respuesta = respuestaPorDefecto(style);
    escribir(QStringLiteral("  -> %1").arg(textoBoton(respuesta)));
    return respuesta;
}

std::optional<QString> OperadorLote::ingresar(const QString& prompt, const QString& title,
                                              const QString& /*initial*/) {
    escribir(QStringLiteral("[%1] %2").arg(title.trimmed(), prompt));
    escribir(QStringLiteral("  -> Cancelar"));
    return std::nullopt;
}

std::optional<QString> OperadorLote::abrirArchivo(const QString& title, const QString& filter,
                                                  const QString& /*initialPath*/) {
    escribir(QStringLiteral("[%1] abrir archivo (%2)").arg(title.trimmed(), filter));
    escribir(QStringLiteral("  -> Cancelar"));
    return std::nullopt;
}

std::optional<QString> OperadorLote::guardarArchivo(const QString& title, const QString& filter,
                                                    const QString& /*initialPath*/) {
    escribir(QStringLiteral("[%1] guardar archivo (%2)").arg(title.trimmed(), filter));
    escribir(QStringLiteral("  -> Cancelar"));
    return std::nullopt;
}

std::optional<QDate> OperadorLote::elegirFecha(const QDate& /*initial*/) {
    escribir(QStringLiteral("[Fecha] elegir fecha"));
    escribir(QStringLiteral("  -> Cancelar"));
    return std::nullopt;
}

bool OperadorLote::dialogo(DialogoModal& model) {
    escribir(QStringLiteral("[%1] diálogo").arg(model.dialogName()));
    escribir(QStringLiteral("  -> Cancelar"));
    return false;
}

} // namespace rp::ui
