#include "db/provider/OdbcTypes.h"

#include "db/provider/Field.h"

#include <limits>

namespace rp::db {

namespace {

int textSize(SQLULEN columnSize) {
    // Long types report huge sizes; ADO reports 2^31-1 for them.
    if (columnSize == 0 || columnSize > SQLULEN(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(columnSize);
}

} // namespace

OdbcColumnType odbcColumnType(SQLSMALLINT sqlType, SQLULEN columnSize, SQLSMALLINT decimalDigits,
                              const QString& typeName, bool isUnsigned) {
    Q_UNUSED(decimalDigits);
    OdbcColumnType t;
    const QString name = typeName.toLower();
    switch (sqlType) {
    case SQL_CHAR:
        t = {adtype::Char, textSize(columnSize), SQL_C_WCHAR};
        break;
    case SQL_VARCHAR:
        t = {adtype::VarChar, textSize(columnSize), SQL_C_WCHAR};
        break;
    case SQL_LONGVARCHAR:
        t = {adtype::LongVarChar, textSize(columnSize), SQL_C_WCHAR};
        break;
    case SQL_WCHAR:
        t = {adtype::WChar, textSize(columnSize), SQL_C_WCHAR};
        break;
    case SQL_WVARCHAR:
        t = {adtype::VarWChar, textSize(columnSize), SQL_C_WCHAR};
        break;
    case SQL_WLONGVARCHAR:
        t = {adtype::LongVarWChar, textSize(columnSize), SQL_C_WCHAR};
        break;
    case SQL_SMALLINT:
        t = {isUnsigned ? 18 : adtype::SmallInt, 2, SQL_C_SBIGINT};
        break;
    case SQL_INTEGER:
        t = {isUnsigned ? 19 : adtype::Integer, 4, SQL_C_SBIGINT};
        break;
    case SQL_TINYINT:
        t = {isUnsigned ? 17 : adtype::TinyInt, 1, SQL_C_SBIGINT};
        break;
    case SQL_BIGINT:
        t = {isUnsigned ? 21 : adtype::BigInt, 8, SQL_C_SBIGINT};
        break;
    case SQL_BIT:
        t = {adtype::Boolean, 2, SQL_C_SBIGINT};
        break;
    case SQL_REAL:
        t = {adtype::Single, 4, SQL_C_DOUBLE};
        break;
    case SQL_FLOAT:
    case SQL_DOUBLE:
        t = {adtype::Double, 8, SQL_C_DOUBLE};
        break;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
        // Read as text so no digits are lost on the way.
        if (name.contains(QLatin1String("money")))
            t = {adtype::Currency, 8, SQL_C_WCHAR};
        else
            t = {adtype::Numeric, 19, SQL_C_WCHAR};
        break;
    case SQL_TYPE_DATE:
    case SQL_DATE:
        t = {adtype::DBDate, 6, SQL_C_TYPE_DATE};
        break;
    case SQL_TYPE_TIME:
    case SQL_TIME:
        t = {adtype::DBTime, 6, SQL_C_TYPE_TIME};
        break;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
        t = {adtype::DBTimeStamp, 16, SQL_C_TYPE_TIMESTAMP};
        break;
    case SQL_BINARY:
        t = {adtype::Binary, textSize(columnSize), SQL_C_BINARY};
        break;
    case SQL_VARBINARY:
        t = {204, textSize(columnSize), SQL_C_BINARY};
        break;
    case SQL_LONGVARBINARY:
        t = {adtype::LongVarBinary, textSize(columnSize), SQL_C_BINARY};
        break;
    case SQL_GUID:
        t = {72, 16, SQL_C_WCHAR};
        break;
    default:
        t = {adtype::VarWChar, textSize(columnSize), SQL_C_WCHAR};
        break;
    }
    return t;
}

} // namespace rp::db
