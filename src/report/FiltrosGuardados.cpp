#include "report/FiltrosGuardados.h"

#include "report/CamposFormulario.h"
#include "report/FormularioTarifario.h"
#include "suite/ArchivoRegular.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>

namespace rp::report {

namespace {

constexpr const char* kSufijo = ".filtro";
constexpr qint64 kTamanoMaximo = 64 * 1024;

// A value on one line: backslash, line feed and carriage return escaped.
QString escapar(const QString& v) {
    QString out;
    out.reserve(v.size());
    for (const QChar c : v) {
        if (c == u'\\')
            out += QLatin1String("\\\\");
        else if (c == u'\n')
            out += QLatin1String("\\n");
        else if (c == u'\r')
            out += QLatin1String("\\r");
        else
            out += c;
    }
    return out;
}

std::optional<QString> desescapar(const QString& v) {
    QString out;
    out.reserve(v.size());
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v.at(i) != u'\\') {
            out += v.at(i);
            continue;
        }
        if (++i >= v.size())
            return std::nullopt;
        const QChar c = v.at(i);
        if (c == u'\\')
            out += u'\\';
        else if (c == u'n')
            out += u'\n';
        else if (c == u'r')
            out += u'\r';
        else
            return std::nullopt;
    }
    return out;
}

QString listaEnteros(const QList<int>& l) {
    QStringList t;
    for (int v : l)
        t << QString::number(v);
    return t.join(QLatin1Char(','));
}

std::optional<QList<int>> leerEnteros(const QString& v) {
    QList<int> out;
    if (v.trimmed().isEmpty())
        return out;
    for (const QString& parte : v.split(QLatin1Char(','))) {
        bool ok = false;
        const int n = parte.trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
        out << n;
    }
    return out;
}

bool fuera(int v, int cantidad) {
    return v < 0 || v >= cantidad;
}

} // namespace

void OpcionesFormulario::completarCon(const OpcionesFormulario& otras) {
    if (otras.pestana)
        pestana = otras.pestana;
    for (const auto& [clave, valor] : otras.campos) {
        auto igual = [&](const QPair<QString, QString>& c) {
            return c.first.compare(clave, Qt::CaseInsensitive) == 0;
        };
        campos.erase(std::remove_if(campos.begin(), campos.end(), igual), campos.end());
        campos.append({clave, valor});
    }
    if (otras.columnas)
        columnas = otras.columnas;
    if (!otras.precios.isEmpty())
        precios = otras.precios;
    if (otras.orden)
        orden = otras.orden;
    if (otras.variacion)
        variacion = otras.variacion;
}

bool AplicarOpcionesFormulario(FormularioTarifario& formulario, const OpcionesFormulario& opciones,
                               QString& error) {
    if (opciones.pestana && fuera(*opciones.pestana, CamposFormulario::CantidadPestanas)) {
        error = QStringLiteral("--tab debe ser 0, 1 o 2: %1").arg(*opciones.pestana);
        return false;
    }
    for (const auto& [clave, valor] : opciones.campos) {
        const int indice = formulario.IndiceControl(clave);
        if (indice < 0) {
            error = QStringLiteral("--field: el formulario no tiene el campo %1").arg(clave);
            return false;
        }
        if (valor.size() > formulario.longitudMaxima(indice)) {
            error = QStringLiteral("--field: %1 admite %2 caracteres")
                        .arg(clave)
                        .arg(formulario.longitudMaxima(indice));
            return false;
        }
    }
    if (opciones.columnas) {
        for (int c : *opciones.columnas) {
            if (fuera(c, CamposFormulario::CantidadChkFiltro)) {
                error = QStringLiteral("--columns: no hay columna %1 (0 a 9)").arg(c);
                return false;
            }
        }
    }
    for (int p : opciones.precios) {
        if (fuera(p, CamposFormulario::CantidadOptPrecios)) {
            error = QStringLiteral("--price: no hay opción %1 (0 a 17)").arg(p);
            return false;
        }
    }
    if (opciones.orden && fuera(*opciones.orden, CamposFormulario::CantidadOptOrden)) {
        error = QStringLiteral("--order: no hay opción %1 (0 a 8)").arg(*opciones.orden);
        return false;
    }
    // Checked first, applied whole.
    for (const auto& [clave, valor] : opciones.campos)
        formulario.setTexto(formulario.IndiceControl(clave), valor);
    if (opciones.columnas)
        for (int i = 0; i < CamposFormulario::CantidadChkFiltro; ++i)
            formulario.setChkFiltro(i, opciones.columnas->contains(i));
    for (int p : opciones.precios)
        formulario.setOptPrecios(p);
    if (opciones.orden)
        formulario.setOptOrden(*opciones.orden);
    if (opciones.variacion)
        formulario.setMostrarVariacion(*opciones.variacion);
    if (opciones.pestana)
        formulario.setPestana(*opciones.pestana);
    return true;
}

