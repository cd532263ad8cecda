#include "db/provider/DialectRewriter.h"

#include "db/provider/SqlNode.h"
#include "db/provider/SqlPlusRewrite.h"
#include "db/provider/SqlServerDates.h"

#include <QDate>
#include <QRegularExpression>
#include <QSet>

namespace rp::db {

namespace {

bool wordIn(const SqlNode& n, std::initializer_list<const char*> words) {
    for (const char* w : words)
        if (n.isWord(w))
            return true;
    return false;
}

bool isComparison(const SqlNode& n) {
    if (n.group || !n.token.is(SqlToken::Operator))
        return false;
    static const QStringList ops = {
        QStringLiteral("="),  QStringLiteral("<>"), QStringLiteral("!="), QStringLiteral("<"),
        QStringLiteral(">"),  QStringLiteral("<="), QStringLiteral(">="), QStringLiteral("!<"),
        QStringLiteral("!>"), QStringLiteral("==")};
    return ops.contains(n.token.text);
}

const char* const kHints[] = {"NOLOCK",         "READUNCOMMITTED", "ROWLOCK",  "UPDLOCK",
                              "HOLDLOCK",       "NOWAIT",          "READPAST", "TABLOCK",
                              "TABLOCKX",       "XLOCK",           "PAGLOCK",  "READCOMMITTED",
                              "REPEATABLEREAD", "SERIALIZABLE",    "INDEX",    "FASTFIRSTROW"};

// A group holding only table hints: (NOLOCK), (NOLOCK, INDEX(x)), ...
bool isHintGroup(const SqlNode& g) {
    if (!g.group)
        return false;
    bool any = false;
    for (const SqlNode& c : g.children) {
        if (!c.significant() || c.is(SqlToken::Comma) || c.group)
            continue;
        bool hint = false;
        for (const char* h : kHints)
            if (c.isWord(h))
                hint = true;
        if (!hint)
            return false;
        any = true;
    }
    return any;
}

// Top-level statement starts where SQL Server needs no separator.
bool startsStatement(const SqlNode& n) {
    return wordIn(n, {"INSERT", "UPDATE", "DELETE", "BEGIN", "COMMIT", "ROLLBACK", "CREATE", "DROP",
                      "ALTER", "EXEC", "EXECUTE", "TRUNCATE"});
}

bool blocksSplit(const SqlNode& previous) {
    return previous.is(SqlToken::Comma) || previous.is(SqlToken::OpenParen) ||
           wordIn(previous, {"ON", "DO", "OF", "BEFORE", "AFTER", "CONFLICT", "OR", "INSTEAD",
                             "FOR", "EACH", "IF", "THEN", "ELSE", "WHEN", "RAISE", "AS"});
}

class Rewrite {
public:
    explicit Rewrite(const DialectRewriter& settings) : settings_(settings) {}

    bool tooLarge = false; // the rewrite would grow without bound

    void batch(QList<SqlNode>& level) {
        collectDateColumns(level);
        splitStatements(level);
        transactions(level);
        this->level(level, Context());
    }

private:
    const DialectRewriter& settings_;
    QSet<QString> dateColumns_; // date columns of the tables the batch names

    // The date columns of the known tables the batch names; of every known
    // table when it names none.
    void collectDateColumns(const QList<SqlNode>& top) {
        const DialectRewriter::Tables& tables = settings_.tables();
        if (tables.isEmpty())
            return;
        QSet<QString> named;
        QList<const QList<SqlNode>*> pending = {&top};
        while (!pending.isEmpty()) {
            const QList<SqlNode>* nodes = pending.takeLast();
            for (const SqlNode& n : *nodes) {
                if (n.group)
                    pending.append(&n.children);
                else if (n.is(SqlToken::Word) || n.is(SqlToken::QuotedName)) {
                    const QString name = n.token.nameValue().toUpper();
                    if (tables.contains(name))
                        named.insert(name);
                }
            }
        }
        for (auto t = tables.cbegin(); t != tables.cend(); ++t) {
            if (!named.isEmpty() && !named.contains(t.key()))
                continue;
            for (qsizetype c = 0; c < t->columns.size(); ++c)
                if (t->dates.value(c))
                    dateColumns_.insert(t->columns[c]);
        }
    }

