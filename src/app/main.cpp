#include "app/OpcionesPrograma.h"
#include "app/Programa.h"
#include "ui/Operador.h"
#include "ui/OperadorLote.h"
#include "ui/OperadorQt.h"

#include <QApplication>
#include <QCoreApplication>
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

    const bool sinVentanas = opciones->lote || opciones->consulta || !opciones->exportar.isEmpty();
    std::unique_ptr<QCoreApplication> app;
    std::unique_ptr<rp::ui::Operador> operador;
    if (sinVentanas) {
        app = std::make_unique<QCoreApplication>(argc, argv);
        operador = std::make_unique<rp::ui::OperadorLote>();
    } else {
        app = std::make_unique<QApplication>(argc, argv);
        operador = std::make_unique<rp::ui::OperadorQt>();
    }
    QCoreApplication::setApplicationName(QStringLiteral("rp_tarifario"));
    QCoreApplication::setOrganizationName(QStringLiteral("rp_tarifario"));
    rp::ui::setOperador(operador.get());

    rp::app::Programa programa;
    const int estado = programa.ejecutar(*opciones);
    rp::ui::setOperador(nullptr);
    return estado;
}