OpcionesFormulario CapturarOpcionesFormulario(const FormularioTarifario& formulario) {
    OpcionesFormulario o;
    o.pestana = formulario.pestana();
    for (int indice : formulario.indicesCampos()) {
        const QString texto = formulario.texto(indice);
        if (!texto.isEmpty())
            o.campos.append({formulario.clave(indice), texto});
    }
    QList<int> columnas;
    for (int i = 0; i < CamposFormulario::CantidadChkFiltro; ++i)
        if (formulario.chkFiltro(i))
            columnas << i;
    o.columnas = columnas;
    for (int p = 0; p < CamposFormulario::CantidadPestanas; ++p)
        if (const int sel = formulario.optPreciosSeleccionado(p); sel >= 0)
            o.precios << sel;
    if (const int orden = formulario.optOrdenSeleccionado(); orden >= 0)
        o.orden = orden;
    o.variacion = formulario.mostrarVariacion();
    return o;
}

FiltrosGuardados::FiltrosGuardados(const QString& carpeta) : carpeta_(carpeta) {}

QString FiltrosGuardados::carpetaUsuario() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/rp_tarifario/filtros");
}

QString FiltrosGuardados::validarNombre(const QString& nombre) {
    const QString n = nombre.trimmed();
    if (n.isEmpty())
        return QStringLiteral("El nombre del filtro está vacío.");
    if (n.size() > LargoMaximoNombre)
        return QStringLiteral("El nombre del filtro admite %1 caracteres.").arg(LargoMaximoNombre);
    for (const QChar c : n)
        if (!c.isPrint())
            return QStringLiteral("El nombre del filtro tiene caracteres que no se ven.");
    return QString();
}

QString FiltrosGuardados::ruta(const QString& nombre) const {
    // Letters, digits, blanks and "-_." stay readable; everything else
    // (including "/" and "%") is percent-encoded.
    QByteArray archivo = QUrl::toPercentEncoding(nombre.trimmed(), QByteArrayLiteral(" -_."));
    // A leading dot would hide the file.
    if (archivo.startsWith('.'))
        archivo.replace(0, 1, "%2E");
    return carpeta_ + QLatin1Char('/') + QString::fromLatin1(archivo) + QLatin1String(kSufijo);
}

QByteArray FiltrosGuardados::aTexto(const QString& nombre, const OpcionesFormulario& o) {
    QString t = QStringLiteral("# rp_tarifario: filtro guardado\nformato=1\n");
    t += QStringLiteral("nombre=") + escapar(nombre.trimmed()) + QLatin1Char('\n');
    if (o.pestana)
        t += QStringLiteral("pestana=%1\n").arg(*o.pestana);
    for (const auto& [clave, valor] : o.campos)
        t += QStringLiteral("campo.") + clave + QLatin1Char('=') + escapar(valor) +
             QLatin1Char('\n');
    if (o.columnas)
        t += QStringLiteral("columnas=") + listaEnteros(*o.columnas) + QLatin1Char('\n');
    if (!o.precios.isEmpty())
        t += QStringLiteral("precios=") + listaEnteros(o.precios) + QLatin1Char('\n');
    if (o.orden)
        t += QStringLiteral("orden=%1\n").arg(*o.orden);
    if (o.variacion)
        t += *o.variacion ? QStringLiteral("variacion=si\n") : QStringLiteral("variacion=no\n");
    return t.toUtf8();
}

