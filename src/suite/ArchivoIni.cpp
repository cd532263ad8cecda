#include "suite/ArchivoIni.h"

#include "suite/Aplicacion.h"
#include "suite/Texto1252.h"

#include <ini.h>
#include <optional>

namespace rp::suite {

namespace {

struct Busqueda {
    QString seccion;
    QString clave;
    std::optional<QString> valor;
};

int alLeer(void* usuario, const char* seccion, const char* clave, const char* valor) {
    auto* b = static_cast<Busqueda*>(usuario);
    if (b->valor.has_value() || clave == nullptr)
        return 1;
    if (QString::fromUtf8(seccion).trimmed().compare(b->seccion, Qt::CaseInsensitive) != 0)
        return 1;
    if (QString::fromUtf8(clave).trimmed().compare(b->clave, Qt::CaseInsensitive) != 0)
        return 1;
    QString texto = QString::fromUtf8(valor == nullptr ? "" : valor).trimmed();
    if (texto.size() >= 2 && texto.startsWith(QLatin1Char('"')) && texto.endsWith(QLatin1Char('"')))
        texto = texto.mid(1, texto.size() - 2);
    b->valor = texto;
    return 1;
}

} // namespace

QString ArchivoIni::LeerIni(const QString& archivo, const QString& seccion, const QString& clave,
                            const QString& porDefecto) {
    const QString ruta =
        archivo.contains(QLatin1Char('/')) ? archivo : Aplicacion::carpetaPrograma() + archivo;
    const std::optional<QString> contenido = Texto1252::leerArchivo(ruta);
    if (!contenido)
        return porDefecto;
    Busqueda b{seccion.trimmed(), clave.trimmed(), std::nullopt};
    QByteArray utf8 = contenido->toUtf8();
    utf8.replace('\0', ' ');
    // A parse error on one line does not stop the reading of the others.
    ini_parse_string(utf8.constData(), &alLeer, &b);
    return b.valor.value_or(porDefecto);
}

} // namespace rp::suite
