#include "connections/GrabarBase.h"

#include "connections/ArchivoBases.h"
#include "suite/Aplicacion.h"
#include "suite/Texto1252.h"
#include "suite/Utilidades.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace rp::connections {

namespace {

// True when the file exists, is not empty and its last byte is not a line end.
bool faltaFinDeLinea(const QString& ruta) {
    QFile f(ruta);
    if (!f.exists() || f.size() == 0 || !f.open(QIODevice::ReadOnly)) {
        return false;
    }
    if (!f.seek(f.size() - 1)) {
        return false;
    }
    const QByteArray ultimo = f.read(1);
    return ultimo != "\n" && ultimo != "\r";
}

} // namespace

bool CampoBaseValido(const QString& valor) {
    for (const QChar c : valor) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') ||
            c == QLatin1Char('\n')) {
            return false;
        }
    }
    return true;
}

std::optional<rp::suite::CodErr> GrabarBase(const QString& clave, const QString& baseDatos,
                                            const QString& usuario, const QString& password,
                                            const QString& servidor, bool oracle) {
    const QString fuente = rp::suite::Aplicacion::nombreEjecutable();
    const QString ruta = ArchivoBases::ruta(rp::suite::Aplicacion::carpetaPrograma());

    const QString servidorFinal = oracle ? QStringLiteral("#") + servidor : servidor;
    const QStringList campos{clave.trimmed(), baseDatos.trimmed(), usuario.trimmed(),
                             rp::suite::Utilidades::CodificarClave(password).trimmed(),
                             servidorFinal.trimmed()};
    for (const QString& campo : campos) {
        if (!CampoBaseValido(campo)) {
            return rp::suite::CodErr{
                5,
                QStringLiteral("Invalid procedure call or argument: \"%1\" holds a comma, a "
                               "double quote or a line break")
                    .arg(campo),
                fuente};
        }
    }

    QString linea = campos.join(QLatin1Char(','));
    if (faltaFinDeLinea(ruta)) {
        linea.prepend(QStringLiteral("\r\n"));
    }
    if (!rp::suite::Texto1252::agregarLinea(ruta, linea)) {
        return rp::suite::CodErr{75, QStringLiteral("Path/File access error"), fuente};
    }
    return std::nullopt;
}

} // namespace rp::connections
