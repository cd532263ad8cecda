#pragma once

#include "suite/CodErr.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace rp::suite {

// The failure report shared by the program's error report and the database
// layer's: the operator message, the box title, the answer texts and the
// error log line ("KSERR.LOG").
//
// A log line reads:
//   mm-dd-yyyy hh:mm:ss Rutina: <routine> - Mensaje <message> Respondió : <answer>
// with the routine part trimmed (so " Rutina:  Mensaje " when there is no
// routine), written in Windows-1252 and ended by CR LF.
class RegistroErrores {
public:
    // "Ha ocurrido el Siguiente Error (" + number + ") " + trimmed description.
    static QString MensajeOperador(const CodErr& error);
    // routine + " - ", or empty text when no routine is given.
    static QString ParteRutina(const std::optional<QString>& rutina);
    // source + routine part + " Aviso al operador!!! - " + marca + " ".
    static QString Titulo(const QString& origen, const std::optional<QString>& rutina,
                          const QString& marca);
    // The log text of an answer code: 2 "Cancelar", 3 "Abortar", 4
    // "Reintentar", 5 "Ignorar", 6 "Sí", 7 "No"; any other code "".
    static QString TextoRespuesta(int respuesta);

    // One log line (without its line end). `parteRutina` and `mensaje` are
    // trimmed here.
    static QString LineaErrorLog(const QDateTime& momento, const QString& parteRutina,
                                 const QString& mensaje, const QString& respuesta);
    // Appends the line + CR LF to the file in one write, creating the file
    // when missing. False when the file cannot be written (never throws).
    static bool AgregarLineaLog(const QString& ruta, const QString& linea);

    // The whole report: with error number 0 returns 0 and does nothing else;
    // otherwise shows the box (style `botones`, title from `origen`, the
    // routine and `marca`) through the operator, appends the log line to
    // `rutaLog` (a failure to write only loses the line) and returns the
    // answer.
    static int Informar(const CodErr& error, int botones, const std::optional<QString>& rutina,
                        const QString& origen, const QString& marca, const QString& rutaLog);
};

} // namespace rp::suite
