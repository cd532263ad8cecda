#pragma once

// Reading and writing of the program's own small files (settings, connection
// list, templates, lookup definitions, saved filters). Reading: only regular
// files, at most `maximo` bytes.
// A FIFO, a device or a link to one is refused without blocking, and an
// oversized file without reading it. Header only: the report engine, which
// links no suite library, uses it too.

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace rp::suite {

enum class FalloArchivo { Ninguno, NoSeAbre, NoEsArchivo, DemasiadoGrande };

inline std::optional<QByteArray> leerArchivoRegular(const QString& ruta, qint64 maximo,
                                                    FalloArchivo* fallo = nullptr) {
    auto fallar = [&](FalloArchivo f) {
        if (fallo)
            *fallo = f;
        return std::nullopt;
    };
    if (fallo)
        *fallo = FalloArchivo::Ninguno;
    const int fd = ::open(QFile::encodeName(ruta).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fallar(FalloArchivo::NoSeAbre);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fallar(FalloArchivo::NoEsArchivo);
    }
    if (st.st_size > maximo) {
        ::close(fd);
        return fallar(FalloArchivo::DemasiadoGrande);
    }
    QByteArray datos;
    datos.resize(static_cast<qsizetype>(st.st_size));
    qsizetype leidos = 0;
    while (leidos < datos.size()) {
        const ssize_t n =
            ::read(fd, datos.data() + leidos, static_cast<size_t>(datos.size() - leidos));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break; // the file shrank while being read
        leidos += n;
    }
    ::close(fd);
    datos.truncate(leidos);
    return datos;
}

// Writes `bytes` as the whole new content of `ruta`: the file is replaced in
// one rename when everything was written, and left as it was otherwise.
inline bool escribirArchivoEntero(const QString& ruta, const QByteArray& bytes) {
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly))
        return false;
    if (archivo.write(bytes) != bytes.size()) {
        archivo.cancelWriting();
        return false;
    }
    return archivo.commit();
}

} // namespace rp::suite
