#pragma once

#include "db/provider/SqlTokenizer.h"

#include <QList>

namespace rp::db {

// A statement as nested levels: every parenthesised part is one group node
// holding its own level, so rewrites can work one SELECT level at a time.
struct SqlNode {
    SqlToken token;          // the token; for a group, the "(" token
    bool group = false;      // a parenthesised group
    QList<SqlNode> children; // the level inside a group
    bool closed = false;     // the group has its ")"

    bool significant() const { return group || token.significant(); }
    bool isWord(const char* upperWord) const { return !group && token.isWord(upperWord); }
    bool is(SqlToken::Kind kind) const { return !group && token.is(kind); }
    bool isOperator(const char* text) const {
        return !group && token.is(SqlToken::Operator) && token.text == QLatin1String(text);
    }
};

// Builds the levels of a token list; a stray ")" stays a plain token.
QList<SqlNode> buildSqlNodes(const QList<SqlToken>& tokens);
// The statement text of a level.
QString sqlText(const QList<SqlNode>& level);
QString sqlText(const SqlNode& node);
// Index of the next / previous significant node from `from` (exclusive), or -1.
qsizetype nextSignificant(const QList<SqlNode>& level, qsizetype from);
qsizetype previousSignificant(const QList<SqlNode>& level, qsizetype from);
// A plain node holding already rewritten text.
SqlNode textNode(const QString& text, SqlToken::Kind kind = SqlToken::Other);

} // namespace rp::db
