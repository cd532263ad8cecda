#include "ui/OperadorGuion.h"

#include <QStringList>
#include <cstdio>

namespace rp::ui {

namespace {

QString nombreTipo(OperadorGuion::Tipo tipo) {
    switch (tipo) {
    case OperadorGuion::Tipo::Mensaje:
        return QStringLiteral("mensaje");
    case OperadorGuion::Tipo::Ingresar:
        return QStringLiteral("ingresar");
    case OperadorGuion::Tipo::AbrirArchivo:
        return QStringLiteral("abrirArchivo");
    case OperadorGuion::Tipo::GuardarArchivo:
        return QStringLiteral("guardarArchivo");
    case OperadorGuion::Tipo::Fecha:
        return QStringLiteral("elegirFecha");
    case OperadorGuion::Tipo::Dialogo:
        return QStringLiteral("dialogo");
    }
    return QString();
}

QString describir(const OperadorGuion::Interaccion& i) {
    return QStringLiteral("%1 [%2] %3 (estilo %4)")
        .arg(nombreTipo(i.tipo), i.titulo, i.texto)
        .arg(i.estilo);
}

} // namespace

void OperadorGuion::responderMensaje(int respuesta) {
    mensajes_.enqueue(respuesta);
}

void OperadorGuion::responderIngresar(std::optional<QString> respuesta) {
    ingresos_.enqueue(std::move(respuesta));
}

void OperadorGuion::responderArchivo(std::optional<QString> ruta) {
    archivos_.enqueue(std::move(ruta));
}

void OperadorGuion::responderFecha(std::optional<QDate> fecha) {
    fechas_.enqueue(fecha);
}

void OperadorGuion::responderDialogo(Manejador manejador) {
    dialogos_.enqueue(std::move(manejador));
}

OperadorGuion::Interaccion& OperadorGuion::registrar(Tipo tipo, const QString& titulo,
                                                     const QString& texto, const QString& detalle,
                                                     int estilo, bool inesperada) {
    interacciones_.append(Interaccion{tipo, titulo, texto, detalle, estilo, inesperada});
    if (inesperada) {
        const QByteArray linea = QStringLiteral("OperadorGuion: interacción inesperada: %1\n")
                                     .arg(describir(interacciones_.last()))
                                     .toLocal8Bit();
        std::fwrite(linea.constData(), 1, static_cast<std::size_t>(linea.size()), stderr);
    }
    return interacciones_.last();
}

int OperadorGuion::mensaje(const QString& text, int style, const QString& title) {
    const bool inesperada = mensajes_.isEmpty();
    registrar(Tipo::Mensaje, title, text, QString(), style, inesperada);
    return inesperada ? respuestaPorDefecto(style) : mensajes_.dequeue();
}

std::optional<QString> OperadorGuion::ingresar(const QString& prompt, const QString& title,
                                               const QString& initial) {
    const bool inesperada = ingresos_.isEmpty();
    registrar(Tipo::Ingresar, title, prompt, initial, 0, inesperada);
    if (inesperada)
        return std::nullopt;
    return ingresos_.dequeue();
}

std::optional<QString> OperadorGuion::abrirArchivo(const QString& title, const QString& filter,
                                                   const QString& initialPath) {
    const bool inesperada = archivos_.isEmpty();
    registrar(Tipo::AbrirArchivo, title, initialPath, filter, 0, inesperada);
    if (inesperada)
        return std::nullopt;
    return archivos_.dequeue();
}

std::optional<QString> OperadorGuion::guardarArchivo(const QString& title, const QString& filter,
                                                     const QString& initialPath) {
    const bool inesperada = archivos_.isEmpty();
    registrar(Tipo::GuardarArchivo, title, initialPath, filter, 0, inesperada);
    if (inesperada)
        return std::nullopt;
    return archivos_.dequeue();
}

std::optional<QDate> OperadorGuion::elegirFecha(const QDate& initial) {
    const bool inesperada = fechas_.isEmpty();
    registrar(Tipo::Fecha, QString(), QString(), initial.toString(Qt::ISODate), 0, inesperada);
    if (inesperada)
        return std::nullopt;
    return fechas_.dequeue();
}

bool OperadorGuion::dialogo(DialogoModal& model) {
    const bool inesperada = dialogos_.isEmpty();
    registrar(Tipo::Dialogo, QString(), model.dialogName(), QString(), 0, inesperada);
    if (inesperada)
        return false;
    const Manejador manejador = dialogos_.dequeue();
    return manejador ? manejador(model) : false;
}

QList<OperadorGuion::Interaccion> OperadorGuion::mensajes() const {
    QList<Interaccion> lista;
    for (const Interaccion& i : interacciones_) {
        if (i.tipo == Tipo::Mensaje)
            lista.append(i);
    }
    return lista;
}

QList<OperadorGuion::Interaccion> OperadorGuion::inesperadas() const {
    QList<Interaccion> lista;
    for (const Interaccion& i : interacciones_) {
        if (i.inesperada)
            lista.append(i);
    }
    return lista;
}

QString OperadorGuion::resumenInesperadas() const {
    QStringList lineas;
    for (const Interaccion& i : inesperadas())
        lineas.append(describir(i));
    return lineas.join(QLatin1Char('\n'));
}

int OperadorGuion::pendientes() const {
    return static_cast<int>(mensajes_.size() + ingresos_.size() + archivos_.size() +
                            fechas_.size() + dialogos_.size());
}

void OperadorGuion::limpiar() {
    mensajes_.clear();
    ingresos_.clear();
    archivos_.clear();
    fechas_.clear();
    dialogos_.clear();
    interacciones_.clear();
}

} // namespace rp::ui