    // What surrounds a level: how its text literals are read.
    struct Context {
        bool inList = false;    // the list of an IN
        bool dates = false;     // every literal is read as a date (IN list of a date
                                // operand, arguments of a date function)
        QList<bool> valueDates; // VALUES (...) of an INSERT: date flag by position
    };

    void level(QList<SqlNode>& nodes, const Context& context) {
        for (qsizetype i = 0; i < nodes.size(); ++i) {
            if (!nodes[i].group)
                continue;
            const qsizetype p = previousSignificant(nodes, i);
            Context inner;
            if (p >= 0 && nodes[p].isWord("IN")) {
                inner.inList = true;
                qsizetype o = previousSignificant(nodes, p);
                if (o >= 0 && nodes[o].isWord("NOT"))
                    o = previousSignificant(nodes, o);
                inner.dates = dateOperandEndingAt(nodes, o);
            } else if (p >= 0 && isDateArgumentFunction(nodes[p])) {
                inner.dates = true;
            } else if (p >= 0 && (nodes[p].isWord("CONVERT") || nodes[p].isWord("CAST"))) {
                inner.dates = convertsToDateInWorkstationOrder(nodes[p], nodes[i]);
            } else {
                inner.valueDates = insertValueDates(nodes, i);
            }
            level(nodes[i].children, inner);
        }
        hints(nodes);
        owners(nodes);
        names(nodes);
        functions(nodes);
        literals(nodes, context);
        defaults(nodes);
        top(nodes);
        rewritePlus(nodes);
    }

    // Functions whose text arguments SQL Server reads as dates.
    static bool isDateArgumentFunction(const SqlNode& n) {
        return wordIn(
            n, {"DATEADD", "DATEDIFF", "DATEPART", "DATENAME", "YEAR", "MONTH", "DAY", "EOMONTH"});
    }

    // CONVERT(date type, text) and CAST(text AS date type) read the text in
    // the workstation's order; with an explicit style CONVERT reads it in that
    // style, so the text is left for it.
    static bool convertsToDateInWorkstationOrder(const SqlNode& name, const SqlNode& group) {
        const QList<QList<SqlNode>> args = arguments(group);
        if (name.isWord("CONVERT")) {
            const qsizetype t = nextSignificant(args[0], -1);
            return args.size() == 2 && t >= 0 && isDateType(args[0][t].token.text);
        }
        const QList<SqlNode>& c = group.children;
        for (qsizetype k = 0; k < c.size(); ++k)
            if (c[k].isWord("AS")) {
                const qsizetype t = nextSignificant(c, k);
                return t >= 0 && !c[t].group && isDateType(c[t].token.text);
            }
        return false;
    }

    static bool isDateType(const QString& type) { return DialectRewriter::isDateType(type); }

    // Functions returning a date.
    static bool isDateValuedFunction(const SqlNode& n) {
        return wordIn(
            n, {"GETDATE", "GETUTCDATE", "SYSDATETIME", "CURRENT_TIMESTAMP", "DATEADD", "EOMONTH"});
    }

    static bool isConvertedDate(const SqlNode& n) {
        return n.is(SqlToken::Word) &&
               n.token.text.startsWith(QLatin1String("rp_to_datetime("), Qt::CaseInsensitive);
    }

    bool isDateColumn(const SqlNode& n) const {
        if (!(n.is(SqlToken::Word) || n.is(SqlToken::QuotedName)))
            return false;
        return dateColumns_.contains(n.token.nameValue().toUpper());
    }

    // The operand whose last node is nodes[q] is a date: a date column, a
    // date-valued function call or a conversion to a date.
    bool dateOperandEndingAt(const QList<SqlNode>& nodes, qsizetype q) const {
        if (q < 0)
            return false;
        if (nodes[q].group) {
            const qsizetype f = previousSignificant(nodes, q);
            return f >= 0 && isDateValuedFunction(nodes[f]);
        }
        if (isConvertedDate(nodes[q]) || nodes[q].isWord("CURRENT_TIMESTAMP"))
            return true;
        return isDateColumn(nodes[q]);
    }

