#include "connections/AccesoDirecto.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace rp::connections {

namespace {

const QString kNombre = QStringLiteral("Vizuv Adorav");

bool reservado(QChar c) {
    static const QString reservados = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    return reservados.contains(c);
}

// A value of type string or localestring: \s \n \t \r \\ escapes.
QString valorTexto(const QString& v) {
    QString out;
    out.reserve(v.size());
    for (const QChar c : v) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else
            out += c;
    }
    if (out.startsWith(QLatin1Char(' ')))
        out.replace(0, 1, QStringLiteral("\\s"));
    return out;
}

// Control characters cannot stand in a launcher's Exec line.
bool textoValido(const QString& v) {
    for (const QChar c : v)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    return !v.isEmpty();
}

} // namespace

QString AccesoDirecto::nombreArchivo() {
    return kNombre + QStringLiteral(".desktop");
}

QString AccesoDirecto::carpetaEscritorio() {
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString AccesoDirecto::argumentoExec(const QString& argumento) {
    QString arg;
    bool comillas = argumento.isEmpty();
    for (const QChar c : argumento) {
        if (reservado(c))
            comillas = true;
        if (c == QLatin1Char('%'))
            arg += QLatin1String("%%");
        else
            arg += c;
    }
    if (comillas) {
        QString dentro;
        for (const QChar c : arg) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                c == QLatin1Char('\\'))
                dentro += QLatin1Char('\\');
            dentro += c;
        }
        arg = QLatin1Char('"') + dentro + QLatin1Char('"');
    }
    // The string escapes of the key's value come on top of the quoting.
    arg.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    return arg;
}

QString AccesoDirecto::contenido(const QString& programa, const QString& carpetaPrograma) {
    QString t;
    t += QStringLiteral("[Desktop Entry]\n");
    t += QStringLiteral("Type=Application\n");
    t += QStringLiteral("Version=1.4\n");
    t += QStringLiteral("Name=") + kNombre + QLatin1Char('\n');
    t += QStringLiteral("Comment=Reporte Historico de Cambio de Precios\n");
    t += QStringLiteral("Exec=") + argumentoExec(programa) + QStringLiteral(" --program-folder ") +
         argumentoExec(carpetaPrograma) + QLatin1Char('\n');
    t += QStringLiteral("Path=") + valorTexto(carpetaPrograma) + QLatin1Char('\n');
    t += QStringLiteral("Icon=rp_tarifario\n");
    t += QStringLiteral("Terminal=false\n");
    t += QStringLiteral("Categories=Office;Finance;\n");
    return t;
}

bool AccesoDirecto::crear(const QString& carpetaEscritorio, const QString& programa,
                          const QString& carpetaPrograma, QString& ruta, QString& error) {
    error.clear();
    ruta = QDir(carpetaEscritorio).filePath(nombreArchivo());
    if (carpetaEscritorio.isEmpty() || !QFileInfo(carpetaEscritorio).isDir()) {
        error = QStringLiteral("la carpeta del escritorio no existe");
        return false;
    }
    if (!textoValido(programa) || !textoValido(carpetaPrograma)) {
        error = QStringLiteral("la ruta del programa o de su carpeta tiene caracteres de control");
        return false;
    }
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly)) {
        error = archivo.errorString();
        return false;
    }
    const QByteArray bytes = contenido(programa, carpetaPrograma).toUtf8();
    if (archivo.write(bytes) != bytes.size()) {
        error = archivo.errorString();
        archivo.cancelWriting();
        return false;
    }
    archivo.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                           QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                           QFileDevice::ReadOther | QFileDevice::ExeOther);
    if (!archivo.commit()) {
        error = archivo.errorString();
        return false;
    }
    return true;
}

} // namespace rp::connections
