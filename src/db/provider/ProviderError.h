#pragma once

#include <QList>
#include <QString>
#include <stdexcept>

namespace rp::db {

// One entry of a connection's provider error list (an ODBC diagnostic record,
// or the SQLite error of a failed call), kept on the connection until a caller
// clears it.
struct ProviderError {
    qint32 number = 0;      // provider error number (ADO style, e.g. 0x80004005 as signed)
    QString description;    // message text
    QString sqlState;       // five-character SQL state
    qint32 nativeError = 0; // the database's own error code
    QString source;         // provider name
};

// Run-time error numbers the database layer reacts to.
namespace errc {
constexpr qint32 Unspecified = qint32(0x80004005); // provider's unspecified failure
constexpr qint32 IntegrityViolation = qint32(0x80040E2F);
constexpr qint32 ObjectNotFound = qint32(0x80040E37);
constexpr qint32 SyntaxError = qint32(0x80040E14);
constexpr qint32 Timeout = qint32(0x80040E31);
constexpr qint32 RowNotFound = qint32(0x80040E38); // row to update no longer matches
constexpr qint32 ConnectionClosed = 3709;          // connection closed or unusable
constexpr qint32 NotAllowedClosed = 3704;  // operation not allowed while the object is closed
constexpr qint32 NotAllowedOpen = 3705;    // operation not allowed while the object is open
constexpr qint32 NotAllowedContext = 3219; // operation not allowed in this context
constexpr qint32 EofOrBof = 3021;          // no current record
constexpr qint32 ItemNotFound = 3265;      // field name not in the collection
constexpr qint32 NotSupported = 3251;      // the record set does not support the operation
constexpr qint32 InvalidArgument = 3001;   // argument of the wrong type or out of range
} // namespace errc

// The run-time error raised by a failed provider operation. The same failure
// is also appended to the connection's provider error list where the provider
// reported one.
class DbError : public std::runtime_error {
public:
    DbError(qint32 number, const QString& description, const QString& source = QString())
        : std::runtime_error(description.toStdString()), number_(number), description_(description),
          source_(source) {}
    qint32 number() const { return number_; }
    const QString& description() const { return description_; }
    const QString& source() const { return source_; }

private:
    qint32 number_;
    QString description_;
    QString source_;
};

} // namespace rp::db
