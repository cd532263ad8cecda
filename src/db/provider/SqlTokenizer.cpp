#include "db/provider/SqlTokenizer.h"

namespace rp::db {

namespace {

bool isNameStart(QChar c) {
    return c.isLetter() || c == u'_' || c == u'@' || c == u'#';
}

bool isNamePart(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$';
}

} // namespace

bool SqlToken::isWord(const char* upperWord) const {
    return kind == Word && text.compare(QLatin1String(upperWord), Qt::CaseInsensitive) == 0;
}

QString SqlToken::stringValue() const {
    if (kind != String)
        return text;
    qsizetype start = text.indexOf(u'\'') + 1;
    qsizetype end = text.size();
    if (end > start && text.endsWith(u'\''))
        --end;
    QString inner = text.mid(start, end - start);
    inner.replace(QStringLiteral("''"), QStringLiteral("'"));
    return inner;
}

QString SqlToken::nameValue() const {
    if (kind != QuotedName || text.size() < 2)
        return text;
    const QChar open = text.front();
    const QChar close = open == u'[' ? u']' : open;
    QString inner = text.mid(1, text.endsWith(close) ? text.size() - 2 : text.size() - 1);
    inner.replace(QString(2, close), QString(close));
    return inner;
}

QList<SqlToken> tokenizeSql(const QString& sql) {
    QList<SqlToken> out;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    auto push = [&](SqlToken::Kind kind, qsizetype from, qsizetype to) {
        out.append(SqlToken{kind, sql.mid(from, to - from)});
    };
    while (i < n) {
        const QChar c = sql.at(i);
        const qsizetype start = i;
        if (c.isSpace()) {
            while (i < n && sql.at(i).isSpace())
                ++i;
            push(SqlToken::Space, start, i);
        } else if (c == u'-' && i + 1 < n && sql.at(i + 1) == u'-') {
            while (i < n && sql.at(i) != u'\n')
                ++i;
            push(SqlToken::Comment, start, i);
        } else if (c == u'/' && i + 1 < n && sql.at(i + 1) == u'*') {
            const qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? n : end + 2;
            push(SqlToken::Comment, start, i);
        } else if (c == u'\'' ||
                   ((c == u'N' || c == u'n') && i + 1 < n && sql.at(i + 1) == u'\'')) {
            i = sql.indexOf(u'\'', i) + 1;
            while (i < n) {
                if (sql.at(i) == u'\'') {
                    if (i + 1 < n && sql.at(i + 1) == u'\'') {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
                if (i == n)
                    break;
            }
            push(SqlToken::String, start, i);
        } else if (c == u'[' || c == u'"' || c == u'`') {
            const QChar close = c == u'[' ? u']' : c;
            ++i;
            while (i < n) {
                if (sql.at(i) == close) {
                    if (i + 1 < n && sql.at(i + 1) == close) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            push(SqlToken::QuotedName, start, i);
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && sql.at(i + 1).isDigit())) {
            while (i < n && sql.at(i).isDigit())
                ++i;
            if (i < n && sql.at(i) == u'.') {
                ++i;
                while (i < n && sql.at(i).isDigit())
                    ++i;
            }
            if (i + 1 < n && (sql.at(i) == u'e' || sql.at(i) == u'E') &&
                (sql.at(i + 1).isDigit() || ((sql.at(i + 1) == u'+' || sql.at(i + 1) == u'-') &&
                                             i + 2 < n && sql.at(i + 2).isDigit()))) {
                i += 2;
                while (i < n && sql.at(i).isDigit())
                    ++i;
            }
            push(SqlToken::Number, start, i);
        } else if (isNameStart(c)) {
            while (i < n && isNamePart(sql.at(i)))
                ++i;
            push(SqlToken::Word, start, i);
        } else if (c == u'?') {
            ++i;
            while (i < n && sql.at(i).isDigit())
                ++i;
            push(SqlToken::Parameter, start, i);
        } else if (c == u'(') {
            push(SqlToken::OpenParen, i, i + 1);
            ++i;
        } else if (c == u')') {
            push(SqlToken::CloseParen, i, i + 1);
            ++i;
        } else if (c == u',') {
            push(SqlToken::Comma, i, i + 1);
            ++i;
        } else if (c == u';') {
            push(SqlToken::Semicolon, i, i + 1);
            ++i;
        } else if (c == u'.') {
            push(SqlToken::Dot, i, i + 1);
            ++i;
        } else if (QStringLiteral("+-*/%=<>!|&^~").contains(c)) {
            ++i;
            if (i < n) {
                const QString two = sql.mid(start, 2);
                static const QStringList pairs = {QStringLiteral("<="), QStringLiteral(">="),
                                                  QStringLiteral("<>"), QStringLiteral("!="),
                                                  QStringLiteral("!<"), QStringLiteral("!>"),
                                                  QStringLiteral("||"), QStringLiteral("=="),
                                                  QStringLiteral("<<"), QStringLiteral(">>")};
                if (pairs.contains(two))
                    ++i;
            }
            push(SqlToken::Operator, start, i);
        } else {
            ++i;
            push(SqlToken::Other, start, i);
        }
    }
    return out;
}

QString joinTokens(const QList<SqlToken>& tokens) {
    QString s;
    for (const SqlToken& t : tokens)
        s += t.text;
    return s;
}

QString quoteSqlString(const QString& text) {
    QString s = text;
    s.replace(QStringLiteral("'"), QStringLiteral("''"));
    return u'\'' + s + u'\'';
}

} // namespace rp::db
