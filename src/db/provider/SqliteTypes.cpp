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
    static const QRegularExpression re(QStringLiteral(
        R"(^(\d{4})-(\d{2})-(\d{2})(?:[ T](\d{2}):(\d{2})(?::(\d{2})(?:\.(\d{1,9}))?)?)?$)"));
    const QRegularExpressionMatch m = re.match(text.trimmed());
    if (!m.hasMatch())
        return {};
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    int msec = 0;
    if (!m.captured(7).isEmpty())
        msec = m.captured(7).left(3).leftJustified(3, u'0').toInt();
    const QTime t(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(), msec);
    if (!d.isValid() || !t.isValid())
        return {};
    return QDateTime(d, t);
}

} // namespace rp::db
