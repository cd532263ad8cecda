#include "RewriteCase.h"

// '+' concatenates texts and adds numbers, as on SQL Server.
TEST(RewriteConcat, PlusBetweenTextsConcatenates) {
    runRewriteCases({
        {"SELECT 'Lista=' + IDLISTA + '   Fecha=' FROM MV_PRECIOSHIS WHERE PRECIO = 3",
         "SELECT 'Lista=' || IDLISTA || '   Fecha=' FROM MV_PRECIOSHIS WHERE PRECIO = 3",
         "Lista=1   Fecha="},
        {"SELECT LTRIM(IDARTICULO)+'-'+DESCRIPCION FROM MA_ARTICULOS WHERE STOCK = 7",
         "SELECT LTRIM(IDARTICULO)||'-'||DESCRIPCION FROM MA_ARTICULOS WHERE STOCK = 7",
         "100-Tornillo"},
        {"SELECT IDRUBRO + DESCRIPCION FROM MA_ARTICULOS WHERE STOCK = 7",
         "SELECT rp_add(IDRUBRO, DESCRIPCION) FROM MA_ARTICULOS WHERE STOCK = 7", "   1Tornillo"},
        {"SELECT COUNT(*) FROM MA_ARTICULOS WHERE DESCRIPCION = 'Tor' + 'nillo'",
         "SELECT COUNT(*) FROM MA_ARTICULOS WHERE DESCRIPCION = 'Tor' COLLATE MSSQL || 'nillo'",
         "1"},
        {"SELECT 'x' + CASE WHEN STOCK > 5 THEN 'mucho' ELSE 'poco' END FROM MA_ARTICULOS "
         "WHERE STOCK = 7",
         "SELECT 'x' || CASE WHEN STOCK > 5 THEN 'mucho' ELSE 'poco' END FROM MA_ARTICULOS "
         "WHERE STOCK = 7",
         "xmucho"},
    });
}

TEST(RewriteConcat, PlusBetweenNumbersAdds) {
    runRewriteCases({
        {"SELECT STOCK + 1 FROM MA_ARTICULOS WHERE STOCK = 7",
         "SELECT STOCK + 1 FROM MA_ARTICULOS WHERE STOCK = 7", "8"},
        {"SELECT STOCK + COSTO FROM MA_ARTICULOS WHERE STOCK = 7",
         "SELECT rp_add(STOCK, COSTO) FROM MA_ARTICULOS WHERE STOCK = 7", "17.5"},
        {"SELECT STOCK * 2 + COSTO - 1 FROM MA_ARTICULOS WHERE STOCK = 7",
         "SELECT STOCK * 2 + COSTO - 1 FROM MA_ARTICULOS WHERE STOCK = 7", "23.5"},
        {"SELECT a.STOCK + a.COSTO + LEN(a.DESCRIPCION) FROM MA_ARTICULOS a WHERE a.STOCK = 7",
         "SELECT rp_add(a.STOCK, a.COSTO) + LEN(a.DESCRIPCION) FROM MA_ARTICULOS a WHERE "
         "a.STOCK = 7",
         "25.5"},
        {"SELECT -STOCK + 10 FROM MA_ARTICULOS WHERE STOCK = 7",
         "SELECT -STOCK + 10 FROM MA_ARTICULOS WHERE STOCK = 7", "3"},
        {"SELECT (STOCK + 1) * 2 FROM MA_ARTICULOS WHERE STOCK = 7",
         "SELECT (STOCK + 1) * 2 FROM MA_ARTICULOS WHERE STOCK = 7", "16"},
    });
}

TEST(RewriteConcat, PlusInsideQuotesAndCommentsStays) {
    runRewriteCases({
        {"SELECT 'a + b' FROM MA_ARTICULOS WHERE STOCK = 7 -- x + y",
         "SELECT 'a + b' FROM MA_ARTICULOS WHERE STOCK = 7 -- x + y", "a + b"},
    });
}
