// Fuzz target: the SQL Server to SQLite dialect rewrite and its date rules,
// with the tables of a small sample schema. The first byte picks the
// workstation's date order.

#include "db/provider/DialectRewriter.h"

#include <cstdint>

namespace {

rp::db::DialectRewriter::Tables muestra() {
    using T = rp::db::DialectRewriter::Table;
    rp::db::DialectRewriter::Tables t;
    t.insert(QStringLiteral("MA_ARTICULOS"),
             T{{QStringLiteral("IDARTICULO"), QStringLiteral("DESCRIPCION"),
                QStringLiteral("COSTO"), QStringLiteral("FHULTIMOCOSTO")},
               {false, false, false, true}});
    t.insert(QStringLiteral("MV_PRECIOSHIS"),
             T{{QStringLiteral("IDLISTA"), QStringLiteral("IDARTICULO"),
                QStringLiteral("FECHAHORA"), QStringLiteral("USUARIO")},
               {false, false, true, false}});
    return t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 100000)
        return 0;
    static const rp::db::DialectRewriter::Tables tablas = muestra();
    rp::db::DialectRewriter r;
    r.setTables(tablas);
    switch (data[0] % 3) {
    case 1:
        r.setDateOrder(rp::db::DialectRewriter::DateOrder::MonthDayYear);
        break;
    case 2:
        r.setDateOrder(rp::db::DialectRewriter::DateOrder::YearMonthDay);
        r.setDateSeparator(u'-');
        break;
    default:
        break;
    }
    const QString sql = QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                          static_cast<qsizetype>(size - 1));
    const QString una = r.rewrite(sql);
    (void)r.isoDateText(sql);
    // Rewriting what was written needs no second pass for plain texts.
    (void)r.rewrite(una);
    return 0;
}
