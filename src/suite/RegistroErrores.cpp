#include "suite/RegistroErrores.h"

#include "suite/Texto1252.h"
#include "ui/Operador.h"

namespace rp::suite {

QString RegistroErrores::MensajeOperador(const CodErr& error) {
    return QStringLiteral("Ha ocurrido el Siguiente Error (") + QString::number(error.number) +
           QStringLiteral(") ") + error.description.trimmed();
}

QString RegistroErrores::ParteRutina(const std::optional<QString>& rutina) {
    if (!rutina)
        return QString();
    return *rutina + QStringLiteral(" - ");
}

QString RegistroErrores::Titulo(const QString& origen, const std::optional<QString>& rutina,
                                const QString& marca) {
    return origen + ParteRutina(rutina) + QStringLiteral(" Aviso al operador!!! - ") + marca +
           QLatin1Char(' ');
}

QString RegistroErrores::TextoRespuesta(int respuesta) {
    switch (respuesta) {
    case ui::vbCancel:
        return QStringLiteral("Cancelar");
    case ui::vbAbort:
        return QStringLiteral("Abortar");
    case ui::vbRetry:
        return QStringLiteral("Reintentar");
    case ui::vbIgnore:
        return QStringLiteral("Ignorar");
    case ui::vbYes:
        return QStringLiteral("Sí");
    case ui::vbNo:
        return QStringLiteral("No");
    default:
        return QString();
    }
}

QString RegistroErrores::LineaErrorLog(const QDateTime& momento, const QString& parteRutina,
                                       const QString& mensaje, const QString& respuesta) {
    return momento.toString(QStringLiteral("MM-dd-yyyy")) + QLatin1Char(' ') +
           momento.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(" Rutina: ") +
           parteRutina.trimmed() + QStringLiteral(" Mensaje ") + mensaje.trimmed() +
           QStringLiteral(" Respondió : ") + respuesta;
}

bool RegistroErrores::AgregarLineaLog(const QString& ruta, const QString& linea) {
    return Texto1252::agregarLinea(ruta, linea);
}

int RegistroErrores::Informar(const CodErr& error, int botones,
                              const std::optional<QString>& rutina, const QString& origen,
                              const QString& marca, const QString& rutaLog) {
    if (error.number == 0)
        return 0;
    const QString mensaje = MensajeOperador(error);
    const int respuesta = ui::operador().mensaje(mensaje, botones, Titulo(origen, rutina, marca));
    AgregarLineaLog(rutaLog, LineaErrorLog(QDateTime::currentDateTime(), ParteRutina(rutina),
                                           mensaje, TextoRespuesta(respuesta)));
    return respuesta;
}

} // namespace rp::suite
