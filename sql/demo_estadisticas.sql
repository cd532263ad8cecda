-- Statistics database KS_ESTADISTICAS: the suite-wide settings (the command
-- time-out "TimeOut" among them), in the same layout as the business
-- database's configuration table.
CREATE TABLE TA_CONFIGURACION (
    CLAVE           VARCHAR(50)  COLLATE MSSQL NOT NULL PRIMARY KEY,
    VALOR           VARCHAR(255) COLLATE MSSQL,
    VALORAUX        VARCHAR(255) COLLATE MSSQL,
    GRUPO           VARCHAR(50)  COLLATE MSSQL,
    POLITICANEGOCIO SMALLINT     DEFAULT 0
);
