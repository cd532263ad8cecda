#include "RewriteCase.h"

TEST(RewriteNames, OwnerPrefixesAreRemoved) {
    runRewriteCases({
        {"SELECT COUNT(*) FROM dbo.MA_ARTICULOS", "SELECT COUNT(*) FROM MA_ARTICULOS", "5"},
        {"SELECT COUNT(*) FROM EMPRESA.dbo.MA_ARTICULOS", "SELECT COUNT(*) FROM MA_ARTICULOS", "5"},
        {"SELECT COUNT(*) FROM EMPRESA..MA_ARTICULOS", "SELECT COUNT(*) FROM MA_ARTICULOS", "5"},
        {"SELECT COUNT(*) FROM [dbo].[MA_ARTICULOS]", "SELECT COUNT(*) FROM \"MA_ARTICULOS\"", "5"},
        {"SELECT     dbo.V_MA_ARTICULOS.IDRUBRO, dbo.MV_PreciosHis.IdLista FROM         "
         "dbo.V_MA_ARTICULOS LEFT OUTER JOIN dbo.MV_PreciosHis ON dbo.V_MA_ARTICULOS.IDARTICULO "
         "= dbo.MV_PreciosHis.IdArticulo Where  V_MA_ARTICULOS.IDARTICULO<='                      "
         "100'",
         "SELECT     V_MA_ARTICULOS.IDRUBRO, MV_PreciosHis.IdLista FROM         V_MA_ARTICULOS "
         "LEFT OUTER JOIN MV_PreciosHis ON V_MA_ARTICULOS.IDARTICULO = MV_PreciosHis.IdArticulo "
         "Where  V_MA_ARTICULOS.IDARTICULO<='                      100' COLLATE MSSQL",
         "   1|   1"},
        {"SELECT 'dbo.x' FROM MA_ARTICULOS WHERE STOCK = 7",
         "SELECT 'dbo.x' FROM MA_ARTICULOS WHERE STOCK = 7", "dbo.x"},
    });
}

TEST(RewriteNames, BracketedNamesBecomeQuotedNames) {
    runRewriteCases({
        {"SELECT [IDARTICULO] AS [Código del \"artículo\"] FROM [MA_ARTICULOS] WHERE [STOCK] = 7",
         "SELECT \"IDARTICULO\" AS \"Código del \"\"artículo\"\"\" FROM \"MA_ARTICULOS\" WHERE "
         "\"STOCK\" = 7",
         "                      100"},
        {"SELECT [a]]b] FROM (SELECT 1 AS [a]]b])", "SELECT \"a]b\" FROM (SELECT 1 AS \"a]b\")",
         "1"},
        {"SELECT 'it''s [not] a name' FROM MA_ARTICULOS WHERE STOCK = 7",
         "SELECT 'it''s [not] a name' FROM MA_ARTICULOS WHERE STOCK = 7", "it's [not] a name"},
        {"SELECT N'ñandú' FROM MA_ARTICULOS WHERE STOCK = 7",
         "SELECT 'ñandú' FROM MA_ARTICULOS WHERE STOCK = 7", "ñandú"},
    });
}

// Comparisons with literals ignore letter case and trailing blanks even when
// the other side is computed (no column collation applies there).
TEST(RewriteNames, ComparedLiteralsUseTheServerCollation) {
    runRewriteCases({
        {"SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE LTRIM(RTRIM(USUARIO)) ='ANA'",
         "SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE LTRIM(RTRIM(USUARIO)) ='ANA' COLLATE MSSQL",
         "2"},
        {"SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE UPPER(USUARIO) IN ('ñoño', 'luis ')",
         "SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE UPPER(USUARIO) COLLATE MSSQL IN ('ñoño' "
         "COLLATE MSSQL, 'luis ' COLLATE MSSQL)",
         "2"},
        {"SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE USUARIO || '' BETWEEN 'a' AND 'b'",
         "SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE USUARIO || '' BETWEEN 'a' COLLATE MSSQL AND "
         "'b' COLLATE MSSQL",
         "2"},
        {"SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE IDLISTA NOT IN ('2', '3')",
         "SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE IDLISTA COLLATE MSSQL NOT IN ('2' COLLATE "
         "MSSQL, '3' COLLATE MSSQL)",
         "3"},
        {"SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE USUARIO LIKE 'an%'",
         "SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE USUARIO LIKE 'an%'", "2"},
        {"SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE USUARIO LIKE '[a-l]%'",
         "SELECT COUNT(*) FROM MV_PRECIOSHIS WHERE USUARIO LIKE '[a-l]%'", "3"},
    });
}
