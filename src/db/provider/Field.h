#pragma once

#include <QString>

namespace rp::db {

// ADO data type codes used by the layer.
namespace adtype {
constexpr int Empty = 0, SmallInt = 2, Integer = 3, Single = 4, Double = 5, Currency = 6, Date = 7,
              BSTR = 8, Boolean = 11, Decimal = 14, TinyInt = 16, UnsignedTinyInt = 17, GUID = 72,
              BigInt = 20, Binary = 128, Char = 129, WChar = 130, Numeric = 131, DBDate = 133,
              DBTime = 134, DBTimeStamp = 135, VarChar = 200, LongVarChar = 201, VarWChar = 202,
              LongVarWChar = 203, VarBinary = 204, LongVarBinary = 205;
}

// One column of a record set: name, ADO type code and defined size.
struct Field {
    QString name;
    int type = adtype::VarWChar;
    int definedSize = 0;
};

} // namespace rp::db