    // The operand starting at nodes[q] is a date.
    bool dateOperandStartingAt(const QList<SqlNode>& nodes, qsizetype q) const {
        if (q < 0)
            return false;
        // a.b.c: the column is the last part
        for (;;) {
            const qsizetype dot = nextSignificant(nodes, q);
            if (dot < 0 || !nodes[dot].is(SqlToken::Dot))
                break;
            const qsizetype next = nextSignificant(nodes, dot);
            if (next < 0)
                break;
            q = next;
        }
        if (isConvertedDate(nodes[q]) || nodes[q].isWord("CURRENT_TIMESTAMP"))
            return true;
        const qsizetype g = nextSignificant(nodes, q);
        if (g >= 0 && nodes[g].group)
            return isDateValuedFunction(nodes[q]);
        return isDateColumn(nodes[q]);
    }

    // For the group at `g` holding the values of "INSERT [INTO] t [(columns)]
    // VALUES (...)[, (...)]": the date flag of each position; empty otherwise.
    QList<bool> insertValueDates(const QList<SqlNode>& nodes, qsizetype g) const {
        qsizetype k = previousSignificant(nodes, g);
        while (k >= 0 && (nodes[k].is(SqlToken::Comma) || nodes[k].group))
            k = previousSignificant(nodes, k);
        if (k < 0 || !nodes[k].isWord("VALUES"))
            return {};
        qsizetype t = previousSignificant(nodes, k);
        qsizetype columnGroup = -1;
        if (t >= 0 && nodes[t].group) {
            columnGroup = t;
            t = previousSignificant(nodes, t);
        }
        if (t < 0 || !(nodes[t].is(SqlToken::Word) || nodes[t].is(SqlToken::QuotedName)))
            return {};
        const DialectRewriter::Table table =
            settings_.tables().value(nodes[t].token.nameValue().toUpper());
        QList<bool> out;
        if (columnGroup < 0)
            return table.dates;
        for (const SqlNode& c : nodes[columnGroup].children) {
            if (!(c.is(SqlToken::Word) || c.is(SqlToken::QuotedName)))
                continue;
            const QString name = c.token.nameValue().toUpper();
            const qsizetype at = table.columns.indexOf(name);
            out.append(at >= 0 ? table.dates.value(at) : dateColumns_.contains(name));
        }
        return out;
    }

    // "BEGIN TRANSACTION INSERT ... INSERT ..." -> "...; INSERT ...; INSERT ..."
    void splitStatements(QList<SqlNode>& nodes) {
        qsizetype first = nextSignificant(nodes, -1);
        if (first < 0)
            return;
        // Trigger bodies hold statements of their own.
        const qsizetype second = nextSignificant(nodes, first);
        const qsizetype third = second < 0 ? -1 : nextSignificant(nodes, second);
        if (nodes[first].isWord("CREATE") && ((second >= 0 && nodes[second].isWord("TRIGGER")) ||
                                              (third >= 0 && nodes[third].isWord("TRIGGER"))))
            return;
        bool atStart = true;
        for (qsizetype i = 0; i < nodes.size(); ++i) {
            if (!nodes[i].significant())
                continue;
            if (nodes[i].is(SqlToken::Semicolon)) {
                atStart = true;
                continue;
            }
            if (!atStart && startsStatement(nodes[i])) {
                const qsizetype p = previousSignificant(nodes, i);
                if (p >= 0 && !blocksSplit(nodes[p])) {
                    nodes.insert(i, textNode(QStringLiteral(";"), SqlToken::Semicolon));
                    ++i;
                }
            }
            atStart = false;
        }
    }

    // BEGIN TRAN [name] / COMMIT TRAN [name] / ROLLBACK TRAN [name]
    void transactions(QList<SqlNode>& nodes) {
        for (qsizetype i = 0; i < nodes.size(); ++i) {
            if (!wordIn(nodes[i], {"BEGIN", "COMMIT", "ROLLBACK"}))
                continue;
            const qsizetype t = nextSignificant(nodes, i);
            if (t < 0 || !wordIn(nodes[t], {"TRAN", "TRANSACTION", "WORK"}))
                continue;
            nodes[t].token.text = QStringLiteral("TRANSACTION");
            const qsizetype name = nextSignificant(nodes, t);
            if (name >= 0 &&
                (nodes[name].is(SqlToken::Word) || nodes[name].is(SqlToken::QuotedName)) &&
                !startsStatement(nodes[name]) && !nodes[name].isWord("TO"))
                nodes.remove(t + 1, name - t);
        }
    }

