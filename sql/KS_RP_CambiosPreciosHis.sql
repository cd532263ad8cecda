-- Procedure KS_RP_CambiosPreciosHis (@FECHA, @LISTA, @CLASE, @WHERE), kept in
-- RP_PROCEDIMIENTOS: for each article that has a price change in list @LISTA
-- up to the end of day @FECHA, its last such change with the value of price
-- class @CLASE after it (ACTUAL) and before it (ANTERIOR).
--   @FECHA  the date, yyyymmdd (read alike under any CONVERT style)
--   @LISTA  the price list code
--   @CLASE  0 = cost, 1..8 = price classes PRECIO1..PRECIO8
--   @WHERE  a condition on V_MA_ARTICULOS, " WHERE ..." or empty (inserted as text)
-- The body below (comment lines removed) is one SELECT in the SQL Server dialect.
SELECT V_MA_ARTICULOS.IDARTICULO, V_MA_ARTICULOS.DESCRIPCION, V_MA_ARTICULOS.IDRUBRO,
       V_MA_ARTICULOS.IDFAMILIA, V_MA_ARTICULOS.CUENTAPROVEEDOR, V_MA_ARTICULOS.IDTIPO,
       H.IDLISTA, V_MA_PRECIOSCAB.NOMBRE AS NOMBRELISTA, H.FECHAHORA, H.USUARIO,
       CASE P.CLASE WHEN '1' THEN H.PRECIO1 WHEN '2' THEN H.PRECIO2 WHEN '3' THEN H.PRECIO3
                    WHEN '4' THEN H.PRECIO4 WHEN '5' THEN H.PRECIO5 WHEN '6' THEN H.PRECIO6
                    WHEN '7' THEN H.PRECIO7 WHEN '8' THEN H.PRECIO8 ELSE H.COSTO END AS ACTUAL,
       CASE P.CLASE WHEN '1' THEN H.PRECIO1ANT WHEN '2' THEN H.PRECIO2ANT
                    WHEN '3' THEN H.PRECIO3ANT WHEN '4' THEN H.PRECIO4ANT
                    WHEN '5' THEN H.PRECIO5ANT WHEN '6' THEN H.PRECIO6ANT
                    WHEN '7' THEN H.PRECIO7ANT WHEN '8' THEN H.PRECIO8ANT
                    ELSE H.COSTOANT END AS ANTERIOR
FROM (SELECT LTRIM(RTRIM(@LISTA)) AS LISTA, LTRIM(RTRIM(@CLASE)) AS CLASE,
             DATEADD(day, 1, CONVERT(datetime, @FECHA, 103)) AS HASTA) P
CROSS JOIN V_MA_ARTICULOS
INNER JOIN V_MV_PRECIOSHIS H ON H.ID = (SELECT TOP 1 X.ID FROM V_MV_PRECIOSHIS X
                                       WHERE X.IDARTICULO = V_MA_ARTICULOS.IDARTICULO
                                         AND X.IDLISTA = P.LISTA AND X.FECHAHORA < P.HASTA
                                       ORDER BY X.FECHAHORA DESC, X.ID DESC)
LEFT OUTER JOIN V_MA_PRECIOSCAB ON V_MA_PRECIOSCAB.IDLISTA = H.IDLISTA
{@WHERE}
ORDER BY V_MA_ARTICULOS.IDARTICULO
