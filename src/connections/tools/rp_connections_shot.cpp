// Writes a PNG of the connection dialog "Control de Acceso" with three
// registered connections, the second one picked. Usage:
// rp_connections_shot OUTPUT.png (any Qt platform, offscreen included).
#include "connections/GrabarBase.h"
#include "connections/frmAcceso.h"
#include "connections/widgets/VentanaAcceso.h"
#include "suite/Aplicacion.h"

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: rp_connections_shot OUTPUT.png\n");
        return 2;
    }
    QTemporaryDir carpeta;
    if (!carpeta.isValid()) {
        return 1;
    }
    using rp::connections::GrabarBase;
    rp::suite::Aplicacion::establecerCarpetaPrograma(carpeta.path());
    GrabarBase("VENTAS / SRV01\\QUIMERA", "Ventas", "Ventas", "Ventas", "srv01\\quimera", false);
    GrabarBase("STOCK / SRV02", "Stock", "Stock", "Stock", "srv02:1500", false);
    GrabarBase("ORCL / ORA01", "ORCL", "ORCL", "ORCL", "ora01", true);
    GrabarBase("DEMO / SQLITE", "demo", "demo", "demo", "sqlite", false);

    rp::connections::frmAcceso modelo;
    rp::connections::VentanaAcceso ventana(modelo);
    modelo.lstBases_Click(1);
    modelo.setTexto(rp::connections::frmAcceso::TxtUserId, QStringLiteral("operador"));
    modelo.setTexto(rp::connections::frmAcceso::TxtUserPassword, QStringLiteral("secreto"));
    ventana.show();
    QApplication::processEvents();
    if (!ventana.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "rp_connections_shot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