    void hints(QList<SqlNode>& nodes) {
        for (qsizetype i = 0; i < nodes.size(); ++i) {
            if (!nodes[i].group || !isHintGroup(nodes[i]))
                continue;
            const qsizetype p = previousSignificant(nodes, i);
            if (p >= 0 && nodes[p].isWord("WITH")) {
                nodes.remove(p, i - p + 1);
                i = p - 1;
            } else if (p >= 0 &&
                       (nodes[p].is(SqlToken::Word) || nodes[p].is(SqlToken::QuotedName))) {
                nodes.remove(i);
                --i;
            }
        }
    }

    // dbo.T, EMPRESA.dbo.T, EMPRESA..T -> T
    void owners(QList<SqlNode>& nodes) {
        for (qsizetype i = 0; i + 1 < nodes.size(); ++i) {
            const SqlNode& n = nodes[i];
            const bool owner =
                n.isWord("DBO") ||
                (n.is(SqlToken::QuotedName) &&
                 n.token.nameValue().compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0);
            if (owner && nodes[i + 1].is(SqlToken::Dot)) {
                qsizetype from = i;
                if (i >= 2 && nodes[i - 1].is(SqlToken::Dot) &&
                    (nodes[i - 2].is(SqlToken::Word) || nodes[i - 2].is(SqlToken::QuotedName)))
                    from = i - 2;
                nodes.remove(from, i + 2 - from);
                i = from - 1;
                continue;
            }
            if ((n.is(SqlToken::Word) || n.is(SqlToken::QuotedName)) && i + 2 < nodes.size() &&
                nodes[i + 1].is(SqlToken::Dot) && nodes[i + 2].is(SqlToken::Dot) &&
                (i == 0 || !nodes[i - 1].is(SqlToken::Dot))) {
                nodes.remove(i, 3);
                --i;
            }
        }
    }

    void names(QList<SqlNode>& nodes) {
        for (SqlNode& n : nodes) {
            if (n.is(SqlToken::QuotedName) && n.token.text.startsWith(u'[')) {
                QString inner = n.token.nameValue();
                inner.replace(QStringLiteral("\""), QStringLiteral("\"\""));
                n.token.text = u'"' + inner + u'"';
            } else if (n.is(SqlToken::String) && !n.token.text.startsWith(u'\'')) {
                n.token.text = n.token.text.mid(1); // N'text'
            }
        }
    }

    static QList<QList<SqlNode>> arguments(const SqlNode& group) {
        QList<QList<SqlNode>> args(1);
        for (const SqlNode& c : group.children) {
            if (c.is(SqlToken::Comma))
                args.append(QList<SqlNode>());
            else
                args.last().append(c);
        }
        return args;
    }

    QString defaultDateStyle() const {
        switch (settings_.dateOrder()) {
        case DialectRewriter::DateOrder::MonthDayYear:
            return QStringLiteral("101");
        case DialectRewriter::DateOrder::YearMonthDay:
            return QStringLiteral("111");
        default:
            return QStringLiteral("103");
        }
    }

