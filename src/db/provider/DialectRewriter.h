#pragma once

#include <QChar>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace rp::db {

// Rewrites statements written in the SQL Server dialect so that SQLite runs
// them with SQL Server's results. Works on tokens (quotes, [names], comments
// and parentheses are respected):
//  - table hints "with(nolock)" / "WITH (NOLOCK)" / "(NOLOCK)" are dropped;
//  - "TOP n" and "TOP n PERCENT" become a LIMIT of the same SELECT level,
//    subqueries included ("TOP 100 PERCENT" means every row);
//  - owner prefixes "dbo." and "EMPRESA.dbo." are removed; [names] become
//    "names";
//  - '+' between texts becomes ||; between operands of unknown type it becomes
//    RP_ADD(a, b), which concatenates texts and adds numbers at run time;
//  - text literals holding a date in the workstation's form ('31/12/2024',
//    '31/12/2024 10:00') become ISO text '2024-12-31 10:00:00' where SQL
//    Server reads them as dates: compared with, assigned or inserted into a
//    date/time column (the tables given by setTables), compared with a date
//    expression (GETDATE(), DATEADD(...), CONVERT/CAST to a date type), or an
//    argument of DATEADD, DATEDIFF, DATEPART, DATENAME, YEAR, MONTH, DAY.
//    Anywhere else a text stays as written; CONVERT and CAST read their text
//    themselves in their own style;
//  - text literals compared with =, <>, <, >, IN, BETWEEN get COLLATE MSSQL,
//    so comparisons with computed text ignore letter case and trailing blanks;
//  - ISNULL -> IFNULL, LEFT/RIGHT -> RP_LEFT/RP_RIGHT, CONVERT(type, x[, style])
//    and CAST(x AS datetime) -> the provider's conversion functions, date parts
//    of DATEADD/DATEDIFF/DATEPART written as text;
//  - statements of a batch that SQL Server separates by line breaks only
//    ("BEGIN TRANSACTION" followed by INSERTs) are separated by ";";
//    "BEGIN TRAN", "COMMIT TRAN", "ROLLBACK TRAN" [name] become SQLite's forms.
class DialectRewriter {
public:
    enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

    DateOrder dateOrder() const { return dateOrder_; }
    void setDateOrder(DateOrder order) {
        dateOrder_ = order;
        recent_.clear();
    }
    QChar dateSeparator() const { return dateSeparator_; }
    void setDateSeparator(QChar separator) {
        dateSeparator_ = separator;
        recent_.clear();
    }

    // The columns of one table or view, upper case, with their date flags.
    struct Table {
        QStringList columns;
        QList<bool> dates;
    };
    using Tables = QHash<QString, Table>; // by upper-case table name
    const Tables& tables() const { return tables_; }
    void setTables(Tables tables) {
        tables_ = std::move(tables);
        recent_.clear();
    }
    // True for a declared type that holds dates: DATE, DATETIME, SMALLDATETIME...
    static bool isDateType(const QString& declaredType);

    // Statements nested deeper than this many parentheses are passed unchanged
    // (the database refuses them with its own message).
    static constexpr int kMaxNesting = 200;
    // Largest SELECT a "TOP n PERCENT" count repeats; a statement whose nested
    // TOP PERCENT would need more is passed unchanged (refused likewise).
    static constexpr int kMaxPercentBody = 256 * 1024;

    // The SQLite form of `sql`. The forms of recent statements are kept, so a
    // statement run again and again (one per row of a loop) is rewritten once.
    QString rewrite(const QString& sql) const;
    // Statements whose forms are kept, and the longest one kept.
    static constexpr int kRecent = 256;
    static constexpr int kRecentLength = 16 * 1024;

    // ISO text "YYYY-MM-DD HH:MM:SS" for a text holding a date (and time) in
    // the workstation's form or in ISO form; empty when it holds none.
    QString isoDateText(const QString& text) const;

private:
    QString rewriteNow(const QString& sql) const;

    DateOrder dateOrder_ = DateOrder::DayMonthYear;
    QChar dateSeparator_ = u'/';
    Tables tables_;
    mutable QHash<QString, QString> recent_;
};

} // namespace rp::db
