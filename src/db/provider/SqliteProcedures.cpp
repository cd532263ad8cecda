#include "db/provider/SqliteProcedures.h"

#include "db/provider/DialectRewriter.h"
#include "db/provider/ProviderError.h"
#include "db/provider/SqlTokenizer.h"

#include <QRegularExpression>

namespace rp::db {

namespace {

QList<SqlToken> significant(const QString& sql) {
    QList<SqlToken> out;
    for (const SqlToken& t : tokenizeSql(sql))
        if (t.significant())
            out.append(t);
    return out;
}

// Reads one argument value starting at tokens[i]; advances i past it.
bool readValue(const QList<SqlToken>& t, qsizetype& i, SqliteProcedures::Argument& arg,
               int& markers) {
    if (i >= t.size())
        return false;
    bool negative = false;
    if (t[i].is(SqlToken::Operator) && (t[i].text == u"-" || t[i].text == u"+")) {
        negative = t[i].text == u"-";
        ++i;
        if (i >= t.size() || !t[i].is(SqlToken::Number))
            return false;
    }
    const SqlToken& v = t[i];
    switch (v.kind) {
    case SqlToken::String:
        arg.value = v.stringValue();
        break;
    case SqlToken::Number: {
        const QString text = negative ? u'-' + v.text : v.text;
        bool ok = false;
        const qint64 n = text.toLongLong(&ok);
        arg.value = ok ? QVariant(n) : QVariant(text.toDouble());
        break;
    }
    case SqlToken::Parameter:
        arg.marker = markers++;
        break;
    case SqlToken::Word:
        if (v.isWord("NULL") || v.isWord("DEFAULT"))
            arg.value = QVariant();
        else
            arg.value = v.text; // SQL Server takes a bare word as text
        break;
    case SqlToken::QuotedName:
        arg.value = v.nameValue();
        break;
    default:
        return false;
    }
    ++i;
    return true;
}

DbError procedureError(const QString& message) {
    return DbError(errc::SyntaxError, message, QStringLiteral("SQLite"));
}

} // namespace

bool SqliteProcedures::parseCall(const QString& sql, Call& call) {
    // A call opens with "{", EXEC or EXECUTE, after blanks and comments: any
    // other first character rules it out without reading the statement.
    for (const QChar c : sql) {
        if (c.isSpace())
            continue;
        const char16_t u = c.unicode();
        if (u != u'{' && u != u'e' && u != u'E' && u != u'-' && u != u'/')
            return false;
        break;
    }
    const QList<SqlToken> t = significant(sql);
    qsizetype i = 0;
    bool braces = false;
    if (t.isEmpty())
        return false;
    if (t[0].is(SqlToken::Other) && t[0].text == u"{") {
        braces = true;
        i = 1;
        if (i + 1 < t.size() && t[i].is(SqlToken::Parameter) && t[i + 1].text == u"=")
            i += 2;
        if (i >= t.size() || !t[i].isWord("CALL"))
            return false;
        ++i;
    } else if (t[0].isWord("EXEC") || t[0].isWord("EXECUTE")) {
        i = 1;
    } else {
        return false;
    }
    // Procedure name, possibly with owner / database prefixes.
    QString name;
    while (i < t.size() && (t[i].is(SqlToken::Word) || t[i].is(SqlToken::QuotedName))) {
        name = t[i].nameValue();
        ++i;
        if (i < t.size() && t[i].is(SqlToken::Dot)) {
            ++i;
            while (i < t.size() && t[i].is(SqlToken::Dot))
                ++i;
            continue;
        }
        break;
    }
    if (name.isEmpty() || name.startsWith(u'@'))
        return false;
    call.procedure = name;
    call.arguments.clear();
    int markers = 0;
    bool parens = false;
    if (i < t.size() && t[i].is(SqlToken::OpenParen)) {
        parens = true;
        ++i;
    }
    auto atEnd = [&]() {
        if (i >= t.size())
            return true;
        if (t[i].is(SqlToken::Semicolon))
            return true;
        if (parens && t[i].is(SqlToken::CloseParen))
            return true;
        if (braces && t[i].text == u"}")
            return true;
        return false;
    };
    while (!atEnd()) {
        Argument arg;
        if (t[i].is(SqlToken::Word) && t[i].text.startsWith(u'@') && i + 1 < t.size() &&
            t[i + 1].text == u"=") {
            arg.name = t[i].text;
            i += 2;
        }
        if (!readValue(t, i, arg, markers))
            return false;
        if (i < t.size() && (t[i].isWord("OUTPUT") || t[i].isWord("OUT")))
            ++i;
        call.arguments.append(arg);
        if (i < t.size() && t[i].is(SqlToken::Comma))
            ++i;
        else if (!atEnd())
            return false;
    }
    if (parens) {
        if (i >= t.size() || !t[i].is(SqlToken::CloseParen))
            return false;
        ++i;
    }
    if (braces) {
        if (i >= t.size() || t[i].text != u"}")
            return false;
        ++i;
    }
    while (i < t.size() && t[i].is(SqlToken::Semicolon))
        ++i;
    return i == t.size();
}

SqliteProcedures::Expansion SqliteProcedures::expand(const Call& call, const QString& parameters,
                                                     const QString& body,
                                                     const QVariantList& callerParams,
                                                     const DialectRewriter& rewriter) {
    // "@A, @B DATETIME, ...": a parameter declared with a date type takes a
    // date text in the workstation's form as that date.
    QStringList names;
    QList<bool> dateParameter;
    for (const QString& p : parameters.split(u',', Qt::SkipEmptyParts)) {
        const QString n = p.trimmed().section(u' ', 0, 0);
        if (n.isEmpty())
            continue;
        names.append(n.startsWith(u'@') ? n : u'@' + n);
        dateParameter.append(DialectRewriter::isDateType(p.trimmed().section(u' ', 1).trimmed()));
    }
    QList<QVariant> values(names.size());
    QList<bool> given(names.size(), false);
    int position = 0;
    bool named = false;
    for (const Argument& a : call.arguments) {
        int index;
        if (!a.name.isEmpty()) {
            named = true;
            index = -1;
            for (int k = 0; k < names.size(); ++k)
                if (names[k].compare(a.name, Qt::CaseInsensitive) == 0)
                    index = k;
            if (index < 0)
                throw procedureError(QStringLiteral("%1 is not a parameter for procedure %2.")
                                         .arg(a.name, call.procedure));
        } else {
            if (named)
                throw procedureError(QStringLiteral("Must pass parameter number %1 and subsequent "
                                                    "parameters as '@name = value'. "
                                                    "After the form '@name = value' has been used, "
                                                    "all subsequent parameters must "
                                                    "be passed in the form '@name = value'.")
                                         .arg(position + 1));
            index = position++;
            if (index >= names.size())
                throw procedureError(
                    QStringLiteral("Procedure or function %1 has too many arguments specified.")
                        .arg(call.procedure));
        }
        QVariant v = a.marker >= 0 ? callerParams.value(a.marker) : a.value;
        if (v.typeId() == QMetaType::QString && dateParameter[index]) {
            const QString iso = rewriter.isoDateText(v.toString());
            if (!iso.isEmpty())
                v = iso;
        }
        values[index] = v;
        given[index] = true;
    }
    for (int k = 0; k < names.size(); ++k)
        if (!given[k])
            throw procedureError(
                QStringLiteral(
                    "Procedure or function '%1' expects parameter '%2', which was not supplied.")
                    .arg(call.procedure, names[k]));

    // {@NAME}: the argument's text, as dynamic SQL.
    QString text = body;
    for (int k = 0; k < names.size(); ++k) {
        const QString raw = values[k].isNull() ? QString() : values[k].toString();
        const QString placeholder = u'{' + names[k] + u'}';
        qsizetype at = 0;
        while ((at = text.indexOf(placeholder, at, Qt::CaseInsensitive)) >= 0) {
            text.replace(at, placeholder.size(), raw);
            at += raw.size();
        }
    }
    // @NAME: a bound parameter ?k (same number wherever the name appears).
    Expansion out;
    out.values = values;
    QList<SqlToken> tokens = tokenizeSql(text);
    for (SqlToken& tok : tokens) {
        if (!tok.is(SqlToken::Word) || !tok.text.startsWith(u'@'))
            continue;
        for (int k = 0; k < names.size(); ++k)
            if (names[k].compare(tok.text, Qt::CaseInsensitive) == 0) {
                tok.kind = SqlToken::Parameter;
                tok.text = u'?' + QString::number(k + 1);
            }
    }
    out.sql = joinTokens(tokens);
    return out;
}

} // namespace rp::db
