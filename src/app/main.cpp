#include "app/MotorReportes.h"
#include "app/OpcionesPrograma.h"
#include "app/Programa.h"
#include "app/VentanaPrograma.h"
#include "report/ExportarReporte.h"
#include "ui/Operador.h"
#include "ui/OperadorLote.h"
#include "ui/OperadorQt.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <memory>

int main(int argc, char* argv[]) {
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

    const bool exporta = !opciones->exportar.isEmpty();
    const bool sinVentanas = opciones->lote || opciones->consulta || exporta;
    // Reports are painted even without a display: exports draw offscreen.
    if (sinVentanas && exporta) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
            qputenv("XDG_RUNTIME_DIR", QDir::tempPath().toLocal8Bit() + "/rp_tarifario-runtime");
    }

    std::unique_ptr<QCoreApplication> app;
    std::unique_ptr<rp::ui::Operador> operador;
    std::unique_ptr<rp::app::VentanaPrograma> ventanas;
    if (sinVentanas && !exporta) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        app = std::make_unique<QApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("rp_tarifario"));
    QCoreApplication::setOrganizationName(QStringLiteral("rp_tarifario"));
    QCoreApplication::setApplicationVersion(QStringLiteral(RP_VERSION));
    if (sinVentanas) {
        operador = std::make_unique<rp::ui::OperadorLote>();
    } else {
        auto qt = std::make_unique<rp::ui::OperadorQt>();
        ventanas =
            std::make_unique<rp::app::VentanaPrograma>(static_cast<QApplication&>(*app), *qt);
        operador = std::move(qt);
    }
    rp::ui::setOperador(operador.get());
    if (!(sinVentanas && !exporta))
        rp::app::instalarMotorReportes();

    rp::app::Programa programa;
    if (ventanas)
        programa.abrirVentana = [&] { return ventanas->ejecutar(); };
    programa.exportar = [](const rp::app::OpcionesPrograma& o) {
        return rp::report::ExportarReporte(o.exportar, o.pestana.value_or(0), o.campos, o.columnas,
                                           o.precio, o.orden);
    };
    const int estado = programa.ejecutar(*opciones);
    rp::ui::setOperador(nullptr);
    return estado;
}
