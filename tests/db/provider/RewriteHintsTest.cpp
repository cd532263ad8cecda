#include "RewriteCase.h"

// Table hints have no meaning on SQLite and are dropped in every spelling.
TEST(RewriteHints, NolockHintsAreDropped) {
    runRewriteCases({
        {"select  top 1 * from MA_ARTICULOS  with(nolock) ",
         "select  * from MA_ARTICULOS LIMIT 1   ", "                      100"},
        {"SELECT COUNT(*) FROM MA_ARTICULOS WITH (NOLOCK) WHERE STOCK > 0",
         "SELECT COUNT(*) FROM MA_ARTICULOS  WHERE STOCK > 0", "4"},
        {"SELECT COUNT(*) FROM MA_ARTICULOS a (NOLOCK) INNER JOIN MV_PRECIOSHIS h WITH(NOLOCK, "
         "INDEX(ix)) ON a.IDARTICULO = h.IDARTICULO",
         "SELECT COUNT(*) FROM MA_ARTICULOS a  INNER JOIN MV_PRECIOSHIS h  ON a.IDARTICULO = "
         "h.IDARTICULO",
         "4"},
        {"SELECT COUNT(*) FROM (SELECT * FROM MA_ARTICULOS with(nolock)) x",
         "SELECT COUNT(*) FROM (SELECT * FROM MA_ARTICULOS ) x", "5"},
    });
}

// Words that look like hints inside quotes, comments or as plain names stay.
TEST(RewriteHints, QuotesAndCommentsAreLeftAlone) {
    runRewriteCases({
        {"SELECT 'with(nolock)' FROM MA_ARTICULOS WHERE STOCK = 7",
         "SELECT 'with(nolock)' FROM MA_ARTICULOS WHERE STOCK = 7", "with(nolock)"},
        {"SELECT COUNT(*) -- with(nolock) TOP 5\nFROM MA_ARTICULOS /* with(nolock) */",
         "SELECT COUNT(*) -- with(nolock) TOP 5\nFROM MA_ARTICULOS /* with(nolock) */", "5"},
        {"WITH x AS (SELECT STOCK FROM MA_ARTICULOS) SELECT SUM(STOCK) FROM x",
         "WITH x AS (SELECT STOCK FROM MA_ARTICULOS) SELECT SUM(STOCK) FROM x", "23"},
    });
}
