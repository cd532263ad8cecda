#pragma once

#include "connections/EntradaBase.h"
#include "suite/CodErr.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace rp::connections {

// Reader of the workstation's connection list "BASES.TXT" (Windows-1252 text,
// one entry of five comma-separated fields per line, CR LF line ends).
//
// Fields are read as comma-delimited input: they form one stream in file
// order and are taken five at a time, so a line with too few or too many
// fields shifts the fields that follow. Within a field, leading blanks are
// skipped; a field that starts with a double quote runs to the next double
// quote (commas included) and anything after that quote up to the delimiter is
// dropped; an unquoted field ends at a comma or at the end of the line. An
// unclosed quote ends at the end of its line. Line ends are CR LF, LF or CR;
// blank lines hold no field. Undecodable bytes never stop the reading.
//
// Fewer than five fields at the end of the file is the error "Input past end
// of file" (62); the complete entries before it are still returned.
class ArchivoBases {
public:
    static constexpr int kCamposPorEntrada = 5;
    static constexpr qint32 kErrorFinDeArchivo = 62;
    static constexpr qint32 kErrorAcceso = 75;

    struct Lectura {
        bool existe = false;
        std::vector<EntradaBase> entradas;
        // Set when the file could not be read to its end.
        std::optional<rp::suite::CodErr> error;
    };

    // RutaConBarra(program folder) + "BASES.TXT".
    static QString ruta(const QString& carpetaPrograma);

    // The whole list file. A missing file gives existe == false and no error.
    static Lectura leer(const QString& ruta);
    // The entries of the file content `bytes` (Windows-1252).
    static Lectura interpretar(const QByteArray& bytes);
    // The field stream of a decoded text.
    static QStringList campos(const QString& texto);
};

} // namespace rp::connections
