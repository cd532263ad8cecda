#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace rp::suite {

// Windows-1252 text, the single-byte code page of the files the program
// shares with the suite's Windows programs (error log, connection list,
// lookup definition and width files).
//
// Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D, which the code page leaves
// undefined, stand for the control characters of the same number, as on
// Windows, so every byte reads and writes back unchanged. Characters outside
// the code page are written as "?".
class Texto1252 {
public:
    static QString decodificar(const QByteArray& bytes);
    static QByteArray codificar(const QString& texto);
    // True when `c` has a byte of its own in the code page.
    static bool representable(QChar c);

    // Largest settings or list file read (a settings file is a few KB).
    static constexpr qint64 kMaximoArchivo = 16 * 1024 * 1024;
    // The whole file decoded; nullopt when it cannot be read, is no regular
    // file or is larger than kMaximoArchivo.
    static std::optional<QString> leerArchivo(const QString& ruta);
    // Replaces the file's content (temporary file + rename); false on failure.
    static bool escribirArchivo(const QString& ruta, const QString& texto);
    // Appends `linea` + CR LF in one write (the file is created when
    // missing); false on failure.
    static bool agregarLinea(const QString& ruta, const QString& linea);
};

} // namespace rp::suite
