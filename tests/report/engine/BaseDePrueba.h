#pragma once

#include "BaseTemporal.h"
#include "report/engine/FuenteDatos.h"

#include <QFile>
#include <QStringList>

namespace rp::motor::prueba {

// A small price-history database in a real SQLite file: the three views the
// change-history report joins (as tables) and the procedure of the
// report by date. Text values carry the awkward cases: letter case, trailing
// and leading blanks, "%", "_", "[" and apostrophes.
struct BaseDePrueba : rp::prueba::BaseTemporal {
    QStringList sentencias; // every statement the engine ran

    static constexpr const char* desde =
        "dbo.V_MV_PRECIOSHIS with(nolock) "
        "LEFT OUTER JOIN dbo.V_MA_ARTICULOS with(nolock) ON V_MA_ARTICULOS.IDARTICULO = "
        "V_MV_PRECIOSHIS.IDARTICULO "
        "LEFT OUTER JOIN dbo.V_MA_PRECIOSCAB with(nolock) ON V_MA_PRECIOSCAB.IDLISTA = "
        "V_MV_PRECIOSHIS.IDLISTA";

    BaseDePrueba() {
        ejecutar("CREATE TABLE V_MA_PRECIOSCAB (IDLISTA VARCHAR(4), NOMBRE VARCHAR(50))");
        ejecutar("INSERT INTO V_MA_PRECIOSCAB VALUES ('1','Minorista'), ('2','Mayorista'), "
                 "('10','Especial 10%'), ('3','O''Brien')");
        ejecutar("CREATE TABLE V_MA_ARTICULOS (IDARTICULO VARCHAR(25), DESCRIPCION VARCHAR(50), "
                 "IDRUBRO VARCHAR(4), CUENTAPROVEEDOR VARCHAR(20), IDFAMILIA VARCHAR(20), "
                 "FHULTIMOCOSTO DATETIME)");
        ejecutar("INSERT INTO V_MA_ARTICULOS VALUES "
                 "('                      100','Tornillo 10%','   1','P001','01',NULL), "
                 "('                      200','tuerca_fina','   2','P002','0101',NULL), "
                 "('                      300','Arandela [x]','  12','p001','02',NULL), "
                 "('                      500','Clavo','A1  ',NULL,'07',NULL)");
        ejecutar("CREATE TABLE V_MV_PRECIOSHIS (IDHIS INTEGER PRIMARY KEY, IDLISTA VARCHAR(4), "
                 "IDARTICULO VARCHAR(25), FECHAHORA DATETIME, USUARIO VARCHAR(50), COSTO FLOAT, "
                 "PRECIO1 FLOAT, PRECIO1ANT FLOAT)");
        ejecutar("INSERT INTO V_MV_PRECIOSHIS VALUES "
                 "(1,'1','                      100','2024-12-30 10:00:00','ana',10.5,12,11), "
                 "(2,'1','                      200','2024-12-31 00:00:00','ANA',0,5,4.5), "
                 "(3,'2','                      300','2024-12-31 23:59:59','juan',7.25,9,8), "
                 "(4,'10','                      100','2025-01-01 00:00:00','Juan ',100,NULL,3), "
                 "(5,'3','                      500','2023-06-15 08:30:00',NULL,3,4,4), "
                 "(6,' 2','                      200','2024-01-01 12:00:00','maria',-1,2,1)");
        ejecutar("CREATE TABLE RP_PROCEDIMIENTOS (NOMBRE VARCHAR(100), PARAMETROS VARCHAR(200), "
                 "CUERPO TEXT)");
        ejecutar("INSERT INTO RP_PROCEDIMIENTOS VALUES ('KS_RP_CambiosPreciosHis', "
                 "'@FECHA,@LISTA,@CLASE,@WHERE', "
                 "'SELECT V_MV_PRECIOSHIS.IDHIS, V_MV_PRECIOSHIS.IDARTICULO, "
                 "V_MV_PRECIOSHIS.USUARIO, V_MV_PRECIOSHIS.COSTO AS ACTUAL, "
                 "V_MV_PRECIOSHIS.PRECIO1 AS ANTERIOR, @CLASE AS CLASE, @FECHA AS FECHA "
                 "FROM V_MV_PRECIOSHIS WHERE LTRIM(V_MV_PRECIOSHIS.IDLISTA) = @LISTA')");
    }

    // A template over these tables (change history with hideable price
    // columns, a group header and page header and footer), written to the
    // temporary folder.
    QString plantilla(const QString& nombre, const QString& texto) {
        const QString r = dir.filePath(nombre);
        QFile f(r);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(texto.toUtf8());
        return r;
    }

    static QString textoHistorial() {
        return QStringLiteral("[informe]\n"
                              "papel = A4\n"
                              "letra = DejaVu Sans, 8\n"
                              "columnas-ocultas = OcultarColumnas\n"
                              "[origen]\n"
                              "consulta = dbo.V_MV_PRECIOSHIS with(nolock)\n"
                              "    LEFT OUTER JOIN dbo.V_MA_ARTICULOS with(nolock)\n"
                              "        ON V_MA_ARTICULOS.IDARTICULO = V_MV_PRECIOSHIS.IDARTICULO\n"
                              "    LEFT OUTER JOIN dbo.V_MA_PRECIOSCAB with(nolock)\n"
                              "        ON V_MA_PRECIOSCAB.IDLISTA = V_MV_PRECIOSHIS.IDLISTA\n"
                              "orden = +{V_MV_PRECIOSHIS.IDHIS}\n"
                              "[formulas]\n"
                              "Nombreempresa = ''\n"
                              "OcultarColumnas = ''\n"
                              "Precio1 = 'Precio 1'\n"
                              "[encabezado]\n"
                              "linea = {@Nombreempresa} | | {PrintDate}\n"
                              "titulo = Historial\n"
                              "[pie]\n"
                              "linea = | | Página {PageNumber} de {TotalPageCount}\n"
                              "[columna]\n"
                              "valor = {V_MV_PRECIOSHIS.IDHIS}\n"
                              "titulo = Id\n"
                              "ancho = 10\n"
                              "formato = entero\n"
                              "[columna]\n"
                              "valor = {V_MA_ARTICULOS.DESCRIPCION}\n"
                              "titulo = Descripción\n"
                              "ancho = 40\n"
                              "[columna]\n"
                              "id = 0\n"
                              "valor = {V_MV_PRECIOSHIS.COSTO}\n"
                              "titulo = Costo\n"
                              "ancho = 20\n"
                              "alineacion = derecha\n"
                              "formato = numero:2\n"
                              "[columna]\n"
                              "id = 1\n"
                              "valor = {V_MV_PRECIOSHIS.PRECIO1}\n"
                              "titulo = {@Precio1}\n"
                              "ancho = 20\n"
                              "alineacion = derecha\n"
                              "formato = numero:2\n"
                              "[columna]\n"
                              "valor = {V_MV_PRECIOSHIS.FECHAHORA}\n"
                              "titulo = Fecha\n"
                              "ancho = 30\n"
                              "formato = fechahora\n");
    }

    // A data source over the connection that records what it runs.
    FuenteDatos fuente() {
        FuenteDatos f;
        f.consultar = [this](const QString& sql) {
            sentencias << sql;
            return conexion.execute(sql);
        };
        return f;
    }
};

} // namespace rp::motor::prueba
