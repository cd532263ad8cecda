// Fuzz target: the readers of the program folder's files. The first byte
// picks the reader: 0 "DA000va.INI" (settings), 1 "BASES.TXT" (connection
// list), 2 "consultas.kst" (lookup definitions, fixed-size records), 3
// "CONSULTASLEN.KST" (column widths: read, then saved for one table and read
// back, which must give the saved widths).

#include "connections/ArchivoBases.h"
#include "lookup/ArchivoAnchos.h"
#include "lookup/ArchivoConsultas.h"
#include "suite/ArchivoIni.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {

QString rutaTemporal(const QString& nombre) {
    static QTemporaryDir* dir =
        new QTemporaryDir(QDir::tempPath() + QStringLiteral("/rpfuzz-XXXXXX"));
    return dir->filePath(nombre);
}

void escribir(const QString& ruta, const uint8_t* data, size_t size) {
    QFile f(ruta);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 200000)
        return 0;
    const uint8_t* resto = data + 1;
    const size_t largo = size - 1;
    switch (data[0] % 4) {
    case 0: {
        const QString ruta = rutaTemporal(QStringLiteral("DA000va.INI"));
        escribir(ruta, resto, largo);
        for (const char* clave : {"FlatToolbars", "Parametros", "Caja", ""})
            (void)rp::suite::ArchivoIni::LeerIni(ruta, QStringLiteral("Caja1"),
                                                 QString::fromLatin1(clave), QStringLiteral("x"));
        break;
    }
    case 1:
        (void)rp::connections::ArchivoBases::interpretar(
            QByteArray(reinterpret_cast<const char*>(resto), static_cast<qsizetype>(largo)));
        break;
    case 3: {
        const QString ruta = rutaTemporal(QStringLiteral("CONSULTASLEN.KST"));
        escribir(ruta, resto, largo);
        (void)rp::lookup::ArchivoAnchos::leer(ruta, QStringLiteral("VT_PROVEEDORES"));
        const QList<int> anchos{1440, 2400, 900};
        if (rp::lookup::ArchivoAnchos::grabar(ruta, QStringLiteral("V_MA_ARTICULOS"), anchos) &&
            rp::lookup::ArchivoAnchos::leer(ruta, QStringLiteral("v_ma_articulos")) != anchos)
            std::abort();
        break;
    }
    default: {
        const QString ruta = rutaTemporal(QStringLiteral("consultas.kst"));
        escribir(ruta, resto, largo);
        (void)rp::lookup::ArchivoConsultas::buscar(ruta, QStringLiteral("ARTICULOS"));
        (void)rp::lookup::RegistroConsulta::desdeBytes(
            QByteArray(reinterpret_cast<const char*>(resto), static_cast<qsizetype>(largo)));
        break;
    }
    }
    return 0;
}
