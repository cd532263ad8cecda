#pragma once

#include <QDir>
#include <QFile>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <ostream>
#include <string>

namespace rp::prueba {

// Cases of a test kept in text files ("*.test" of one folder, read in name
// order), so that adding a case is adding a few lines:
//
//   # a comment (blank lines are skipped too)
//   == name of the case
//   key: value
//
// A value is the rest of its line after "key:" and one blank; what it means
// is the test's business (desescapar reads the escapes some tests use).
struct CasoTexto {
    QString archivo; // file name, without the folder
    int linea = 0;   // line of "=="
    QString nombre;
    QHash<QString, QString> valores;
    QHash<QString, int> lineas; // line of each key

    bool tiene(const QString& clave) const { return valores.contains(clave); }
    QString valor(const QString& clave) const { return valores.value(clave); }
    // "file:line" of the case, or of one of its keys.
    QString donde(const QString& clave = QString()) const {
        return archivo + QLatin1Char(':') +
               QString::number(clave.isEmpty() ? linea : lineas.value(clave, linea));
    }
};

inline void PrintTo(const CasoTexto& c, std::ostream* os) {
    *os << (c.donde() + QStringLiteral(" ") + c.nombre).toStdString();
}

// A test name for a parameterized test over cases: `prefijo` and the case's
// name with every character outside [A-Za-z0-9] as "_".
inline std::string nombreDePrueba(const CasoTexto& c, const QString& prefijo = QString()) {
    QString nombre = prefijo + c.nombre;
    for (QChar& ch : nombre)
        if (ch.unicode() > 127 || !ch.isLetterOrNumber())
            ch = QLatin1Char('_');
    return nombre.toStdString();
}

struct LecturaCasos {
    QList<CasoTexto> casos;
    QStringList errores; // "file:line: what is wrong", one per fault
};

// Reads the case files of `carpeta`. Only `claves` may appear, each once per
// case, and every one of `obligatorias` must. A line that is not a comment,
// a case head or "key: value", a key outside a case, an unknown or repeated
// key, a case without a name or without a required key is an error naming
// its file and line; the faulty case is left out.
inline LecturaCasos leerCasos(const QString& carpeta, const QStringList& claves,
                              const QStringList& obligatorias = {}) {
    LecturaCasos r;
    const QDir dir(carpeta);
    const QStringList archivos = dir.entryList({QStringLiteral("*.test")}, QDir::Files, QDir::Name);
    if (archivos.isEmpty())
        r.errores << carpeta + QStringLiteral(": no *.test file");
    for (const QString& nombre : archivos) {
        QFile f(dir.filePath(nombre));
        if (!f.open(QIODevice::ReadOnly)) {
            r.errores << nombre + QStringLiteral(": cannot be read");
            continue;
        }
        const QStringList lineas = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        std::optional<CasoTexto> caso;
        bool valido = true;
        const auto error = [&](int linea, const QString& texto) {
            r.errores << nombre + QLatin1Char(':') + QString::number(linea) + QStringLiteral(": ") +
                             texto;
            valido = false;
        };
        const auto cerrar = [&] {
            if (!caso)
                return;
            for (const QString& clave : obligatorias)
                if (!caso->tiene(clave))
                    error(caso->linea, QStringLiteral("case without \"%1:\"").arg(clave));
            if (valido)
                r.casos << *caso;
            caso.reset();
        };
        for (int i = 0; i < lineas.size(); ++i) {
            QString l = lineas.at(i);
            if (l.endsWith(QLatin1Char('\r')))
                l.chop(1);
            const int n = i + 1;
            if (l.trimmed().isEmpty() || l.startsWith(QLatin1Char('#')))
                continue;
            if (l.startsWith(QLatin1String("=="))) {
                cerrar();
                valido = true;
                caso.emplace();
                caso->archivo = nombre;
                caso->linea = n;
                caso->nombre = l.mid(2).trimmed();
                if (caso->nombre.isEmpty())
                    error(n, QStringLiteral("case without a name"));
                continue;
            }
            const qsizetype dp = l.indexOf(QLatin1Char(':'));
            const QString clave = dp < 0 ? QString() : l.left(dp);
            if (dp < 0 || !claves.contains(clave)) {
                error(n, dp < 0 ? QStringLiteral("expected \"key: value\"")
                                : QStringLiteral("unknown key \"%1\"").arg(clave));
                continue;
            }
            if (!caso) {
                error(n, QStringLiteral("\"%1:\" before the first \"== name\"").arg(clave));
                continue;
            }
            if (caso->tiene(clave)) {
                error(n, QStringLiteral("\"%1:\" given twice").arg(clave));
                continue;
            }
            const QString resto = l.mid(dp + 1);
            caso->valores.insert(clave, resto.startsWith(QLatin1Char(' ')) ? resto.mid(1) : resto);
            caso->lineas.insert(clave, n);
        }
        cerrar();
    }
    return r;
}

// A value with "\n" (line break), "\s" (a blank, for one that ends a value)
// and "\\" (a backslash) read; std::nullopt when any other "\" follows.
inline std::optional<QString> desescapar(const QString& valor) {
    QString r;
    r.reserve(valor.size());
    for (qsizetype i = 0; i < valor.size(); ++i) {
        const QChar c = valor.at(i);
        if (c != QLatin1Char('\\')) {
            r += c;
            continue;
        }
        const QChar s = i + 1 < valor.size() ? valor.at(i + 1) : QChar();
        if (s == QLatin1Char('n'))
            r += QLatin1Char('\n');
        else if (s == QLatin1Char('s'))
            r += QLatin1Char(' ');
        else if (s == QLatin1Char('\\'))
            r += QLatin1Char('\\');
        else
            return std::nullopt;
        ++i;
    }
    return r;
}

} // namespace rp::prueba
