-- Indexes of the demo business database, created after the data is loaded.
-- Code and date columns are indexed (their texts are digits and blanks), and
-- the article description, which the article lookup lists in order.
CREATE INDEX IX_V_MV_PRECIOSHIS_ARTICULO ON V_MV_PRECIOSHIS (IDARTICULO, IDLISTA, FECHAHORA);
CREATE INDEX IX_V_MV_PRECIOSHIS_LISTA ON V_MV_PRECIOSHIS (IDLISTA, FECHAHORA);
-- The look-ups by trimmed article code (LTRIM(RTRIM(idarticulo)) ='code',
-- compared with the collation MSSQL), as the last-cost report makes one per
-- scanned row.
CREATE INDEX IX_V_MV_PRECIOSHIS_CODIGO
    ON V_MV_PRECIOSHIS (LTRIM(RTRIM(IDARTICULO)) COLLATE MSSQL, IDLISTA, FECHAHORA);
CREATE INDEX IX_V_MV_PRECIOSHIS_FECHA ON V_MV_PRECIOSHIS (FECHAHORA);
CREATE INDEX IX_V_MA_ARTICULOS_RUBRO ON V_MA_ARTICULOS (IDRUBRO);
CREATE INDEX IX_V_MA_ARTICULOS_FAMILIA ON V_MA_ARTICULOS (IDFAMILIA);
CREATE INDEX IX_V_MA_ARTICULOS_PROVEEDOR ON V_MA_ARTICULOS (CUENTAPROVEEDOR);
-- The article lookup reads descriptions in order up to "TopConsArt" rows,
-- from this index alone, without sorting the catalogue.
CREATE INDEX IX_V_MA_ARTICULOS_DESCRIPCION
    ON V_MA_ARTICULOS (DESCRIPCION, SUSPENDIDO, IDARTICULO);
-- The description index holds the order of the collation MSSQL for accented
-- letters. The stamp tells the program which order that is: a program with
-- another order rebuilds the indexes when it opens the database.
CREATE TABLE RP_COLLATION (VERSION INTEGER NOT NULL);
INSERT INTO RP_COLLATION (VERSION) VALUES (1);
ANALYZE;
