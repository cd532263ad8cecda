#include "app/Ensamblaje.h"
#include "app/OpcionesPrograma.h"
#include "suite/SistemaInfo.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    rp::suite::SistemaInfo::FijarZonaHoraria();
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QString error;
    const auto opciones = rp::app::OpcionesPrograma::leer(args, error);
    if (!opciones) {
        std::fprintf(stderr, "rp_tarifario: %s\nPruebe 'rp_tarifario --help'.\n",
                     error.toLocal8Bit().constData());
        return 2;
    }
    if (opciones->ayuda) {
        std::fputs(rp::app::OpcionesPrograma::textoAyuda().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (opciones->version) {
        std::printf("rp_tarifario %s\n", RP_VERSION);
        return 0;
    }

    const auto aplicacion = rp::app::Ensamblaje::crearAplicacion(*opciones, argc, argv);
    rp::app::Ensamblaje programa(*opciones);
    if (const auto estado = programa.arrancar())
        return *estado;
    return aplicacion->exec();
}
