#pragma once

#include <QList>
#include <QString>

namespace rp::db {

// One lexical token of an SQL statement. The text is kept exactly as written,
// so joining the texts of all tokens gives back the statement.
struct SqlToken {
    enum Kind {
        Space,      // blanks and line breaks
        Comment,    // -- to the end of the line, or /* ... */
        Word,       // identifier or keyword, also @variables and #temporary names
        Number,     // 12, 1.5, .5, 1e3
        String,     // 'text' or N'text' with doubled apostrophes inside
        QuotedName, // [name], "name" or `name`
        Parameter,  // ? or ?NNN marker
        Operator,   // + - * / % = <> != <= >= || etc.
        OpenParen,
        CloseParen,
        Comma,
        Semicolon,
        Dot,
        Other // anything else ({, }, stray characters)
    };
    Kind kind = Other;
    QString text;

    bool is(Kind k) const { return kind == k; }
    // Case-insensitive keyword test for Word tokens.
    bool isWord(const char* upperWord) const;
    bool significant() const { return kind != Space && kind != Comment; }
    // Content of a String token without the quotes (apostrophes undoubled).
    QString stringValue() const;
    // Name of a Word or QuotedName token without brackets or quotes.
    QString nameValue() const;
};

// Splits a statement into tokens. Never fails: an unterminated string, quoted
// name or comment runs to the end of the text.
QList<SqlToken> tokenizeSql(const QString& sql);

// Joins token texts back into statement text.
QString joinTokens(const QList<SqlToken>& tokens);

// A quoted SQL text literal: 'text' with apostrophes doubled.
QString quoteSqlString(const QString& text);

} // namespace rp::db
