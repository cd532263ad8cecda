// Writes a PNG of the progress banner as a long loop shows it, with its
// cancel button. Usage: rp_banner_shot OUTPUT.png (any Qt platform, offscreen
// included).
#include "banner/Dll_Display.h"
#include "banner/widgets/VentanaCartel.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: rp_banner_shot OUTPUT.png\n");
        return 2;
    }
    rp::banner::Dll_Display banner(rp::banner::VentanaCartel::fabrica());
    banner.CartelInicio(QStringLiteral("Calculando.."), true);
    bool cancelado = false;
    banner.CartelMostrar(cancelado, QStringLiteral("0000000000000000000004711"),
                         QStringLiteral("TORNILLO HEXAGONAL 8 X 40 ZINCADO"),
                         QStringLiteral("Artículo 1.283 de 4.500"));
    for (int i = 0; i < 4; ++i) {
        banner.ventana()->Timer1_Timer();
    }
    QApplication::processEvents();

    QWidget* ventana = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("Lbf_CtrlDisplay") && w->isVisible()) {
            ventana = w;
        }
    }
    if (ventana == nullptr || !ventana->grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "rp_banner_shot: cannot write %s\n", argv[1]);
        return 1;
    }
    banner.CartelCerrar();
    return 0;
}
