#pragma once

#include "../db/DbPrueba.h"
#include "startup/Configuracion.h"
#include "startup/Sesion.h"

namespace rp::startup::test {

// A start-up test on a fresh business database with the suite's
// configuration, user and menu tables, opened as the shared database object.
class InicioPrueba : public rp::db::test::DbPrueba {
protected:
    void SetUp() override {
        DbPrueba::SetUp();
        abrir();
        sql("CREATE TABLE TA_CONFIGURACION (Clave varchar(50) COLLATE MSSQL PRIMARY KEY, "
            "Valor varchar(255) COLLATE MSSQL, ValorAux varchar(255) COLLATE MSSQL, "
            "Grupo varchar(50) COLLATE MSSQL, PoliticaNegocio int)");
        sql("CREATE TABLE TA_USUARIOS (Nombre varchar(50) COLLATE MSSQL PRIMARY KEY, "
            "Administrador int, UNegocio varchar(4) COLLATE MSSQL, verproforma int)");
        sql("CREATE TABLE TA_TAREAS (USUARIO varchar(50) COLLATE MSSQL, TAREA varchar(20) "
            "COLLATE MSSQL)");
        sql("CREATE TABLE TA_MENU (Clave varchar(20) COLLATE MSSQL, Proceso varchar(50) COLLATE "
            "MSSQL, Nombre varchar(80) COLLATE MSSQL)");
        sql("CREATE TABLE Control_Acceso (Maquina varchar(50), Usuario varchar(50), Formulario "
            "varchar(50), Tarea varchar(80), Ingreso varchar(20), NombreUsuario varchar(50))");
        sql("CREATE TABLE AUX_ERR (Proceso varchar(50), fecha varchar(20), Error int, "
            "Descripcion varchar(250), SQL text, Pc varchar(50), Usuario varchar(50))");
        configuracion() = ConfiguracionCargada{};
        sesion() = Sesion{};
    }
    void clave(const QString& k, const QString& v, const QString& aux = QString()) {
        QString vv = v, kk = k, aa = aux;
        vv.replace("'", "''");
        kk.replace("'", "''");
        aa.replace("'", "''");
        sql(QStringLiteral("INSERT INTO TA_CONFIGURACION (Clave, Valor, ValorAux) VALUES ('%1', "
                           "'%2', %3)")
                .arg(kk, vv, aux.isNull() ? QStringLiteral("NULL") : "'" + aa + "'"));
    }
    // One value of the first row of a query.
    QVariant uno(const QString& s) {
        auto c = db.conexion().execute(s);
        return c && c->fetch() ? c->value(0) : QVariant();
    }
};

} // namespace rp::startup::test
