#pragma once

#include "db/provider/Field.h"

#include <QString>
#include <QVariant>

namespace rp::db {

// ADO type code and defined size for a column declared with an SQL Server
// type name ("varchar(25)", "int", "money", "datetime", ...), as SQL Server's
// provider reports them. Names SQLite itself knows are mapped by affinity.
Field fieldForDeclaredType(const QString& name, const QString& declaredType);

// Whether the ADO type holds date-times (read back as QDateTime / QDate).
bool isDateType(int adoType);
// Whether the ADO type is a non-integer number (read back as double).
bool isFractionalType(int adoType);

// A date-time value as the SQLite provider stores it: ISO text
// "YYYY-MM-DD HH:MM:SS" (milliseconds added when not zero).
QString isoDateTimeText(const QDateTime& value);
// Reads ISO date-time text (space or T between date and time); invalid
// QDateTime when the text is not one.
QDateTime parseIsoDateTime(const QString& text);

} // namespace rp::db
