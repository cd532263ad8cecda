#include "db/provider/SqliteTypes.h"

#include <QDateTime>
#include <QRegularExpression>

namespace rp::db {

Field fieldForDeclaredType(const QString& name, const QString& declaredType) {
    Field f;
    f.name = name;
    const QString decl = declaredType.trimmed().toLower();
    static const QRegularExpression re(
        QStringLiteral(R"(^([a-z_ ]+?)\s*(?:\(\s*(max|\d+)\s*(?:,\s*\d+\s*)?\))?(?:\s.*)?$)"));
    const QRegularExpressionMatch m = re.match(decl);
    const QString base = m.hasMatch() ? m.captured(1).trimmed() : decl;
    const QString arg = m.hasMatch() ? m.captured(2) : QString();
    const bool isMax = arg == QLatin1String("max");
    const int size = isMax ? 0 : arg.toInt();
    auto set = [&](int type, int definedSize) {
        f.type = type;
        f.definedSize = definedSize;
        return f;
    };
    if (base == QLatin1String("varchar") || base == QLatin1String("character varying"))
        return isMax ? set(adtype::LongVarChar, 2147483647) : set(adtype::VarChar, size ? size : 1);
    if (base == QLatin1String("nvarchar"))
        return isMax ? set(adtype::LongVarWChar, 1073741823)
                     : set(adtype::VarWChar, size ? size : 1);
    if (base == QLatin1String("char") || base == QLatin1String("character"))
        return set(adtype::Char, size ? size : 1);
    if (base == QLatin1String("nchar"))
        return set(adtype::WChar, size ? size : 1);
    if (base == QLatin1String("text") || base == QLatin1String("clob"))
        return set(adtype::LongVarChar, 2147483647);
    if (base == QLatin1String("ntext"))
        return set(adtype::LongVarWChar, 1073741823);
    if (base == QLatin1String("int") || base == QLatin1String("integer"))
        return set(adtype::Integer, 4);
    if (base == QLatin1String("smallint"))
        return set(adtype::SmallInt, 2);
    if (base == QLatin1String("tinyint"))
        return set(adtype::UnsignedTinyInt, 1);
    if (base == QLatin1String("bigint"))
        return set(adtype::BigInt, 8);
    if (base == QLatin1String("bit") || base == QLatin1String("boolean"))
        return set(adtype::Boolean, 2);
    if (base == QLatin1String("float") || base == QLatin1String("double") ||
        base == QLatin1String("double precision"))
        return set(adtype::Double, 8);
    if (base == QLatin1String("real"))
        return set(adtype::Single, 4);
    if (base == QLatin1String("money") || base == QLatin1String("smallmoney"))
        return set(adtype::Currency, 8);
    if (base == QLatin1String("decimal") || base == QLatin1String("numeric"))
        return set(adtype::Numeric, 19);
    if (base == QLatin1String("datetime") || base == QLatin1String("smalldatetime") ||
        base == QLatin1String("datetime2") || base == QLatin1String("timestamp"))
        return set(adtype::DBTimeStamp, 16);
    if (base == QLatin1String("date"))
        return set(adtype::DBDate, 6);
    if (base == QLatin1String("time"))
        return set(adtype::DBTime, 6);
    if (base == QLatin1String("uniqueidentifier"))
        return set(adtype::GUID, 16);
    if (base == QLatin1String("varbinary"))
        return isMax ? set(adtype::LongVarBinary, 2147483647)
                     : set(adtype::VarBinary, size ? size : 1);
    if (base == QLatin1String("binary"))
        return set(adtype::Binary, size ? size : 1);
    if (base == QLatin1String("image") || base == QLatin1String("blob"))
        return set(adtype::LongVarBinary, 2147483647);
    // Other names: SQLite's affinity rules.
    if (decl.contains(QLatin1String("int")))
        return set(adtype::Integer, 4);
    if (decl.contains(QLatin1String("char")) || decl.contains(QLatin1String("text")))
        return set(adtype::VarChar, size ? size : 8000);
    if (decl.contains(QLatin1String("real")) || decl.contains(QLatin1String("floa")) ||
        decl.contains(QLatin1String("doub")))
        return set(adtype::Double, 8);
    if (decl.isEmpty())
        return set(adtype::VarChar, 8000);
    return set(adtype::Numeric, 19);
}

bool isDateType(int adoType) {
    return adoType == adtype::DBTimeStamp || adoType == adtype::DBDate || adoType == adtype::Date;
}

bool isFractionalType(int adoType) {
    return adoType == adtype::Double || adoType == adtype::Single || adoType == adtype::Currency ||
           adoType == adtype::Numeric || adoType == adtype::Decimal;
}

QString isoDateTimeText(const QDateTime& value) {
    const QTime t = value.time();
    return value.toString(t.msec() ? QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")
                                   : QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime parseIsoDateTime(const QString& text) {
    // yyyy-MM-dd[( |T)HH:mm[:ss[.f{1,9}]]], blanks around it ignored. Read by
    // hand: it runs for every date of every row read.
    const QStringView t = QStringView(text).trimmed();
    const qsizetype n = t.size();
    auto digitos = [&](qsizetype desde, int cuantos, int& valor) {
        if (desde + cuantos > n)
            return false;
        valor = 0;
        for (int k = 0; k < cuantos; ++k) {
            const char16_t c = t[desde + k].unicode();
            if (c < u'0' || c > u'9')
                return false;
            valor = valor * 10 + (c - u'0');
        }
        return true;
    };
    int anio = 0, mes = 0, dia = 0, hora = 0, minuto = 0, segundo = 0, msec = 0;
    if (!digitos(0, 4, anio) || n < 10 || t[4] != u'-' || !digitos(5, 2, mes) || t[7] != u'-' ||
        !digitos(8, 2, dia))
        return {};
    qsizetype p = 10;
    if (p < n) {
        if ((t[p] != u' ' && t[p] != u'T') || !digitos(p + 1, 2, hora) || p + 3 >= n ||
            t[p + 3] != u':' || !digitos(p + 4, 2, minuto))
            return {};
        p += 6;
        if (p < n) {
            if (t[p] != u':' || !digitos(p + 1, 2, segundo))
                return {};
            p += 3;
            if (p < n) {
                if (t[p] != u'.')
                    return {};
                const qsizetype cifras = n - p - 1;
                if (cifras < 1 || cifras > 9)
                    return {};
                int fraccion = 0;
                if (!digitos(p + 1, int(cifras), fraccion))
                    return {};
                // The first three figures are the milliseconds.
                int ms = 0;
                for (qsizetype k = 0; k < 3; ++k)
                    ms = ms * 10 + (k < cifras ? t[p + 1 + k].unicode() - u'0' : 0);
                msec = ms;
            }
        }
    }
    const QDate d(anio, mes, dia);
    const QTime h(hora, minuto, segundo, msec);
    if (!d.isValid() || !h.isValid())
        return {};
    return QDateTime(d, h);
}

} // namespace rp::db