    // CONVERT(type, value[, style]) for the types the program converts to.
    bool convert(SqlNode& name, SqlNode& group) {
        const QList<QList<SqlNode>> args = arguments(group);
        if (args.size() < 2 || args.size() > 3)
            return false;
        QList<SqlNode> typeNodes;
        for (const SqlNode& n : args[0])
            if (n.significant())
                typeNodes.append(n);
        if (typeNodes.isEmpty() || !typeNodes[0].is(SqlToken::Word))
            return false;
        const QString type = typeNodes[0].token.text.toLower();
        QStringList typeArgs;
        if (typeNodes.size() > 1 && typeNodes[1].group)
            for (const QList<SqlNode>& a : arguments(typeNodes[1]))
                typeArgs.append(sqlText(a).trimmed());
        const QString value = sqlText(args[1]).trimmed();
        const QString style = args.size() > 2 ? sqlText(args[2]).trimmed() : QString();
        QString out;
        if (type == u"varchar" || type == u"nvarchar" || type == u"char" || type == u"nchar") {
            QString length = typeArgs.value(0, QStringLiteral("30"));
            if (length.compare(QLatin1String("max"), Qt::CaseInsensitive) == 0)
                length = QStringLiteral("-1");
            out = QStringLiteral("rp_to_text(%1, %2, %3)")
                      .arg(value, style.isEmpty() ? QStringLiteral("0") : style, length);
        } else if (type == u"datetime" || type == u"smalldatetime" || type == u"date" ||
                   type == u"datetime2") {
            out = QStringLiteral("rp_to_datetime(%1, %2)")
                      .arg(value, style.isEmpty() ? defaultDateStyle() : style);
        } else if (type == u"int" || type == u"integer" || type == u"bigint" ||
                   type == u"smallint" || type == u"tinyint" || type == u"bit") {
            out = QStringLiteral("CAST(%1 AS INTEGER)").arg(value);
        } else if (type == u"numeric" || type == u"decimal") {
            out = QStringLiteral("ROUND(CAST(%1 AS REAL), %2)")
                      .arg(value, typeArgs.value(1, QStringLiteral("0")));
        } else if (type == u"float" || type == u"real" || type == u"money" ||
                   type == u"smallmoney") {
            out = QStringLiteral("CAST(%1 AS REAL)").arg(value);
        } else {
            return false;
        }
        name = textNode(out, SqlToken::Word);
        group = textNode(QString(), SqlToken::Space);
        return true;
    }

    // CAST(value AS datetime) -> rp_to_datetime(value, style)
    bool castToDate(SqlNode& name, SqlNode& group) {
        QList<SqlNode>& c = group.children;
        qsizetype as = -1;
        for (qsizetype k = 0; k < c.size(); ++k)
            if (c[k].isWord("AS"))
                as = k;
        const qsizetype type = as < 0 ? -1 : nextSignificant(c, as);
        if (type < 0 || !wordIn(c[type], {"DATETIME", "SMALLDATETIME", "DATE", "DATETIME2"}))
            return false;
        const QString value = sqlText(c.mid(0, as)).trimmed();
        name = textNode(QStringLiteral("rp_to_datetime(%1, %2)").arg(value, defaultDateStyle()),
                        SqlToken::Word);
        group = textNode(QString(), SqlToken::Space);
        return true;
    }

    void functions(QList<SqlNode>& nodes) {
        for (qsizetype i = 0; i < nodes.size(); ++i) {
            if (!nodes[i].is(SqlToken::Word))
                continue;
            const qsizetype g = nextSignificant(nodes, i);
            if (g < 0 || !nodes[g].group)
                continue;
            SqlNode& n = nodes[i];
            const qsizetype p = previousSignificant(nodes, i);
            if (p >= 0 && nodes[p].is(SqlToken::Dot))
                continue; // a qualified name, not a function
            if (n.isWord("ISNULL")) {
                n.token.text = QStringLiteral("IFNULL");
            } else if (n.isWord("LEFT") && g == i + 1) {
                n.token.text = QStringLiteral("rp_left");
            } else if (n.isWord("RIGHT") && g == i + 1) {
                n.token.text = QStringLiteral("rp_right");
            } else if (n.isWord("CONVERT")) {
                convert(nodes[i], nodes[g]);
            } else if (n.isWord("CAST")) {
                castToDate(nodes[i], nodes[g]);
            } else if (wordIn(n, {"DATEADD", "DATEDIFF", "DATEPART"})) {
                QList<SqlNode>& c = nodes[g].children;
                const qsizetype a = nextSignificant(c, -1);
                if (a >= 0 && c[a].is(SqlToken::Word))
                    c[a] = textNode(quoteSqlString(c[a].token.text.toLower()), SqlToken::String);
            }
        }
    }