std::optional<OpcionesFormulario> FiltrosGuardados::desdeTexto(const QByteArray& texto,
                                                               QString& nombre, QString& error) {
    OpcionesFormulario o;
    nombre.clear();
    bool conFormato = false;
    const QString todo = QString::fromUtf8(texto);
    if (todo.contains(QChar::ReplacementCharacter)) {
        error = QStringLiteral("el archivo no es texto UTF-8");
        return std::nullopt;
    }
    const QStringList lineas = todo.split(QLatin1Char('\n'));
    for (qsizetype n = 0; n < lineas.size(); ++n) {
        QString linea = lineas[n];
        if (linea.endsWith(QLatin1Char('\r')))
            linea.chop(1);
        if (linea.trimmed().isEmpty() || linea.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype igual = linea.indexOf(QLatin1Char('='));
        auto fallar = [&](const QString& motivo) {
            error = QStringLiteral("línea %1: %2").arg(n + 1).arg(motivo);
            return std::nullopt;
        };
        if (igual <= 0)
            return fallar(QStringLiteral("se esperaba clave=valor"));
        const QString clave = linea.left(igual).trimmed();
        const std::optional<QString> valor = desescapar(linea.mid(igual + 1));
        if (!valor)
            return fallar(QStringLiteral("barra invertida sin sentido en el valor"));
        bool ok = true;
        if (clave == QLatin1String("formato")) {
            if (valor->trimmed() != QLatin1String("1"))
                return fallar(QStringLiteral("formato %1 desconocido").arg(*valor));
            conFormato = true;
        } else if (clave == QLatin1String("nombre")) {
            nombre = *valor;
        } else if (clave == QLatin1String("pestana")) {
            o.pestana = valor->trimmed().toInt(&ok);
        } else if (clave.startsWith(QLatin1String("campo.")) && clave.size() > 6) {
            o.campos.append({clave.mid(6), *valor});
        } else if (clave == QLatin1String("columnas")) {
            o.columnas = leerEnteros(*valor);
            ok = o.columnas.has_value();
        } else if (clave == QLatin1String("precios")) {
            const auto precios = leerEnteros(*valor);
            ok = precios.has_value();
            o.precios = precios.value_or(QList<int>());
        } else if (clave == QLatin1String("orden")) {
            o.orden = valor->trimmed().toInt(&ok);
        } else if (clave == QLatin1String("variacion")) {
            const QString v = valor->trimmed().toLower();
            ok = v == QLatin1String("si") || v == QLatin1String("no");
            if (!ok)
                return fallar(QStringLiteral("variacion es si o no"));
            o.variacion = v == QLatin1String("si");
        } else {
            return fallar(QStringLiteral("clave %1 desconocida").arg(clave));
        }
        if (!ok)
            return fallar(QStringLiteral("%1 no es un número").arg(clave));
    }
    if (!conFormato) {
        error = QStringLiteral("falta la línea formato=1");
        return std::nullopt;
    }
    return o;
}

QList<FiltrosGuardados::Entrada> FiltrosGuardados::listar() const {
    QList<Entrada> out;
    const QDir dir(carpeta_);
    for (const QFileInfo& f : dir.entryInfoList({QStringLiteral("*") + QLatin1String(kSufijo)},
                                                QDir::Files | QDir::Hidden, QDir::Name)) {
        Entrada e;
        const QString base = f.fileName().chopped(int(qstrlen(kSufijo)));
        e.nombre = QUrl::fromPercentEncoding(base.toLatin1());
        suite::FalloArchivo fallo{};
        const auto bytes = suite::leerArchivoRegular(f.filePath(), kTamanoMaximo, &fallo);
        if (!bytes) {
            e.error = fallo == suite::FalloArchivo::DemasiadoGrande
                          ? QStringLiteral("el archivo es demasiado grande")
                          : QStringLiteral("no se puede leer el archivo");
        } else {
            QString guardado;
            e.opciones = desdeTexto(*bytes, guardado, e.error);
            if (e.opciones && !guardado.isEmpty())
                e.nombre = guardado;
        }
        out << e;
    }
    std::sort(out.begin(), out.end(), [](const Entrada& a, const Entrada& b) {
        return a.nombre.localeAwareCompare(b.nombre) < 0;
    });
    return out;
}

bool FiltrosGuardados::existe(const QString& nombre) const {
    return QFileInfo::exists(ruta(nombre));
}

std::optional<OpcionesFormulario> FiltrosGuardados::leer(const QString& nombre,
                                                         QString& error) const {
    suite::FalloArchivo fallo{};
    const auto bytes = suite::leerArchivoRegular(ruta(nombre), kTamanoMaximo, &fallo);
    if (!bytes) {
        error = fallo == suite::FalloArchivo::NoSeAbre
                    ? QStringLiteral("No hay un filtro guardado con el nombre \"%1\".").arg(nombre)
                    : QStringLiteral("El filtro \"%1\" no se puede leer (%2).")
                          .arg(nombre, ruta(nombre));
        return std::nullopt;
    }
    QString guardado, motivo;
    auto o = desdeTexto(*bytes, guardado, motivo);
    if (!o)
        error = QStringLiteral("El filtro \"%1\" está dañado: %2 (%3).")
                    .arg(nombre, motivo, ruta(nombre));
    return o;
}

bool FiltrosGuardados::guardar(const QString& nombre, const OpcionesFormulario& opciones,
                               QString& error) {
    error = validarNombre(nombre);
    if (!error.isEmpty())
        return false;
    if (!QDir().mkpath(carpeta_)) {
        error = QStringLiteral("No se puede crear la carpeta %1.").arg(carpeta_);
        return false;
    }
    if (!suite::escribirArchivoEntero(ruta(nombre), aTexto(nombre, opciones))) {
        error = QStringLiteral("No se puede escribir el filtro en %1.").arg(ruta(nombre));
        return false;
    }
    return true;
}

bool FiltrosGuardados::renombrar(const QString& viejo, const QString& nuevo, QString& error) {
    error = validarNombre(nuevo);
    if (!error.isEmpty())
        return false;
    const bool mismoArchivo = ruta(viejo) == ruta(nuevo);
    if (!mismoArchivo && existe(nuevo)) {
        error = QStringLiteral("Ya hay un filtro con el nombre \"%1\".").arg(nuevo.trimmed());
        return false;
    }
    const auto opciones = leer(viejo, error);
    if (!opciones || !guardar(nuevo, *opciones, error))
        return false;
    if (!mismoArchivo && !QFile::remove(ruta(viejo))) {
        error = QStringLiteral("El filtro se copió como \"%1\" pero \"%2\" no se pudo borrar.")
                    .arg(nuevo.trimmed(), viejo);
        return false;
    }
    return true;
}

bool FiltrosGuardados::borrar(const QString& nombre, QString& error) {
    if (!QFile::remove(ruta(nombre))) {
        error = QStringLiteral("No se pudo borrar el filtro \"%1\".").arg(nombre);
        return false;
    }
    return true;
}

} // namespace rp::report
