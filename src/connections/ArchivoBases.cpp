#include "connections/ArchivoBases.h"

#include "suite/Aplicacion.h"
#include "suite/ArchivoRegular.h"
#include "suite/Texto1252.h"
#include "suite/Utilidades.h"

#include <QFile>
#include <QFileInfo>

namespace rp::connections {

namespace {

bool finDeLinea(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}
bool blanco(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Moves past one line end (CR LF, LF or CR) at `i`.
qsizetype saltarFinDeLinea(const QString& t, qsizetype i) {
    if (i < t.size() && t.at(i) == QLatin1Char('\r')) {
        ++i;
        if (i < t.size() && t.at(i) == QLatin1Char('\n')) {
            ++i;
        }
    } else if (i < t.size() && t.at(i) == QLatin1Char('\n')) {
        ++i;
    }
    return i;
}

rp::suite::CodErr error(qint32 numero, const QString& descripcion) {
    return rp::suite::CodErr{numero, descripcion, rp::suite::Aplicacion::nombreEjecutable()};
}

} // namespace

QString ArchivoBases::ruta(const QString& carpetaPrograma) {
    return rp::suite::Utilidades::RutaConBarra(carpetaPrograma) + QStringLiteral("BASES.TXT");
}

QStringList ArchivoBases::campos(const QString& t) {
    QStringList resultado;
    const qsizetype n = t.size();
    qsizetype i = 0;
    bool inicioDeLinea = true;
    while (i < n) {
        if (inicioDeLinea) {
            // A line of nothing but blanks holds no field.
            qsizetype j = i;
            while (j < n && blanco(t.at(j))) {
                ++j;
            }
            if (j >= n) {
                break;
            }
            if (finDeLinea(t.at(j))) {
                i = saltarFinDeLinea(t, j);
                continue;
            }
        }
        while (i < n && blanco(t.at(i))) {
            ++i;
        }
        QString valor;
        if (i < n && t.at(i) == QLatin1Char('"')) {
            ++i;
            const qsizetype inicio = i;
            while (i < n && t.at(i) != QLatin1Char('"') && !finDeLinea(t.at(i))) {
                ++i;
            }
            valor = t.mid(inicio, i - inicio);
            if (i < n && t.at(i) == QLatin1Char('"')) {
                ++i;
            }
            // What follows the closing quote up to the delimiter is dropped.
            while (i < n && t.at(i) != QLatin1Char(',') && !finDeLinea(t.at(i))) {
                ++i;
            }
        } else {
            const qsizetype inicio = i;
            while (i < n && t.at(i) != QLatin1Char(',') && !finDeLinea(t.at(i))) {
                ++i;
            }
            valor = t.mid(inicio, i - inicio);
        }
        resultado.append(valor);
        if (i < n && t.at(i) == QLatin1Char(',')) {
            ++i;
            inicioDeLinea = false;
            if (i >= n) {
                // A comma at the very end still closes an (empty) last field.
                resultado.append(QString());
            }
        } else {
            i = saltarFinDeLinea(t, i);
            inicioDeLinea = true;
        }
    }
    return resultado;
}

ArchivoBases::Lectura ArchivoBases::interpretar(const QByteArray& bytes) {
    Lectura lectura;
    lectura.existe = true;
    const QStringList lista = campos(rp::suite::Texto1252::decodificar(bytes));
    const qsizetype completas = lista.size() / kCamposPorEntrada;
    lectura.entradas.reserve(static_cast<size_t>(completas));
    for (qsizetype e = 0; e < completas; ++e) {
        const qsizetype b = e * kCamposPorEntrada;
        lectura.entradas.push_back(
            EntradaBase{lista[b], lista[b + 1], lista[b + 2], lista[b + 3], lista[b + 4]});
    }
    if (lista.size() % kCamposPorEntrada != 0) {
        lectura.error = error(kErrorFinDeArchivo, QStringLiteral("Input past end of file"));
    }
    return lectura;
}

ArchivoBases::Lectura ArchivoBases::leer(const QString& ruta) {
    const QFileInfo info(ruta);
    if (!info.exists() || info.isDir()) {
        return Lectura{};
    }
    // A FIFO or a link to a device is no connection list: it is refused
    // rather than read forever.
    const std::optional<QByteArray> bytes =
        rp::suite::leerArchivoRegular(ruta, rp::suite::Texto1252::kMaximoArchivo);
    if (!bytes) {
        Lectura lectura;
        lectura.existe = true;
        lectura.error = error(kErrorAcceso, QStringLiteral("Path/File access error"));
        return lectura;
    }
    return interpretar(*bytes);
}

} // namespace rp::connections
