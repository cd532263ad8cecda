#include "db/provider/SqlTrace.h"

#include <QDateTime>

namespace rp::db {

namespace {

// Keeps a statement on one line: backslashes, carriage returns, line feeds and
// tabs are written as \\, \r, \n and \t.
QString oneLine(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else
            out += c;
    }
    return out;
}

} // namespace

SqlTrace::SqlTrace(const QString& path) : file_(path) {
    file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
}

void SqlTrace::statement(const QString& written, const QString& sent, qint64 microseconds,
                         const QString& outcome) {
    if (!file_.isOpen())
        return;
    const QString line =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) +
        QStringLiteral("\tSQL\t%1 us\t").arg(microseconds) + oneLine(outcome) +
        QStringLiteral("\twritten: ") + oneLine(written) + QStringLiteral("\tsent: ") +
        oneLine(sent) + u'\n';
    file_.write(line.toUtf8());
}

void SqlTrace::note(const QString& kind, const QString& text) {
    if (!file_.isOpen())
        return;
    const QString line =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) + u'\t' +
        oneLine(kind) + u'\t' + oneLine(text) + u'\n';
    file_.write(line.toUtf8());
}

} // namespace rp::db