    // x IN ('a', 'b'): SQLite compares with the collation of x, so x gets it.
    static void collateInOperand(QList<SqlNode>& nodes, qsizetype in) {
        const qsizetype g = nextSignificant(nodes, in);
        if (g < 0 || !nodes[g].group)
            return;
        bool texts = false;
        for (const SqlNode& c : nodes[g].children) {
            if (c.isWord("SELECT"))
                return;
            if (c.is(SqlToken::String))
                texts = true;
        }
        qsizetype p = previousSignificant(nodes, in);
        if (p >= 0 && nodes[p].isWord("NOT"))
            p = previousSignificant(nodes, p);
        if (!texts || p < 0 ||
            !(nodes[p].group || nodes[p].is(SqlToken::Word) || nodes[p].is(SqlToken::QuotedName)))
            return;
        const qsizetype before = previousSignificant(nodes, p);
        if (nodes[p].is(SqlToken::Word) && before >= 0 && nodes[before].isWord("COLLATE"))
            return;
        nodes.insert(p + 1, textNode(QStringLiteral(" COLLATE MSSQL")));
    }

    void literals(QList<SqlNode>& nodes, const Context& context) {
        bool between = false;
        bool betweenDate = false;
        int position = 0;
        for (qsizetype i = 0; i < nodes.size(); ++i) {
            SqlNode& n = nodes[i];
            if (n.is(SqlToken::Comma))
                ++position;
            if (n.isWord("BETWEEN")) {
                between = true;
                betweenDate = dateOperandEndingAt(nodes, previousSignificant(nodes, i));
            }
            if (n.isWord("IN")) {
                collateInOperand(nodes, i);
                continue;
            }
            const bool parameter = n.is(SqlToken::Parameter);
            if (!n.is(SqlToken::String) && !parameter)
                continue;
            const qsizetype p = previousSignificant(nodes, i);
            const qsizetype x = nextSignificant(nodes, i);
            const bool inserted = context.valueDates.value(position, false);
            bool date = context.dates ||
                        (p >= 0 && isComparison(nodes[p]) &&
                         dateOperandEndingAt(nodes, previousSignificant(nodes, p))) ||
                        (x >= 0 && isComparison(nodes[x]) &&
                         dateOperandStartingAt(nodes, nextSignificant(nodes, x))) ||
                        (p >= 0 && nodes[p].isWord("BETWEEN") && betweenDate);
            bool compared = context.inList || (p >= 0 && isComparison(nodes[p])) ||
                            (x >= 0 && isComparison(nodes[x])) ||
                            (p >= 0 && nodes[p].isWord("BETWEEN"));
            if (p >= 0 && nodes[p].isWord("AND") && between) {
                compared = true;
                date = date || betweenDate;
                between = false;
            }
            if (parameter) {
                // A text bound where a date is expected is read as SQL Server
                // reads it (workstation order or ISO); a bound date passes as is.
                if (date)
                    n.token.text = QStringLiteral("rp_to_datetime(%1, %2)")
                                       .arg(n.token.text, defaultDateStyle());
                continue;
            }
            if (date || inserted) {
                const QString iso = settings_.isoDateText(n.token.stringValue());
                if (!iso.isEmpty())
                    n.token.text = quoteSqlString(iso);
            }
            if (x >= 0 && nodes[x].isWord("COLLATE"))
                compared = false;
            if (compared)
                n.token.text += QStringLiteral(" COLLATE MSSQL");
        }
    }

    // DEFAULT ('N') -> DEFAULT 'N': SQLite adds a column only with a plain
    // literal default.
    static void defaults(QList<SqlNode>& nodes) {
        for (qsizetype i = 0; i < nodes.size(); ++i) {
            if (!nodes[i].isWord("DEFAULT"))
                continue;
            const qsizetype g = nextSignificant(nodes, i);
            if (g < 0 || !nodes[g].group)
                continue;
            QList<SqlNode> inner;
            for (const SqlNode& c : nodes[g].children)
                if (c.significant())
                    inner.append(c);
            const bool literal =
                (inner.size() == 1 && (inner[0].is(SqlToken::String) ||
                                       inner[0].is(SqlToken::Number) || inner[0].isWord("NULL"))) ||
                (inner.size() == 2 && (inner[0].isOperator("-") || inner[0].isOperator("+")) &&
                 inner[1].is(SqlToken::Number));
            if (literal)
                nodes[g] = textNode(sqlText(inner));
        }
    }

