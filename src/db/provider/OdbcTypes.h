#pragma once

#include <QString>

#include <sql.h>
#include <sqlext.h>

namespace rp::db {

// How the ODBC provider describes and reads a column of an ODBC result.
struct OdbcColumnType {
    int adoType = 0;                 // ADO data type code
    int definedSize = 0;             // ADO defined size: characters for texts, bytes otherwise
    SQLSMALLINT cType = SQL_C_WCHAR; // C type the value is read as
};

// Maps an ODBC SQL type (with its column size, decimal digits, type name and
// signedness as the driver reports them) to the ADO type code, defined size
// and the C type used to fetch it.
OdbcColumnType odbcColumnType(SQLSMALLINT sqlType, SQLULEN columnSize, SQLSMALLINT decimalDigits,
                              const QString& typeName, bool isUnsigned);

} // namespace rp::db
