#include "lookup/ArchivoAnchos.h"

#include "suite/Texto1252.h"
#include "suite/Utilidades.h"

#include <QStringList>

namespace rp::lookup {

using rp::suite::Texto1252;

namespace {

QString comillas(const QString& s) {
    QString t = s;
    t.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + t + QLatin1Char('"');
}

QStringList lineas(const QString& ruta) {
    const std::optional<QString> texto = Texto1252::leerArchivo(ruta);
    if (!texto)
        return {};
    QStringList out = texto->split(QLatin1Char('\n'));
    for (QString& l : out)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    while (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

} // namespace

bool ArchivoAnchos::partirLinea(const QString& linea, QString& tabla, QString& anchos) {
    QStringList campos;
    QString actual;
    bool dentro = false;
    bool citado = false;
    for (qsizetype i = 0; i < linea.size(); ++i) {
        const QChar c = linea.at(i);
        if (dentro) {
            if (c == QLatin1Char('"') && i + 1 < linea.size() && linea.at(i + 1) == c) {
                actual += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                dentro = false;
            } else {
                actual += c;
            }
        } else if (c == QLatin1Char('"')) {
            dentro = true;
            citado = true;
        } else if (c == QLatin1Char(',')) {
            campos << (citado ? actual : actual.trimmed());
            actual.clear();
            citado = false;
        } else {
            actual += c;
        }
    }
    campos << (citado ? actual : actual.trimmed());
    if (dentro || campos.size() != 2)
        return false;
    tabla = campos[0];
    anchos = campos[1];
    return true;
}

QList<int> ArchivoAnchos::leer(const QString& ruta, const QString& tabla) {
    QList<int> out;
    for (const QString& l : lineas(ruta)) {
        QString t, a;
        if (!partirLinea(l, t, a) || t.compare(tabla, Qt::CaseInsensitive) != 0)
            continue;
        for (int i = 0;; ++i) {
            const qsizetype barra = a.indexOf(QLatin1Char('|'));
            if (barra < 0)
                break;
            const QString texto = a.left(barra).trimmed();
            bool ok = false;
            texto.toDouble(&ok);
            const double w = rp::suite::Utilidades::TextoANumero(texto);
            if (texto.isEmpty() || (!ok && w == 0) || w < 0 || w > 1e6)
                break;
            if (i < out.size())
                out[i] = int(w);
            else
                out.append(int(w));
            a.remove(0, barra + 1);
        }
    }
    return out;
}

bool ArchivoAnchos::grabar(const QString& ruta, const QString& tabla, const QList<int>& anchos) {
    QString texto;
    for (const QString& l : lineas(ruta)) {
        QString t, a;
        if (partirLinea(l, t, a) && t.compare(tabla, Qt::CaseInsensitive) == 0)
            continue;
        texto += l + QLatin1String("\r\n");
    }
    QString campo;
    for (int w : anchos)
        campo += QString::number(w) + QLatin1Char('|');
    texto += comillas(tabla) + QLatin1Char(',') + comillas(campo) + QLatin1String("\r\n");
    return Texto1252::escribirArchivo(ruta, texto);
}

} // namespace rp::lookup
