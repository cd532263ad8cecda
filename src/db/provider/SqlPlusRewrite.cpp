#include "db/provider/SqlPlusRewrite.h"

namespace rp::db {

namespace {

enum class Kind { Unknown, Text, Number };

bool isKeyword(const SqlNode& n) {
    static const char* const words[] = {
        "AND",      "OR",     "NOT",    "WHEN",    "THEN",   "ELSE",   "END",    "AS",
        "FROM",     "WHERE",  "SELECT", "BETWEEN", "LIKE",   "IN",     "IS",     "ON",
        "JOIN",     "GROUP",  "ORDER",  "BY",      "HAVING", "UNION",  "ALL",    "SET",
        "VALUES",   "ASC",    "DESC",   "COLLATE", "CASE",   "ESCAPE", "LIMIT",  "TOP",
        "DISTINCT", "INTO",   "LEFT",   "RIGHT",   "INNER",  "OUTER",  "CROSS",  "FULL",
        "WITH",     "EXISTS", "UPDATE", "INSERT",  "DELETE", "OFFSET", "EXCEPT", "INTERSECT"};
    for (const char* w : words)
        if (n.isWord(w))
            return true;
    return false;
}

bool isPrimary(const SqlNode& n) {
    if (n.group)
        return true;
    switch (n.token.kind) {
    case SqlToken::Word:
        return !isKeyword(n) || n.isWord("CASE");
    case SqlToken::QuotedName:
    case SqlToken::Number:
    case SqlToken::String:
    case SqlToken::Parameter:
        return true;
    default:
        return false;
    }
}

bool isMultiplicative(const SqlNode& n) {
    return n.isOperator("*") || n.isOperator("/") || n.isOperator("%");
}

bool isAdditive(const SqlNode& n) {
    return n.isOperator("+") || n.isOperator("-");
}

qsizetype skipBlanks(const QList<SqlNode>& level, qsizetype i) {
    while (i < level.size() && !level[i].significant())
        ++i;
    return i;
}

// Reads one primary at i (CASE ... END, name.name, function(...), literal);
// returns the index after it, or i when there is none.
qsizetype readPrimary(const QList<SqlNode>& level, qsizetype i) {
    if (i >= level.size() || !isPrimary(level[i]))
        return i;
    if (level[i].isWord("CASE")) {
        int depth = 0;
        for (qsizetype k = i; k < level.size(); ++k) {
            if (level[k].isWord("CASE"))
                ++depth;
            else if (level[k].isWord("END") && --depth == 0)
                return k + 1;
        }
        return i;
    }
    qsizetype k = i + 1;
    if (level[i].is(SqlToken::Word) || level[i].is(SqlToken::QuotedName)) {
        for (;;) {
            if (k < level.size() && level[k].is(SqlToken::Dot) && k + 1 < level.size() &&
                (level[k + 1].is(SqlToken::Word) || level[k + 1].is(SqlToken::QuotedName) ||
                 level[k + 1].isOperator("*"))) {
                k += 2;
                continue;
            }
            const qsizetype g = skipBlanks(level, k);
            if (g < level.size() && level[g].group && k > i && level[k - 1].is(SqlToken::Word)) {
                k = g + 1; // function call
            }
            break;
        }
    }
    // A literal with COLLATE stays one operand.
    const qsizetype c = skipBlanks(level, k);
    if (c < level.size() && level[c].isWord("COLLATE")) {
        const qsizetype name = skipBlanks(level, c + 1);
        if (name < level.size())
            k = name + 1;
    }
    return k;
}

struct Term {
    qsizetype from = 0, to = 0; // [from, to)
    Kind kind = Kind::Unknown;
};

Kind kindOf(const QList<SqlNode>& level, const Term& t, bool multiplied) {
    if (multiplied)
        return Kind::Number;
    qsizetype first = t.from;
    while (first < t.to && !level[first].significant())
        ++first;
    if (first >= t.to)
        return Kind::Unknown;
    const SqlNode& n = level[first];
    if (n.is(SqlToken::String))
        return Kind::Text;
    if (n.is(SqlToken::Number))
        return Kind::Number;
    if (n.is(SqlToken::Word) && n.token.text.endsWith(u')')) {
        // A conversion the rewrite has already written out.
        if (n.token.text.startsWith(QLatin1String("rp_to_text("), Qt::CaseInsensitive))
            return Kind::Text;
        if (n.token.text.startsWith(QLatin1String("CAST("), Qt::CaseInsensitive) ||
            n.token.text.startsWith(QLatin1String("ROUND("), Qt::CaseInsensitive))
            return Kind::Number;
    }
    if (n.is(SqlToken::Word)) {
        static const char* const text[] = {"LTRIM",      "RTRIM",   "UPPER",     "LOWER",
                                           "SUBSTRING",  "RP_LEFT", "RP_RIGHT",  "REPLACE",
                                           "RP_TO_TEXT", "SPACE",   "REPLICATE", "CHAR",
                                           "NCHAR",      "STR",     "SUBSTR",    "TRIM"};
        static const char* const number[] = {"LEN", "CHARINDEX", "COUNT",    "SUM",   "ROUND",
                                             "ABS", "DATEDIFF",  "DATEPART", "YEAR",  "MONTH",
                                             "DAY", "AVG",       "LENGTH",   "FLOOR", "CEILING"};
        const qsizetype after = skipBlanks(level, first + 1);
        const bool call = after < t.to && level[after].group;
        if (call) {
            for (const char* w : text)
                if (n.isWord(w))
                    return Kind::Text;
            for (const char* w : number)
                if (n.isWord(w))
                    return Kind::Number;
            if (n.isWord("CAST")) {
                const QString inner = sqlText(level[after]).toUpper();
                if (inner.contains(QLatin1String("CHAR")))
                    return Kind::Text;
                if (inner.contains(QLatin1String("INT")) || inner.contains(QLatin1String("REAL")) ||
                    inner.contains(QLatin1String("NUMERIC")) ||
                    inner.contains(QLatin1String("FLOAT")))
                    return Kind::Number;
            }
        }
    }
    return Kind::Unknown;
}

QString text(const QList<SqlNode>& level, qsizetype from, qsizetype to) {
    return sqlText(level.mid(from, to - from));
}

} // namespace

void rewritePlus(QList<SqlNode>& level) {
    qsizetype i = 0;
    while (i < level.size()) {
        // Parse: term (op term)*, where a term is [unary] primary (mulop [unary] primary)*.
        const qsizetype start = skipBlanks(level, i);
        QList<Term> terms;
        QList<qsizetype> ops;
        qsizetype k = start;
        for (;;) {
            Term t;
            t.from = k;
            bool multiplied = false;
            qsizetype p = skipBlanks(level, k);
            for (;;) {
                while (p < level.size() && isAdditive(level[p]))
                    p = skipBlanks(level, p + 1); // unary sign
                const qsizetype after = readPrimary(level, p);
                if (after == p) {
                    t.to = t.from; // no operand
                    break;
                }
                t.to = after;
                const qsizetype m = skipBlanks(level, after);
                if (m < level.size() && isMultiplicative(level[m])) {
                    multiplied = true;
                    p = skipBlanks(level, m + 1);
                    continue;
                }
                break;
            }
            if (t.to == t.from)
                break;
            t.kind = kindOf(level, t, multiplied);
            terms.append(t);
            const qsizetype op = skipBlanks(level, t.to);
            if (op < level.size() && isAdditive(level[op])) {
                ops.append(op);
                k = op + 1;
                continue;
            }
            break;
        }
        if (terms.size() < 2 || ops.size() < terms.size() - 1) {
            i = terms.isEmpty() ? start + 1 : terms.last().to;
            if (i <= start)
                i = start + 1;
            continue;
        }
        // Decide each '+' from left to right.
        bool changed = false;
        Kind acc = terms[0].kind;
        bool arithmetic = false;
        QString out = text(level, terms[0].from, terms[0].to);
        for (qsizetype n = 1; n < terms.size(); ++n) {
            const SqlNode& op = level[ops[n - 1]];
            const QString spaceBefore = text(level, terms[n - 1].to, ops[n - 1]);
            const QString right = text(level, ops[n - 1] + 1, terms[n].to);
            const Kind rk = terms[n].kind;
            if (op.isOperator("+") && (acc == Kind::Text || rk == Kind::Text)) {
                if (arithmetic)
                    out = u'(' + out + u')';
                out += spaceBefore + QStringLiteral("||") + right;
                acc = Kind::Text;
                arithmetic = false;
                changed = true;
            } else if (op.isOperator("+") && acc == Kind::Unknown && rk == Kind::Unknown) {
                out = QStringLiteral("rp_add(") + out.trimmed() + QStringLiteral(", ") +
                      right.trimmed() + u')';
                changed = true;
                arithmetic = false;
            } else {
                out += spaceBefore + op.token.text + right;
                acc = Kind::Number;
                arithmetic = true;
            }
        }
        const qsizetype end = terms.last().to;
        if (changed) {
            const QString lead = text(level, terms[0].from, start);
            level.remove(terms[0].from, end - terms[0].from);
            level.insert(terms[0].from, textNode(lead + out));
            i = terms[0].from + 1;
        } else {
            i = end;
        }
    }
}

} // namespace rp::db
