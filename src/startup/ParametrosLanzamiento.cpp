#include "startup/ParametrosLanzamiento.h"

namespace rp::startup {

namespace {

QString sinIgual(QString s) {
    s.remove(QLatin1Char('='));
    return s.trimmed();
}

// The value of `clave` in `texto`; nullopt-like flag `sinPuntoYComa` when no
// ";" follows the key.
QString valor(const QString& texto, const QString& clave, bool& encontrada, bool& sinPuntoYComa) {
    encontrada = false;
    sinPuntoYComa = false;
    const qsizetype pos = texto.indexOf(clave, 0, Qt::CaseInsensitive);
    if (pos < 0)
        return QString();
    encontrada = true;
    const qsizetype fin = texto.indexOf(QLatin1Char(';'), pos);
    if (fin < 0) {
        sinPuntoYComa = true;
        return QString();
    }
    const qsizetype inicio = pos + clave.size();
    return sinIgual(texto.mid(inicio, qMax<qsizetype>(0, fin - inicio)));
}

} // namespace

ParametrosLanzamiento ParametrosLanzamiento::leer(const QString& texto,
                                                  const ParametrosLanzamiento& anterior) {
    ParametrosLanzamiento p;
    bool encontrada = false;
    bool sinPyC = false;

    // Read in the order the suite defines; a key without ";" after it
    // leaves its value empty unless noted.
    const QString claveAdicional = QStringLiteral("@ParametroAdicional");
    p.parametroAdicional = valor(texto, claveAdicional, encontrada, sinPyC);
    if (sinPyC) {
        const qsizetype pos = texto.indexOf(claveAdicional, 0, Qt::CaseInsensitive);
        p.parametroAdicional =
            sinIgual(texto.mid(pos + claveAdicional.size(), claveAdicional.size()));
    }

    p.menu = valor(texto, QStringLiteral("@Menu"), encontrada, sinPyC);
    if (sinPyC)
        p.menu = anterior.menu;
    p.servidor = valor(texto, QStringLiteral("@Server"), encontrada, sinPyC);
    p.baseDatos = valor(texto, QStringLiteral("@DbName"), encontrada, sinPyC);
    p.usuario = valor(texto, QStringLiteral("@Usuario"), encontrada, sinPyC);
    p.password = valor(texto, QStringLiteral("@Password"), encontrada, sinPyC);
    p.usuarioLogeado = valor(texto, QStringLiteral("@UsuarioLogeado"), encontrada, sinPyC);
    if (sinPyC)
        p.usuarioLogeado = anterior.usuarioLogeado;
    p.caja = valor(texto, QStringLiteral("@Caja"), encontrada, sinPyC);
    if (!encontrada)
        p.caja = QStringLiteral("1");
    else if (sinPyC)
        p.caja = anterior.caja;
    return p;
}

QString NormalizarServidor(const QString& servidor) {
    QString s = servidor;
    const qsizetype barra = s.indexOf(QLatin1Char('/'));
    if (barra >= 0)
        s = s.mid(barra + 1);
    const qsizetype dosPuntos = s.indexOf(QLatin1Char(':'));
    if (dosPuntos >= 0)
        s = s.left(dosPuntos);
    return s;
}

} // namespace rp::startup
