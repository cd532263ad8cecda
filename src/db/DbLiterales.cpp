// Type classification, SQL literals and object names of the database object.
#include "db/DB_Dll.h"
#include "db/TextoVb.h"
#include "suite/Utilidades.h"

#include <initializer_list>

namespace rp::db {

using rp::suite::Utilidades;

namespace {

bool esUnoDe(const QVariant& tipo, std::initializer_list<int> codigos) {
    bool ok = false;
    const int codigo = tipo.toInt(&ok);
    if (!ok)
        return false;
    for (int c : codigos)
        if (c == codigo)
            return true;
    return false;
}

DbError argumentoInvalido() {
    return DbError(5, QStringLiteral("Invalid procedure call or argument"));
}

bool esNulo(const QVariant& v) {
    return !v.isValid() || v.isNull();
}

} // namespace

bool DB_Dll::adodate(const QVariant& Qtype) {
    return esUnoDe(Qtype, {7, 133, 134, 135, 137, 64});
}

bool DB_Dll::ADOText(const QVariant& Qtype) {
    return esUnoDe(Qtype, {8, 129, 130, 200, 201, 202, 203});
}

bool DB_Dll::ADONumeric(const QVariant& Qtype) {
    return esUnoDe(Qtype, {2, 3, 4, 5, 14, 16, 17, 18, 19, 20, 21, 131});
}

bool DB_Dll::ADOCurrency(const QVariant& Qtype) {
    return esUnoDe(Qtype, {6});
}

bool DB_Dll::ADOBoolean(const QVariant& Qtype) {
    return esUnoDe(Qtype, {11});
}

QString DB_Dll::ADOComilla(const QVariant& Qtype) {
    return (adodate(Qtype) || ADOText(Qtype)) ? QStringLiteral("'") : QString();
}

QString DB_Dll::SQLValue(const QVariant& Valor, const QString& Tipo) {
    QString apertura;
    QString cierre;
    QVariant valor = Valor;
    const bool numero = Tipo == QLatin1String("@");
    const bool texto = Tipo == QLatin1String("'");
    if (numero) {
        const QString original = esNulo(Valor) ? QString() : Utilidades::TextoDeValor(Valor);
        valor = Utilidades::ReemplazarTexto(
            Utilidades::NumeroATexto(Utilidades::TextoANumero(original)), QStringLiteral(","),
            QStringLiteral("."));
    }
    if (texto) {
        apertura = QStringLiteral("'");
        cierre = QStringLiteral("'");
    }
    QString cuerpo;
    if (!esNulo(valor)) {
        cuerpo = valor.typeId() == QMetaType::QString ? valor.toString()
                                                      : Utilidades::TextoDeValor(valor);
        // An apostrophe inside a quoted literal is written twice, so the value
        // always reads back as typed and never ends the literal early.
        if (texto)
            cuerpo = TextoVb::duplicarApostrofes(cuerpo);
    } else if (numero) {
        cuerpo = QStringLiteral("0");
    } else {
        cuerpo = QStringLiteral("NULL");
        apertura.clear();
        cierre.clear();
    }
    return apertura + cuerpo + cierre;
}

QString DB_Dll::AddBrackets(const QString& rObjName) {
    if (!rObjName.startsWith(QLatin1Char('[')) && rObjName.contains(QLatin1Char(' ')))
        return QLatin1Char('[') + rObjName + QLatin1Char(']');
    return rObjName;
}

QString DB_Dll::StripBrackets(const QString& rsObjName) {
    if (!rsObjName.startsWith(QLatin1Char('[')))
        return rsObjName;
    if (rsObjName.size() < 2)
        throw argumentoInvalido();
    return rsObjName.mid(1, rsObjName.size() - 2);
}

QString DB_Dll::StripOwner(QString& rsTblName) {
    const qsizetype p = rsTblName.indexOf(QLatin1Char('.'));
    if (p >= 0)
        rsTblName = rsTblName.mid(p + 1);
    return rsTblName;
}

QString DB_Dll::StripConnect(const QString& rsTblName) {
    const qsizetype p = rsTblName.indexOf(QLatin1String("->"));
    if (p < 0)
        return rsTblName;
    if (p == 0)
        throw argumentoInvalido();
    return rsTblName.left(p - 1);
}

QString DB_Dll::stSTF(QString& rsName, bool rnPart) {
    const qsizetype primero = rsName.indexOf(QLatin1Char('.'));
    if (primero >= 0 && rsName.indexOf(QLatin1Char('.'), primero + 1) >= 0)
        return StripOwner(rsName);
    if (rnPart)
        return rsName.mid(primero + 1);
    if (primero < 0)
        throw argumentoInvalido();
    return rsName.left(primero);
}

QString DB_Dll::StripFileName(const QString& rsFileName) {
    // Both separators are accepted: paths typed on this workstation use "/",
    // paths stored by the suite's Windows programs use "\".
    for (qsizetype i = rsFileName.size() - 1; i >= 0; --i) {
        const QChar c = rsFileName.at(i);
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return rsFileName.left(i);
    }
    return QString();
}

} // namespace rp::db
