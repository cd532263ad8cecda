#include "db/provider/SqlNode.h"

namespace rp::db {

namespace {

QList<SqlNode> build(const QList<SqlToken>& tokens, qsizetype& i, bool nested, bool& closed) {
    QList<SqlNode> level;
    while (i < tokens.size()) {
        const SqlToken& t = tokens[i];
        if (t.is(SqlToken::CloseParen) && nested) {
            ++i;
            closed = true;
            return level;
        }
        ++i;
        SqlNode node;
        node.token = t;
        if (t.is(SqlToken::OpenParen)) {
            node.group = true;
            bool inner = false;
            node.children = build(tokens, i, true, inner);
            node.closed = inner;
        }
        level.append(node);
    }
    closed = false;
    return level;
}

} // namespace

QList<SqlNode> buildSqlNodes(const QList<SqlToken>& tokens) {
    qsizetype i = 0;
    bool closed = false;
    return build(tokens, i, false, closed);
}

QString sqlText(const SqlNode& node) {
    if (!node.group)
        return node.token.text;
    return node.token.text + sqlText(node.children) +
           (node.closed ? QStringLiteral(")") : QString());
}

QString sqlText(const QList<SqlNode>& level) {
    QString s;
    for (const SqlNode& n : level)
        s += sqlText(n);
    return s;
}

qsizetype nextSignificant(const QList<SqlNode>& level, qsizetype from) {
    for (qsizetype i = from + 1; i < level.size(); ++i)
        if (level[i].significant())
            return i;
    return -1;
}

qsizetype previousSignificant(const QList<SqlNode>& level, qsizetype from) {
    for (qsizetype i = from - 1; i >= 0; --i)
        if (level[i].significant())
            return i;
    return -1;
}

SqlNode textNode(const QString& text, SqlToken::Kind kind) {
    SqlNode n;
    n.token.kind = kind;
    n.token.text = text;
    return n;
}

} // namespace rp::db
