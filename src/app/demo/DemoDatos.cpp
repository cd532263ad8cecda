#include "app/demo/DemoDatos.h"

#include "app/demo/CatalogoDemo.h"
#include "app/demo/HistorialDemo.h"
#include "app/demo/MaestroDemo.h"
#include "app/demo/SentenciaSqlite.h"
#include "db/provider/SqlServerFunctions.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QVariant>
#include <sqlite3.h>
#include <unistd.h>

namespace rp::demo {

namespace {

using Filas = QList<QVariantList>;

QString textoDeColumna(sqlite3_stmt* st, int i) {
    const unsigned char* t = sqlite3_column_text(st, i);
    return t ? QString::fromUtf8(reinterpret_cast<const char*>(t)) : QString();
}

} // namespace

OpcionesDemo OpcionesDemo::escala(const QString& nombre, bool* ok) {
    OpcionesDemo o;
    const QString n = nombre.trimmed().toLower();
    if (ok)
        *ok = (n == QLatin1String("demo") || n == QLatin1String("large"));
    if (n == QLatin1String("large")) {
        o.articulos = 100000;
        o.cambios = 1000000;
    }
    return o;
}

DemoDatos::DemoDatos(const OpcionesDemo& opciones) : opciones_(opciones) {}

bool DemoDatos::registrarFunciones(sqlite3* db) {
    return rp::db::registerSqlServerFunctions(db) == SQLITE_OK;
}

QString DemoDatos::textoSql(const QString& nombre) {
    QFile f(QStringLiteral(":/sql/") + nombre);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

QString DemoDatos::cuerpoProcedimiento() {
    QStringList lineas;
    const QStringList todas = textoSql(QStringLiteral("KS_RP_CambiosPreciosHis.sql")).split(u'\n');
    for (const QString& l : todas)
        if (!l.trimmed().startsWith(QLatin1String("--")) && !l.trimmed().isEmpty())
            lineas.append(l);
    return lineas.join(u'\n');
}

sqlite3* DemoDatos::abrirNuevo(const QString& archivo) {
    if (QFileInfo::exists(archivo)) {
        error_ = QStringLiteral("El archivo ya existe: ") + archivo;
        return nullptr;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(archivo).constData(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        error_ = QStringLiteral("No se puede crear ") + archivo + QStringLiteral(": ") +
                 QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        QFile::remove(archivo);
        return nullptr;
    }
    if (!registrarFunciones(db)) {
        error_ = QStringLiteral("No se puede registrar la intercalación MSSQL");
        cerrar(db, archivo, false);
        return nullptr;
    }
    // Loading speed: one transaction, no syncing until the file is complete.
    if (!ejecutar(db, QStringLiteral("PRAGMA journal_mode=DELETE; PRAGMA synchronous=OFF; "
                                     "PRAGMA cache_size=-131072; PRAGMA temp_store=MEMORY; "
                                     "PRAGMA locking_mode=EXCLUSIVE; PRAGMA threads=2;"))) {
        cerrar(db, archivo, false);
        return nullptr;
    }
    return db;
}

bool DemoDatos::ejecutar(sqlite3* db, const QString& sql) {
    char* msg = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
        error_ = QString::fromUtf8(msg ? msg : "error de SQLite");
        sqlite3_free(msg);
        return false;
    }
    return true;
}

bool DemoDatos::cerrar(sqlite3* db, const QString& archivo, bool ok) {
    // A finished demo database runs in WAL mode, so several processes read
    // it while one writes; the program never changes the mode of a database
    // it opens.
    if (ok && !ejecutar(db, QStringLiteral("PRAGMA locking_mode=NORMAL; PRAGMA synchronous=FULL; "
                                           "PRAGMA journal_mode=WAL;")))
        ok = false;
    if (sqlite3_close(db) != SQLITE_OK && ok) {
        error_ = QStringLiteral("No se puede cerrar ") + archivo;
        ok = false;
    }
    if (!ok) {
        QFile::remove(archivo);
        QFile::remove(archivo + QStringLiteral("-journal"));
        QFile::remove(archivo + QStringLiteral("-wal"));
        QFile::remove(archivo + QStringLiteral("-shm"));
        return false;
    }
    QFile f(archivo);
    if (f.open(QIODevice::ReadOnly))
        ::fsync(f.handle());
    return true;
}

bool DemoDatos::generarEstadisticas(const QString& archivo) {
    sqlite3* db = abrirNuevo(archivo);
    if (!db)
        return false;
    bool ok = ejecutar(db, QStringLiteral("BEGIN")) &&
              ejecutar(db, textoSql(QStringLiteral("demo_estadisticas.sql")));
    if (ok) {
        SentenciaSqlite ins(db,
                            QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, VALORAUX, "
                                           "GRUPO, POLITICANEGOCIO) VALUES (?,?,?,?,0)"));
        ins.texto(1, QStringLiteral("TimeOut"));
        ins.texto(2, QStringLiteral("360"));
        ins.texto(3, QString(""));
        ins.texto(4, QStringLiteral("BaseDeDatos"));
        ok = ins.ejecutar();
        if (!ok)
            error_ = ins.error();
    }
    ok = ok && ejecutar(db, QStringLiteral("COMMIT"));
    return cerrar(db, archivo, ok);
}

bool DemoDatos::generarEmpresa(const QString& archivo) {
    sqlite3* db = abrirNuevo(archivo);
    if (!db)
        return false;
    const bool ok = ejecutar(db, QStringLiteral("BEGIN")) &&
                    ejecutar(db, textoSql(QStringLiteral("demo_empresa.sql"))) &&
                    cargarTablasFijas(db) && cargarMaestros(db) &&
                    ejecutar(db, textoSql(QStringLiteral("demo_empresa_indices.sql"))) &&
                    ejecutar(db, QStringLiteral("COMMIT"));
    return cerrar(db, archivo, ok);
}

namespace {

bool insertar(sqlite3* db, const QString& tabla, const QStringList& columnas, const Filas& filas,
              QString& error) {
    QStringList marcas;
    for (qsizetype i = 0; i < columnas.size(); ++i)
        marcas.append(QStringLiteral("?"));
    SentenciaSqlite ins(db, QStringLiteral("INSERT INTO ") + tabla + QStringLiteral(" (") +
                                columnas.join(u',') + QStringLiteral(") VALUES (") +
                                marcas.join(u',') + QStringLiteral(")"));
    if (!ins.valida()) {
        error = ins.error();
        return false;
    }
    for (const QVariantList& fila : filas) {
        for (int i = 0; i < fila.size(); ++i)
            ins.valor(i + 1, fila.at(i));
        if (!ins.ejecutar()) {
            error = tabla + QStringLiteral(": ") + ins.error();
            return false;
        }
    }
    return true;
}

} // namespace

bool DemoDatos::cargarTablasFijas(sqlite3* db) {
    const QString uno = QStringLiteral("   1"), dos = QStringLiteral("   2");
    Filas cfg = {
        {"NOMBRE", CatalogoDemo::nombreEmpresa(), "", "Empresa"},
        {"TopConsArt", "1000", "", "Consultas"},
        {"MostrarStockenConsultas", "SI", "", "Consultas"},
        {"UsaConsultaLike", "SI", "", "Consultas"},
        {"Stk_Nivel1", "32768", "", "Consultas"},
        {"Stk_Nivel2", "16711680", "", "Consultas"},
        {"Stk_Nivel3", "33023", "", "Consultas"},
        {"Stk_Nivel4", "255", "", "Consultas"},
        {"SS_CONFIDENCIALIDAD", "NO", "", "Seguridad"},
        {"CFondo", "12648447", "", "Pantalla"},
        {"CLetra", "0", "", "Pantalla"},
        {"THEME", "1", "", "Pantalla"},
        {"CantidadDecimales", "2", "", "General"},
        {"CONDIVAEMPRESA", "1", "", "General"},
        {"Top_Default", "1000", "", "General"},
        {"PERIODO", "2025", "", "General"},
        {"TituloClientes", "Clientes", "", "General"},
        {"TituloProveedores", "Proveedores", "", "General"},
        {"RUTA_FORMULARIOS_EFACTURA", "", "", "Reportes"},
    };
    const QStringList& clases = CatalogoDemo::clasesDePrecio();
    for (int c = 0; c < clases.size(); ++c)
        cfg.append({QStringLiteral("NOM_PCLASE%1").arg(c + 1), clases.at(c), "", "Precios"});

    Filas usuarios;
    for (const UsuarioDemo& u : CatalogoDemo::usuarios())
        usuarios.append(
            {u.nombre, u.nombreCompleto, u.administrador, u.unidadNegocio, u.verProforma});

    const Filas menu = {
        {"RP01", "RP_TARIFARIO", "Reporte Histórico de Precios"},
        {"AR01", "V_MA_ARTICULOS", "Artículos"},
        {"PR01", "V_MA_PRECIOS", "Listas de Precios"},
        {"TB01", "V_TA_TABLAS", "Tablas Generales"},
        {"CL01", "V_MA_CLIENTES", "Clientes y Proveedores"},
    };
    const Filas tareas = {
        {"demo", "RP01"}, {"demo", "AR01"},   {"demo", "PR01"},   {"demo", "TB01"},
        {"demo", "CL01"}, {"marta", "RP01"},  {"marta", "AR01"},  {"marta", "PR01"},
        {"ana", "RP01"},  {"carlos", "RP01"}, {"carlos", "AR01"}, {"jorge", "AR01"},
    };
    const Filas listas = [] {
        Filas f;
        const QStringList& nombres = CatalogoDemo::listasDePrecios();
        for (int l = 0; l < nombres.size(); ++l)
            f.append({QString::number(l + 1), nombres.at(l), "ARS", l == 4 ? 1 : 0});
        return f;
    }();
    const Filas unidades = {{uno, "Casa Central", "0001", "", 0},
                            {dos, "Sucursal Rosario", "0002", "", 0}};
    const Filas cptes = {{"FC", "Factura", "Ventas"},
                         {"NC", "Nota de Crédito", "Ventas"},
                         {"RM", "Remito", "Ventas"},
                         {"FCC", "Factura de Compra", "Compras"},
                         {"OPG", "Orden de Pago", "Tesorería"}};
    const Filas depositos = {{uno, "Depósito Central", uno}, {dos, "Depósito Rosario", dos}};
    const Filas vendedores = {
        {uno, "Roberto Sosa"}, {dos, "Silvia Medina"}, {"   3", "Pablo Vega"}};
    const Filas tecnicos = {{uno, "Hugo Peralta"}, {dos, "Diego Luna"}};
    const Filas tareasGrales = {{uno, "Inventario mensual"}, {dos, "Actualización de precios"}};
    const Filas mantenimientos = {{"M01", "Service de balanzas"}, {"M02", "Control de matafuegos"}};
    const Filas contactos = {{"Laura Acosta", "Mitre 1250", "Rosario", "0341 455-1020"},
                             {"Martín Ríos", "Belgrano 320", "Santa Fe", "0342 456-7788"}};
    const Filas posiciones = {{"01", "Mercaderías"}, {"0101", "Mercadería de reventa"}};
    const Filas centrosCosto = {{"100", "Administración"}, {"200", "Ventas"}, {"300", "Depósito"}};
    const Filas reportes = {{"RP_CambioPreciosHIS", "RP_CambioPreciosHIS", "", "", ""}};
    const Filas procedimientos = {
        {nombreProcedimiento(), parametrosProcedimiento(), cuerpoProcedimiento()}};

    return insertar(db, "TA_CONFIGURACION", {"CLAVE", "VALOR", "VALORAUX", "GRUPO"}, cfg, error_) &&
           insertar(db, "TA_USUARIOS",
                    {"NOMBRE", "NOMBRECOMPLETO", "ADMINISTRADOR", "UNEGOCIO", "VERPROFORMA"},
                    usuarios, error_) &&
           insertar(db, "TA_MENU", {"CLAVE", "PROCESO", "NOMBRE"}, menu, error_) &&
           insertar(db, "TA_TAREAS", {"USUARIO", "TAREA"}, tareas, error_) &&
           insertar(db, "V_MA_PRECIOSCAB", {"IDLISTA", "NOMBRE", "MONEDA", "INCLUYEIVA"}, listas,
                    error_) &&
           insertar(db, "V_TA_UNIDADNEGOCIO",
                    {"CODIGO", "DESCRIPCION", "PDV", "ruta_reporte", "usaefc"}, unidades, error_) &&
           insertar(db, "V_TA_CPTE", {"Codigo", "DESCRIPCION", "SISTEMA"}, cptes, error_) &&
           insertar(db, "V_TA_DEPOSITO", {"IdDeposito", "Descripcion", "UnidadNegocio"}, depositos,
                    error_) &&
           insertar(db, "V_TA_VENDEDORES", {"IDVENDEDOR", "NOMBRE"}, vendedores, error_) &&
           insertar(db, "V_TA_TECNICOS", {"IDTECNICO", "NOMBRE"}, tecnicos, error_) &&
           insertar(db, "V_TA_TAREAS", {"IdTarea", "Descripcion"}, tareasGrales, error_) &&
           insertar(db, "V_MA_MANTENIMIENTOS", {"CODIGO", "DESCRIPCION"}, mantenimientos, error_) &&
           insertar(db, "MA_CONTACTOS", {"Nombre_y_Apellido", "Domicilio", "Localidad", "Telefono"},
                    contactos, error_) &&
           insertar(db, "MA_POSICIONES", {"IDPOSICION", "DESCRIPCION"}, posiciones, error_) &&
           insertar(db, "TA_CCOSTO", {"CODIGO", "DESCRIPCION"}, centrosCosto, error_) &&
           insertar(db, "TA_REPORTES", {"NOMBRE", "Archivo", "Archivo2", "Archivo3", "Archivo4"},
                    reportes, error_) &&
           insertar(db, "RP_PROCEDIMIENTOS", {"NOMBRE", "PARAMETROS", "CUERPO"}, procedimientos,
                    error_);
}

bool DemoDatos::cargarMaestros(sqlite3* db) {
    MaestroDemo maestro(opciones_.articulos, opciones_.semilla);
    HistorialDemo historial(opciones_.cambios, opciones_.semilla);
    if (!historial.cargar(db, maestro.articulos())) {
        error_ = historial.error();
        return false;
    }
    auto filas = [](const QList<CodigoDescripcion>& l) {
        Filas f;
        for (const auto& c : l)
            f.append({c.codigo, c.descripcion});
        return f;
    };
    Filas cuentas;
    for (const CuentaDemo& c : maestro.cuentas())
        cuentas.append({c.codigo, c.razonSocial, c.razonSocial, c.tipo, c.cuit, c.domicilio,
                        c.localidad, c.telefono, c.contacto, c.dadaDeBaja});
    if (!insertar(db, "V_TA_RUBROS", {"IDRUBRO", "DESCRIPCION"}, filas(maestro.rubros()), error_) ||
        !insertar(db, "V_TA_FAMILIAS", {"IDFAMILIA", "DESCRIPCION"}, filas(maestro.familias()),
                  error_) ||
        !insertar(db, "V_TA_MARCAS", {"IDTIPO", "DESCRIPCION"}, filas(maestro.marcas()), error_) ||
        !insertar(db, "MA_CUENTAS",
                  {"CODIGO", "DESCRIPCION", "RAZON_SOCIAL", "TIPO", "CUIT", "DOMICILIO",
                   "LOCALIDAD", "TELEFONO", "CONTACTO", "Dada_De_Baja"},
                  cuentas, error_))
        return false;

    SentenciaSqlite ins(
        db,
        QStringLiteral(
            "INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, IDRUBRO, IDTIPO, "
            "CUENTAPROVEEDOR, "
            "IDFAMILIA, UNIDAD, CODIGOBARRA, TASAIVA, COSTO, FHULTIMOCOSTO, PUNTOPEDIDO, Stock, "
            "SUSPENDIDO, FECHAALTA) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    if (!ins.valida()) {
        error_ = ins.error();
        return false;
    }
    for (const ArticuloDemo& a : maestro.articulos()) {
        ins.texto(1, a.codigo);
        ins.texto(2, a.descripcion);
        ins.texto(3, a.idRubro);
        ins.texto(4, a.idTipo);
        ins.texto(5, a.proveedor);
        ins.texto(6, a.idFamilia);
        ins.texto(7, a.unidad);
        ins.texto(8, a.codigoBarra);
        ins.real(9, a.tasaIva);
        ins.real(10, a.costo);
        if (a.fhUltimoCosto >= 0)
            ins.texto(11, HistorialDemo::textoFechaHora(a.fhUltimoCosto));
        else
            ins.nulo(11);
        ins.real(12, a.puntoPedido);
        ins.real(13, a.stock);
        ins.entero(14, a.suspendido);
        // Registered on the day of its first price.
        ins.texto(15, HistorialDemo::textoFechaHora(HistorialDemo::inicioDia(a.diaAlta)));
        if (!ins.ejecutar()) {
            error_ = ins.error();
            return false;
        }
    }
    return true;
}

QString DemoDatos::sumaDeControl(const QString& archivo) {
    if (!QFileInfo::exists(archivo))
        return QString();
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(archivo).constData(), &db, SQLITE_OPEN_READONLY,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return QString();
    }
    registrarFunciones(db);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QStringList tablas;
    bool ok = true;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT type, name, sql FROM sqlite_master WHERE name NOT LIKE "
                           "'sqlite_%' ORDER BY type, name",
                           -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW) {
            const QString tipo = textoDeColumna(st, 0), nombre = textoDeColumna(st, 1);
            hash.addData((tipo + u'|' + nombre + u'|' + textoDeColumna(st, 2) + u'\n').toUtf8());
            if (tipo == QLatin1String("table"))
                tablas.append(nombre);
        }
    } else {
        ok = false;
    }
    sqlite3_finalize(st);
    for (const QString& t : tablas) {
        st = nullptr;
        const QByteArray sql =
            (QStringLiteral("SELECT * FROM \"") + t + QStringLiteral("\" ORDER BY rowid")).toUtf8();
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK) {
            ok = false;
            break;
        }
        const int n = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW) {
            QByteArray fila;
            for (int i = 0; i < n; ++i) {
                const int tipo = sqlite3_column_type(st, i);
                fila += static_cast<char>('0' + tipo);
                if (tipo == SQLITE_INTEGER) {
                    const qint64 v = sqlite3_column_int64(st, i);
                    fila.append(reinterpret_cast<const char*>(&v), sizeof v);
                } else if (tipo == SQLITE_FLOAT) {
                    const double v = sqlite3_column_double(st, i);
                    fila.append(reinterpret_cast<const char*>(&v), sizeof v);
                } else if (tipo != SQLITE_NULL) {
                    fila.append(static_cast<const char*>(sqlite3_column_blob(st, i)),
                                sqlite3_column_bytes(st, i));
                }
                fila += '\x1f';
            }
            fila += '\n';
            hash.addData(fila);
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return ok ? QString::fromLatin1(hash.result().toHex()) : QString();
}

} // namespace rp::demo
