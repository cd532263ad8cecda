#include "suite/Texto1252.h"

#include "suite/ArchivoRegular.h"

#include <QFile>
#include <QSaveFile>
#include <array>

namespace rp::suite {

namespace {

// Code points of bytes 0x80-0x9F; the undefined ones map to themselves.
constexpr std::array<char16_t, 32> kAlto = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<char> byteDe(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (std::size_t i = 0; i < kAlto.size(); ++i) {
        if (kAlto[i] == u)
            return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

} // namespace

QString Texto1252::decodificar(const QByteArray& bytes) {
    QString texto;
    texto.reserve(bytes.size());
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x80 && u < 0xA0)
            texto += QChar(kAlto[u - 0x80]);
        else
            texto += QChar(static_cast<char16_t>(u));
    }
    return texto;
}

QByteArray Texto1252::codificar(const QString& texto) {
    QByteArray bytes;
    bytes.reserve(texto.size());
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (c.isHighSurrogate() && i + 1 < texto.size() && texto.at(i + 1).isLowSurrogate())
            ++i; // one character outside the code page, one "?"
        bytes += byteDe(c.unicode()).value_or('?');
    }
    return bytes;
}

bool Texto1252::representable(QChar c) {
    return byteDe(c.unicode()).has_value();
}

std::optional<QString> Texto1252::leerArchivo(const QString& ruta) {
    const std::optional<QByteArray> bytes = leerArchivoRegular(ruta, kMaximoArchivo);
    if (!bytes)
        return std::nullopt;
    return decodificar(*bytes);
}

bool Texto1252::escribirArchivo(const QString& ruta, const QString& texto) {
    return escribirArchivoEntero(ruta, codificar(texto));
}

bool Texto1252::agregarLinea(const QString& ruta, const QString& linea) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    const QByteArray bytes = codificar(linea) + QByteArrayLiteral("\r\n");
    const bool completo = archivo.write(bytes) == bytes.size();
    archivo.close();
    return completo && archivo.error() == QFileDevice::NoError;
}

} // namespace rp::suite