    // The end of the SELECT starting at `from`: the index where LIMIT goes.
    static qsizetype selectEnd(const QList<SqlNode>& nodes, qsizetype from) {
        qsizetype end = nodes.size();
        for (qsizetype k = from + 1; k < nodes.size(); ++k) {
            const qsizetype p = previousSignificant(nodes, k);
            if (nodes[k].is(SqlToken::Semicolon) ||
                wordIn(nodes[k], {"UNION", "EXCEPT", "INTERSECT"}) ||
                (startsStatement(nodes[k]) && p >= 0 && !blocksSplit(nodes[p]))) {
                end = k;
                break;
            }
        }
        while (end > from + 1 && !nodes[end - 1].significant())
            --end;
        return end;
    }

    void top(QList<SqlNode>& nodes) {
        for (qsizetype i = 0; i < nodes.size(); ++i) {
            if (!nodes[i].isWord("SELECT"))
                continue;
            qsizetype t = nextSignificant(nodes, i);
            if (t >= 0 && wordIn(nodes[t], {"DISTINCT", "ALL"}))
                t = nextSignificant(nodes, t);
            if (t < 0 || !nodes[t].isWord("TOP"))
                continue;
            const qsizetype v = nextSignificant(nodes, t);
            if (v < 0 || !(nodes[v].is(SqlToken::Number) || nodes[v].group ||
                           nodes[v].is(SqlToken::Parameter)))
                continue;
            QString count = sqlText(nodes[v]).trimmed();
            qsizetype last = v;
            bool percent = false;
            const qsizetype pc = nextSignificant(nodes, v);
            if (pc >= 0 && nodes[pc].isWord("PERCENT")) {
                percent = true;
                last = pc;
            }
            // Remove TOP n [PERCENT] and the blanks after it.
            qsizetype removeEnd = last + 1;
            while (removeEnd < nodes.size() && nodes[removeEnd].is(SqlToken::Space))
                ++removeEnd;
            nodes.remove(t, removeEnd - t);
            const qsizetype end = selectEnd(nodes, i);
            QString limit;
            if (!percent) {
                limit = QStringLiteral(" LIMIT ") + count;
            } else {
                bool ok = false;
                const double share = QString(count).remove(u'(').remove(u')').toDouble(&ok);
                if (ok && share >= 100)
                    continue; // every row
                // SQL Server rounds the share up: ceil(rows * n / 100).
                qsizetype orderAt = end;
                for (qsizetype k = i + 1; k < end; ++k)
                    if (nodes[k].isWord("ORDER")) {
                        orderAt = k;
                        break;
                    }
                const QString body = sqlText(nodes.mid(i, orderAt - i));
                // Each nested TOP PERCENT repeats its SELECT in the count:
                // past a size the statement is left to the database to refuse.
                if (body.size() > DialectRewriter::kMaxPercentBody) {
                    tooLarge = true;
                    continue;
                }
                const qint64 scaled = ok ? qint64(share * 1000 + 0.5) : 0;
                limit = QStringLiteral(" LIMIT (SELECT (COUNT(*) * %1 + 99999) / 100000 FROM (%2))")
                            .arg(ok ? QString::number(scaled)
                                    : QStringLiteral("CAST(%1 * 1000 AS INTEGER)").arg(count),
                                 body);
            }
            nodes.insert(end, textNode(limit));
        }
    }
};

} // namespace

bool DialectRewriter::isDateType(const QString& declaredType) {
    const QString base = declaredType.section(u'(', 0, 0).trimmed().toUpper();
    return base == u"DATE" || base == u"DATETIME" || base == u"SMALLDATETIME" ||
           base == u"DATETIME2" || base == u"DATETIMEOFFSET";
}

QString DialectRewriter::rewrite(const QString& sql) const {
    if (sql.size() > kRecentLength)
        return rewriteNow(sql);
    if (const auto it = recent_.constFind(sql); it != recent_.cend())
        return *it;
    QString form = rewriteNow(sql);
    if (recent_.size() >= kRecent)
        recent_.clear();
    recent_.insert(sql, form);
    return form;
}

QString DialectRewriter::rewriteNow(const QString& sql) const {
    const QList<SqlToken> tokens = tokenizeSql(sql);
    for (const SqlToken& t : tokens) {
        if (!t.significant())
            continue;
        if (t.isWord("PRAGMA"))
            return sql; // SQLite's own statement
        break;
    }
    int depth = 0;
    for (const SqlToken& t : tokens) {
        if (t.is(SqlToken::OpenParen) && ++depth > kMaxNesting)
            return sql;
        if (t.is(SqlToken::CloseParen) && depth > 0)
            --depth;
    }
    QList<SqlNode> nodes = buildSqlNodes(tokens);
    Rewrite rewrite(*this);
    rewrite.batch(nodes);
    if (rewrite.tooLarge)
        return sql;
    return sqlText(nodes);
}

QString DialectRewriter::isoDateText(const QString& text) const {
    const QString s = text.trimmed();
    if (s.size() < 6 || s.size() > 30 || !s.at(0).isDigit())
        return {};
    static const QRegularExpression iso(QStringLiteral(
        R"(^(\d{4})-(\d{2})-(\d{2})(?:[ T](\d{1,2}):(\d{2})(?::(\d{2})(\.\d{1,3})?)?)?$)"));
    QRegularExpressionMatch m = iso.match(s);
    int y, mo, d, h = 0, mi = 0, sec = 0;
    QString fraction;
    if (m.hasMatch()) {
        if (!m.captured(4).isEmpty() && m.captured(6).size() == 2 && !s.contains(u'T'))
            return {}; // already in the stored form
        y = m.captured(1).toInt();
        mo = m.captured(2).toInt();
        d = m.captured(3).toInt();
        h = m.captured(4).toInt();
        mi = m.captured(5).toInt();
        sec = m.captured(6).toInt();
        fraction = m.captured(7);
    } else {
        const QString sep = QRegularExpression::escape(QString(dateSeparator_));
        const QRegularExpression local(
            QStringLiteral(
                R"(^(\d{1,4})%1(\d{1,2})%1(\d{1,4})(?: +(\d{1,2}):(\d{2})(?::(\d{2}))?(?: *([AaPp])\.? *[Mm]\.?)?)?$)")
                .arg(sep));
        m = local.match(s);
        if (!m.hasMatch())
            return {};
        const QString a = m.captured(1), b = m.captured(2), c = m.captured(3);
        auto year = [](const QString& t) {
            const int v = t.toInt();
            return t.size() <= 2 ? mssql::fullYearOf(v) : v;
        };
        switch (dateOrder_) {
        case DateOrder::DayMonthYear:
            if (a.size() > 2 || b.size() > 2)
                return {};
            d = a.toInt();
            mo = b.toInt();
            y = year(c);
            break;
        case DateOrder::MonthDayYear:
            if (a.size() > 2 || b.size() > 2)
                return {};
            mo = a.toInt();
            d = b.toInt();
            y = year(c);
            break;
        default:
            if (c.size() > 2)
                return {};
            y = year(a);
            mo = b.toInt();
            d = c.toInt();
            break;
        }
        h = m.captured(4).toInt();
        mi = m.captured(5).toInt();
        sec = m.captured(6).toInt();
        const QString ampm = m.captured(7).toUpper();
        if (ampm == u"P" && h < 12)
            h += 12;
        else if (ampm == u"A" && h == 12)
            h = 0;
    }
    const QDate date(y, mo, d);
    if (!date.isValid() || h > 23 || mi > 59 || sec > 59 || y < 1753)
        return {};
    QString out = QStringLiteral("%1-%2-%3 %4:%5:%6")
                      .arg(y, 4, 10, QLatin1Char('0'))
                      .arg(mo, 2, 10, QLatin1Char('0'))
                      .arg(d, 2, 10, QLatin1Char('0'))
                      .arg(h, 2, 10, QLatin1Char('0'))
                      .arg(mi, 2, 10, QLatin1Char('0'))
                      .arg(sec, 2, 10, QLatin1Char('0'));
    if (!fraction.isEmpty() && fraction != u".0" && fraction != u".00" && fraction != u".000")
        out += fraction.leftJustified(4, u'0');
    return out;
}

} // namespace rp::db
