#include "report/engine/SolicitudReporte.h"

#include <QRegularExpression>

namespace rp::motor {

namespace {

QString citar(const QString& s) {
    QString t = s;
    t.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    t.replace(QLatin1Char('"'), QLatin1String("\\\""));
    t.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    t.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    t.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    return QLatin1Char('"') + t + QLatin1Char('"');
}

QString lista(const QStringList& l) {
    QStringList c;
    for (const QString& s : l)
        c << citar(s);
    return QLatin1Char('[') + c.join(QLatin1Char(',')) + QLatin1Char(']');
}

QString nombreDestino(Destino d) {
    switch (d) {
    case Destino::Pantalla:
        return QStringLiteral("pantalla");
    case Destino::Impresora:
        return QStringLiteral("impresora");
    case Destino::Otro2:
        return QStringLiteral("2");
    case Destino::Otro3:
        return QStringLiteral("3");
    case Destino::Pdf:
        return QStringLiteral("pdf");
    case Destino::Csv:
        return QStringLiteral("csv");
    case Destino::Xlsx:
        return QStringLiteral("xlsx");
    }
    return QString();
}

} // namespace

ParametroProcedimiento ParametroProcedimiento::leer(const QString& texto) {
    ParametroProcedimiento p;
    const qsizetype pc = texto.indexOf(QLatin1Char(';'));
    if (pc < 0) {
        p.nombre = texto.trimmed();
        return p;
    }
    p.nombre = texto.left(pc).trimmed();
    QString resto = texto.mid(pc + 1);
    static const QRegularExpression marca(QStringLiteral(";\\s*(TRUE|FALSE)\\s*$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const auto m = marca.match(resto);
    if (m.hasMatch())
        resto.truncate(m.capturedStart());
    p.valor = resto;
    return p;
}

QList<ParametroProcedimiento> SolicitudReporte::parametrosLeidos() const {
    QList<ParametroProcedimiento> r;
    for (const QString& p : parametros) {
        if (!p.trimmed().isEmpty())
            r << ParametroProcedimiento::leer(p);
    }
    return r;
}

QString SolicitudReporte::ocultarClave(const QString& cadenaConexion) {
    static const QRegularExpression clave(QStringLiteral("((?:PWD|Password)\\s*=)[^;]*"),
                                          QRegularExpression::CaseInsensitiveOption);
    QString r = cadenaConexion;
    return r.replace(clave, QStringLiteral("\\1****"));
}

QString SolicitudReporte::texto() const {
    QStringList f;
    for (int i = 0; i < 5; ++i)
        f << (formulas[i] ? citar(*formulas[i]) : QStringLiteral("-"));
    QStringList sr;
    for (const QString& s : subinformes)
        sr << citar(s);
    return QStringLiteral("plantilla=%1 destino=%2 archivo=%3 orden=%4 formula=%5 conexion=%6 "
                          "formulas=[%7] subinformes=[%8] parametros=%9 impresora=%10 "
                          "copias=%11 paginas=%12-%13 dialogo=%14 ocultas=%15 precios=%16")
        .arg(citar(plantilla), nombreDestino(destino), citar(archivoSalida), lista(orden),
             citar(formula), citar(ocultarClave(cadenaConexion)), f.join(QLatin1Char(',')),
             sr.join(QLatin1Char(',')), lista(parametros))
        .arg(citar(impresora))
        .arg(copias)
        .arg(desdePagina)
        .arg(hastaPagina)
        .arg(conDialogo ? QStringLiteral("si") : QStringLiteral("no"), lista(columnasOcultas),
             lista(textosPrecio));
}

} // namespace rp::motor
