#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QString>

namespace rp::db {

// Appends one line per statement to a trace file: the statement as the
// program wrote it, as it was sent, and its duration. Also receives report
// requests from the report engine (free-form lines).
class SqlTrace {
public:
    explicit SqlTrace(const QString& path);
    bool isOpen() const { return file_.isOpen(); }
    void statement(const QString& written, const QString& sent, qint64 microseconds,
                   const QString& outcome);
    void note(const QString& kind, const QString& text);

private:
    QFile file_;
};

} // namespace rp::db
