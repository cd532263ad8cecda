// Translation of statements written in the SQL Server dialect into the
// Oracle dialect, by a fixed sequence of text rules.
#include "db/DB_Dll.h"
#include "db/TextoVb.h"
#include "suite/Regional.h"
#include "suite/Utilidades.h"

#include <QSet>

namespace rp::db {

namespace {

const QString kMascara = QStringLiteral("'DD/MM/YYYY'");

DbError argumentoInvalido() {
    return DbError(5, QStringLiteral("Invalid procedure call or argument"));
}

qsizetype buscar(const QString& s, const QString& t, qsizetype desde = 0) {
    return s.indexOf(t, desde, Qt::CaseInsensitive);
}

// The first TOP that stands as a word of its own and is followed by a blank
// (any letter case); -1 when there is none. "DESKTOP " is not one.
qsizetype palabraTop(const QString& s) {
    const auto letra = [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); };
    for (qsizetype p = buscar(s, QStringLiteral("top ")); p >= 0;
         p = buscar(s, QStringLiteral("top "), p + 1)) {
        if (p == 0 || !letra(s.at(p - 1)))
            return p;
    }
    return -1;
}

// Rule 1: TOP n becomes a ROWNUM condition after the existing conditions and
// before any grouping or ordering.
QString limiteFilas(const QString& s) {
    const qsizetype p = palabraTop(s);
    if (p < 0)
        return s;
    const QString antes = s.left(p);
    const QString resto = TextoVb::recortar(s.mid(p + 3));
    const qsizetype blanco = resto.indexOf(QLatin1Char(' '));
    if (blanco < 0)
        throw argumentoInvalido();
    const QString cantidad = resto.left(blanco);
    QString cuerpo = resto.mid(blanco + 1);

    QString colaGrupo;
    QString colaOrden;
    const qsizetype grupo = buscar(s, QStringLiteral(" GROUP BY "));
    if (grupo >= 0) {
        colaGrupo = s.mid(grupo);
    } else {
        const qsizetype orden = buscar(s, QStringLiteral("ORDER BY "));
        if (orden >= 0)
            colaOrden = s.mid(orden);
    }
    const QString condicion =
        (buscar(s, QStringLiteral(" WHERE ")) >= 0 ? QStringLiteral(" AND ROWNUM <= ")
                                                   : QStringLiteral(" WHERE ROWNUM <= ")) +
        cantidad;
    cuerpo = TextoVb::reemplazar(cuerpo, TextoVb::recortar(colaGrupo), QStringLiteral(" "));
    cuerpo = TextoVb::reemplazar(cuerpo, TextoVb::recortar(colaOrden), QStringLiteral(" "));
    return antes + QStringLiteral(" ") + cuerpo + QStringLiteral(" ") + condicion +
           QStringLiteral(" ") + colaGrupo + QStringLiteral(" ") + colaOrden;
}

QString longitud(QString s) {
    for (const char* f : {" LEN(", " LEN (", " LEN  (", " LEN   (", " LEN    ("})
        s = TextoVb::reemplazar(s, QLatin1String(f), QStringLiteral(" LENGTH("));
    return s;
}

QString identificadores(QString s) {
    s.replace(QLatin1Char('['), QLatin1Char('"'));
    s.replace(QLatin1Char(']'), QLatin1Char('"'));
    return s;
}

// Rule 4: quoted dates become TO_DATE('dd/mm/yyyy','DD/MM/YYYY').
QString fechas(QString s) {
    const rp::suite::Regional& regional = rp::suite::Regional::actual();
    QStringList literales;
    QSet<QString> vistos;
    qsizetype desde = 0;
    for (;;) {
        const qsizetype abre = s.indexOf(QLatin1Char('\''), desde);
        if (abre < 0)
            break;
        const qsizetype cierra = s.indexOf(QLatin1Char('\''), abre + 1);
        if (cierra < 0)
            throw argumentoInvalido();
        const QString contenido = s.mid(abre + 1, cierra - abre - 1);
        if (!vistos.contains(contenido)) {
            vistos.insert(contenido);
            literales.append(contenido);
        }
        desde = cierra + 1;
    }
    const QString sep = QString(regional.separadorFecha);
    for (const QString& contenido : literales) {
        const QDate fecha = regional.textoAFecha(contenido);
        if (!fecha.isValid())
            continue;
        const QString texto = fecha.toString(QStringLiteral("dd")) + sep +
                              fecha.toString(QStringLiteral("MM")) + sep +
                              fecha.toString(QStringLiteral("yyyy"));
        s = TextoVb::reemplazar(s, QLatin1Char('\'') + contenido + QLatin1Char('\''),
                                QStringLiteral("TO_DATE('") + texto + QStringLiteral("',") +
                                    kMascara + QStringLiteral(")"));
    }
    while (buscar(s, QStringLiteral("TO_DATE(TO_DATE(")) >= 0) {
        s = TextoVb::reemplazar(s, QStringLiteral("TO_DATE(TO_DATE("), QStringLiteral("TO_DATE("));
        s = TextoVb::reemplazar(s, kMascara + QStringLiteral("),") + kMascara + QStringLiteral(")"),
                                kMascara + QStringLiteral(")"));
    }
    return s;
}

QString conversiones(QString s) {
    s = TextoVb::reemplazar(s, QStringLiteral("CONVERT(NVARCHAR,"), QStringLiteral("TO_CHAR("));
    return TextoVb::reemplazar(s, QStringLiteral("CONVERT(INT,"), QStringLiteral("TO_NUMBER("));
}

// Rule 7: comparisons with an empty text after the first WHERE become IS NULL.
QString vacios(QString s) {
    for (const char* buscado : {"= ''", "=''"}) {
        const qsizetype p = buscar(s, QStringLiteral("WHERE "));
        if (p < 0)
            return s;
        s = s.left(p) +
            TextoVb::reemplazar(s.mid(p), QLatin1String(buscado), QStringLiteral(" IS NULL "));
    }
    return s;
}

// Rule 8: style 103 inside TO_CHAR( becomes the date mask.
QString estilo103(QString s) {
    qsizetype desde = 0;
    for (;;) {
        const qsizetype p = s.indexOf(QLatin1String("103"), desde);
        if (p < 0)
            return s;
        const qsizetype parentesis = s.lastIndexOf(QLatin1Char('('), p);
        if (parentesis >= 7 &&
            s.mid(parentesis - 7, 8).compare(QLatin1String("TO_CHAR("), Qt::CaseInsensitive) == 0)
            s.replace(p, 3, kMascara);
        desde = p + 3;
    }
}

} // namespace

QString DB_Dll::ORACLE_Dicc(const QString& Valor) const {
    if (!TextoVb::contiene(gConnString, QStringLiteral("ORACLE")))
        return Valor;
    if (rp::suite::Utilidades::CantidadPalabras(Valor) < 2)
        return Valor.toUpper() == QLatin1String("LEN") ? QStringLiteral("LENGTH") : Valor;
    QString s = limiteFilas(Valor);
    s = longitud(s);
    s = identificadores(s);
    s = fechas(s);
    s = TextoVb::reemplazar(s, QStringLiteral("Charindex"), QStringLiteral("InStr"));
    s = conversiones(s);
    s = vacios(s);
    s = estilo103(s);
    s = TextoVb::reemplazar(s, QStringLiteral("SUBSTRING("), QStringLiteral("SUBSTR("));
    return TextoVb::reemplazar(s, QStringLiteral("ISNULL("), QStringLiteral("NVL("));
}

} // namespace rp::db
