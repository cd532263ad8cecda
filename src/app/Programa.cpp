#include "app/Programa.h"

#include "app/SalidaCsv.h"
#include "app/demo/CarpetaDemo.h"
#include "db/DB_Dll.h"
#include "db/provider/Connection.h"
#include "db/provider/ConnectionString.h"
#include "db/provider/SqlTrace.h"
#include "lookup/Lib_ClsCons3.h"
#include "lookup/Lib_FrmCons3.h"
#include "lookup/Lib_FrmCons3Tree.h"
#include "report/ConsultaCampo.h"
#include "report/engine/ErrorMotor.h"
#include "report/engine/EscritorCsv.h"
#include "startup/IniciarSistema.h"
#include "suite/Aplicacion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <memory>

namespace rp::app {

namespace {

void aviso(const QString& texto) {
    std::fputs((texto + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
}

// The loadable SQL Server function module, beside the executable (build tree
// or installation).
QString moduloSqlite() {
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& candidato :
         {dir + QStringLiteral("/rpsqlext.so"), dir + QStringLiteral("/../../lib/rpsqlext.so"),
          dir + QStringLiteral("/../lib/rp_tarifario/rpsqlext.so")}) {
        if (QFileInfo::exists(candidato))
            return QFileInfo(candidato).canonicalFilePath();
    }
    return QString();
}

} // namespace

QString Programa::parametrosDemo() {
    return QStringLiteral("@Server=sqlite; @DbName=EMPRESA_DEMO; @Usuario=demo; @Password=demo; "
                          "@ParametroAdicional=; @Caja=1; quim@ ;");
}

bool Programa::prepararCarpeta(const OpcionesPrograma& o, QString& error) {
    QString carpeta = o.carpetaPrograma;
    if (o.demo) {
        if (carpeta.isEmpty())
            carpeta = rp::demo::CarpetaDemo::carpetaPorDefecto();
        rp::demo::CarpetaDemo preparador;
        if (!preparador.prepararCarpetaDemo(carpeta)) {
            error = preparador.error();
            return false;
        }
    }
    if (!carpeta.isEmpty()) {
        if (!QFileInfo(carpeta).isDir()) {
            error = QStringLiteral("La carpeta del programa no existe: %1").arg(carpeta);
            return false;
        }
        rp::suite::Aplicacion::establecerCarpetaPrograma(QDir(carpeta).absolutePath());
    }
    rp::db::ProviderSettings ajustes = rp::db::providerSettings();
    ajustes.programFolder = rp::suite::Aplicacion::carpetaPrograma();
    ajustes.sqliteExtension = moduloSqlite();
    if (qEnvironmentVariableIsSet("RP_ODBC_DRIVER_SQLSERVER"))
        ajustes.sqlServerDriver = qEnvironmentVariable("RP_ODBC_DRIVER_SQLSERVER");
    if (qEnvironmentVariableIsSet("RP_ODBC_DRIVER_ORACLE"))
        ajustes.oracleDriver = qEnvironmentVariable("RP_ODBC_DRIVER_ORACLE");
    rp::db::setProviderSettings(ajustes);
    return true;
}

int Programa::consultar(const QString& texto) {
    rp::db::DB_Dll& db = rp::db::baseCompartida();
    QString sql = texto;
    rp::db::Recordset rs;
    db.AbrirRecordset(sql, rs);
    if (!rs.isOpen()) {
        aviso(QStringLiteral("rp_tarifario: la consulta no se pudo ejecutar"));
        return 1;
    }
    QFile salida;
    if (!salida.open(stdout, QIODevice::WriteOnly))
        return 1;
    try {
        SalidaCsv::escribir(rs, salida);
    } catch (const rp::db::DbError& e) {
        salida.flush();
        aviso(QStringLiteral("rp_tarifario: %1").arg(e.description()));
        return 1;
    } catch (const rp::motor::ErrorMotor& e) {
        aviso(QStringLiteral("rp_tarifario: %1").arg(e.texto()));
        return 1;
    }
    // The rows are only out once the buffers reach the output.
    if (!salida.flush() || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        aviso(QStringLiteral("rp_tarifario: no se puede escribir la salida: %1")
                  .arg(salida.errorString()));
        return 1;
    }
    db.CierraRecordset(rs);
    return 0;
}

int Programa::consultarCampo(const QString& tag, const std::optional<QString>& busqueda) {
    const std::optional<rp::report::ConsultaCampo> c = rp::report::ConsultaCampo::deTag(tag);
    if (!c) {
        aviso(QStringLiteral("rp_tarifario: la etiqueta %1 no tiene consulta").arg(tag));
        return 2;
    }
    QFile salida;
    if (!salida.open(stdout, QIODevice::WriteOnly))
        return 1;
    auto linea = [&salida](const QStringList& celdas) {
        QStringList citadas;
        for (const QString& t : celdas)
            citadas << rp::motor::EscritorCsv::citar(t);
        salida.write((citadas.join(QLatin1Char(',')) + QStringLiteral("\r\n")).toUtf8());
    };
    bool mostrada = false;
    rp::lookup::Lib_ClsCons3& pedido = rp::lookup::gConsulta();
    pedido.observador = [&](rp::lookup::Lib_FrmCons3& f) {
        mostrada = true;
        if (busqueda && f.modelo().columnCount() > 0) {
            f.cambioBusqueda(0, *busqueda);
            f.busquedaServidor(0);
        }
        QStringList titulos;
        for (const auto& col : f.modelo().columnas())
            titulos << col.titulo;
        linea(titulos);
        for (int i = 0; i < f.modelo().filas(); ++i)
            linea(f.modelo().fila(i).celdas);
    };
    pedido.observadorArbol = [&](rp::lookup::Lib_FrmCons3Tree& a) {
        mostrada = true;
        if (busqueda)
            a.busquedaServidor(*busqueda);
        linea({QStringLiteral("Codigo"), QStringLiteral("Descripcion")});
        for (int i = 1; i < a.nodos(); ++i) {
            const QString& t = a.nodo(i).texto;
            const QString codigo = a.codigo(i);
            linea({codigo.trimmed(), t.mid(codigo.size() + 3)});
        }
    };
    pedido.CampoDevuelto = c->campoDevuelto;
    pedido.ConsultaSearch(c->sql, c->arbol);
    pedido.observador = nullptr;
    pedido.observadorArbol = nullptr;
    salida.flush();
    return mostrada ? 0 : 1;
}

Programa::Programa() = default;

Programa::~Programa() {
    if (traza_)
        rp::db::Connection::setTrace(nullptr);
}

std::optional<int> Programa::arrancar(const OpcionesPrograma& o) {
    QString error;
    if (!prepararCarpeta(o, error)) {
        aviso(QStringLiteral("rp_tarifario: ") + error);
        return 2;
    }

    if (o.guardarFiltro) {
        if (!guardarFiltro) {
            aviso(QStringLiteral("rp_tarifario: no se pueden guardar filtros"));
            return 2;
        }
        return guardarFiltro(o);
    }

    if (!o.trazaSql.isEmpty()) {
        traza_ = std::make_unique<rp::db::SqlTrace>(o.trazaSql);
        if (!traza_->isOpen()) {
            aviso(QStringLiteral("rp_tarifario: no se puede escribir la traza %1").arg(o.trazaSql));
            traza_.reset();
            return 2;
        }
        rp::db::Connection::setTrace(traza_.get());
    }

    QString parametros = o.parametros;
    if (o.demo && parametros.trimmed().isEmpty())
        parametros = parametrosDemo();
    QString cadena;
    const auto resultado = rp::startup::IniciarSistema(false, parametros, cadena, 3);
    if (resultado == rp::startup::ResultadoInicio::Terminar) {
        aviso(QStringLiteral("rp_tarifario: no se pudo abrir la conexión con la base de datos"));
        return 3;
    }

    if (o.consulta)
        return consultar(*o.consulta);
    if (o.consultaCampo)
        return consultarCampo(*o.consultaCampo, o.textoConsulta);
    if (!o.exportar.isEmpty()) {
        if (!exportar) {
            aviso(QStringLiteral("rp_tarifario: la exportación de reportes no está disponible"));
            return 2;
        }
        return exportar(o);
    }
    if (resultado != rp::startup::ResultadoInicio::Completo) {
        aviso(QStringLiteral("rp_tarifario: el inicio no se completó"));
        return 4;
    }
    if (o.lote || !abrirVentana) {
        const rp::db::DB_Dll& db = rp::db::baseCompartida();
        // Without a database name the start-up skips its database checks.
        if (db.gDBName.trimmed().isEmpty()) {
            aviso(QStringLiteral("rp_tarifario: el parámetro de inicio no nombra la base de datos "
                                 "(@DbName); verificaciones de la base de datos no realizadas"));
            return 4;
        }
        aviso(QStringLiteral("rp_tarifario: sesión iniciada en %1 (%2) como %3; verificaciones "
                             "de la base de datos completas")
                  .arg(db.gDBName, db.gServidor, db.gUsuario));
        return 0;
    }
    return abrirVentana();
}

} // namespace rp::app
