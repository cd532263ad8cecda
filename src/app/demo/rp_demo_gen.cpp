// rp_demo_gen --scale demo|large --folder DIR [--seed N] [--templates DIR] [--checksum]
// Prepares a demo program folder (demo databases and report templates).
#include "app/demo/CarpetaDemo.h"
#include "app/demo/DemoDatos.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>

using namespace rp::demo;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The same names as the program, so the default demo folder is the same.
    QCoreApplication::setApplicationName(QStringLiteral("rp_tarifario"));
    QCoreApplication::setOrganizationName(QStringLiteral("rp_tarifario"));
    QTextStream out(stdout), err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prepara una carpeta de programa de demostración de rp_tarifario."));
    parser.addHelpOption();
    const QCommandLineOption escala(QStringLiteral("scale"),
                                    QStringLiteral("Tamaño de los datos: demo o large."),
                                    QStringLiteral("demo|large"), QStringLiteral("demo"));
    const QCommandLineOption carpeta(QStringLiteral("folder"),
                                     QStringLiteral("Carpeta a preparar."), QStringLiteral("DIR"));
    const QCommandLineOption semilla(QStringLiteral("seed"),
                                     QStringLiteral("Semilla de los datos (entero)."),
                                     QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption plantillas(QStringLiteral("templates"),
                                        QStringLiteral("Carpeta de las plantillas a copiar."),
                                        QStringLiteral("DIR"));
    const QCommandLineOption suma(QStringLiteral("checksum"),
                                  QStringLiteral("Muestra la suma de control de la base."));
    parser.addOptions({escala, carpeta, semilla, plantillas, suma});
    parser.process(app);

    bool ok = false;
    OpcionesDemo opciones = OpcionesDemo::escala(parser.value(escala), &ok);
    if (!ok) {
        err << "Escala desconocida: " << parser.value(escala) << " (demo o large)\n";
        return 2;
    }
    opciones.semilla = parser.value(semilla).toULongLong(&ok);
    if (!ok) {
        err << "Semilla incorrecta: " << parser.value(semilla) << "\n";
        return 2;
    }
    const QString destino =
        parser.isSet(carpeta) ? parser.value(carpeta) : CarpetaDemo::carpetaPorDefecto();

    CarpetaDemo demo(opciones);
    if (parser.isSet(plantillas))
        demo.setCarpetaPlantillas(parser.value(plantillas));
    QElapsedTimer reloj;
    reloj.start();
    if (!demo.prepararCarpetaDemo(destino)) {
        err << "Error: " << demo.error() << "\n";
        return 1;
    }
    const QDir d(destino);
    out << "Carpeta de demostración lista: " << QDir::cleanPath(d.absolutePath()) << "\n";
    if (demo.creados().isEmpty())
        out << "Nada que crear: los archivos ya existían.\n";
    for (const QString& f : demo.creados())
        out << "  creado " << f << "\n";
    out << "Tiempo: " << reloj.elapsed() << " ms\n";
    out << "Base de datos: Server \"sqlite\", Database \"" << CarpetaDemo::nombreBaseDeDatos()
        << "\", usuario \"" << CarpetaDemo::usuarioDemo() << "\"\n";
    if (parser.isSet(suma))
        out << "Suma de control: "
            << DemoDatos::sumaDeControl(d.filePath(CarpetaDemo::archivoEmpresa())) << "\n";
    return 0;
}
