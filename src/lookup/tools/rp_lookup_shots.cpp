// Renders the lookup windows over a demo program folder to PNG files:
//
//   QT_QPA_PLATFORM=offscreen rp_lookup_shots DEMO_FOLDER [FOLDER]
//
// writes FOLDER/consulta-articulos.png (the article list with its stock
// colours), FOLDER/consulta-filtrada.png (the supplier list narrowed with F5)
// and FOLDER/consulta-familias.png (the family tree); FOLDER defaults to
// "docs/screens".
#include "db/DB_Dll.h"
#include "db/provider/ConnectionString.h"
#include "lookup/Lib_FrmCons3.h"
#include "lookup/Lib_FrmCons3Tree.h"
#include "lookup/widgets/VentanaConsulta.h"
#include "lookup/widgets/VentanaConsultaArbol.h"
#include "suite/Aplicacion.h"
#include "suite/Regional.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <cstdio>

namespace {

QString cfg(const QString& clave) {
    auto c = rp::db::baseCompartida().conexion().execute(
        QStringLiteral("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = ?"), nullptr, {clave});
    return c && c->fetch() ? c->value(0).toString() : QStringLiteral(" ");
}

bool guardar(QWidget& w, const QString& ruta) {
    w.show();
    QApplication::processEvents();
    const bool ok = w.grab().save(ruta);
    if (!ok)
        std::fprintf(stderr, "rp_lookup_shots: cannot write %s\n", qPrintable(ruta));
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QApplication aplicacion(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: rp_lookup_shots DEMO_FOLDER [FOLDER]\n");
        return 2;
    }
    const QString salida = args.size() > 2 ? args.at(2) : QStringLiteral("docs/screens");
    QDir().mkpath(salida);
    rp::suite::Aplicacion::establecerCarpetaPrograma(QDir(args.at(1)).absolutePath());
    rp::suite::Regional::establecer(rp::suite::Regional::espaniol());
    rp::db::ProviderSettings ajustes = rp::db::providerSettings();
    ajustes.programFolder = rp::suite::Aplicacion::carpetaPrograma();
    rp::db::setProviderSettings(ajustes);
    rp::db::DB_Dll& db = rp::db::baseCompartida();
    db.gServidor = QStringLiteral("sqlite");
    db.gDBName = QStringLiteral("EMPRESA_DEMO");
    db.gUsuario = QStringLiteral("demo");
    db.gUserPassWord = QStringLiteral("demo");
    db.OpenServerADODB(false, 3, QString(), false, false);
    if (!db.gOpenFlag) {
        std::fprintf(stderr, "rp_lookup_shots: cannot open the demo database\n");
        return 1;
    }
    int errores = 0;
    {
        rp::lookup::Lib_FrmCons3 f;
        f.SQL = QStringLiteral("SELECT TOP 1000 DESCRIPCION,IDARTICULO,Stock,PUNTOPEDIDO FROM "
                               "VT_MA_ARTICULOS  with(nolock)  WHERE SUSPENDIDO = 0 ORDER BY "
                               "DESCRIPCION");
        f.CampoDevuelto = QStringLiteral("idarticulo");
        f.MuestraStock = cfg(QStringLiteral("MostrarStockenConsultas"));
        f.StkNivel1 = cfg(QStringLiteral("Stk_Nivel1"));
        f.StkNivel2 = cfg(QStringLiteral("Stk_Nivel2"));
        f.StkNivel3 = cfg(QStringLiteral("Stk_Nivel3"));
        f.StkNivel4 = cfg(QStringLiteral("Stk_Nivel4"));
        f.cfg = cfg;
        f.Load();
        rp::lookup::VentanaConsulta v(f);
        v.resize(1000, 480);
        v.show();
        if (auto* caja = v.findChild<QLineEdit*>(QStringLiteral("CmbSearch_0")))
            caja->setText(QStringLiteral("Cla"));
        errores += !guardar(v, salida + QStringLiteral("/consulta-articulos.png"));
    }
    {
        rp::lookup::Lib_FrmCons3 f;
        f.SQL = QStringLiteral("SELECT TOP 1000 RAZON_SOCIAL,CODIGO FROM VT_PROVEEDORES  "
                               "with(nolock)  WHERE Dada_De_Baja = 0 ORDER BY RAZON_SOCIAL");
        f.CampoDevuelto = QStringLiteral("codigo");
        f.CfgUsaConsultaLIKE = true;
        f.Load();
        f.cambioBusqueda(0, QStringLiteral("S.A"));
        f.busquedaServidor(0);
        rp::lookup::VentanaConsulta v(f);
        v.resize(640, 360);
        errores += !guardar(v, salida + QStringLiteral("/consulta-filtrada.png"));
    }
    {
        rp::lookup::Lib_FrmCons3Tree a;
        a.SQL =
            QStringLiteral("SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS ORDER BY IDFAMILIA");
        a.CampoDevuelto = QStringLiteral("IDFAMILIA");
        a.Load();
        rp::lookup::VentanaConsultaArbol v(a);
        v.show();
        if (auto* caja = v.findChild<QLineEdit*>(QStringLiteral("CmbSearch_0")))
            caja->setText(QStringLiteral("0102"));
        errores += !guardar(v, salida + QStringLiteral("/consulta-familias.png"));
    }
    return errores == 0 ? 0 : 1;
}
