// Renders the report window on each of its tabs to PNG files:
//
//   QT_QPA_PLATFORM=offscreen rp_screens [FOLDER]
//
// writes FOLDER/tarifario-0.png .. tarifario-2.png (FOLDER defaults to
// "docs/screens"). The window shows the demo's price-class captions and the
// focus colour the configuration gives when it names none.
#include "report/FormularioTarifario.h"
#include "report/VentanaTarifario.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QTabWidget>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication aplicacion(argc, argv);
    rp::report::VentanaTarifario::aplicarEstilo(aplicacion);
    const QStringList argumentos = QCoreApplication::arguments();
    const QString carpeta =
        argumentos.size() > 1 ? argumentos.at(1) : QStringLiteral("docs/screens");
    if (!QDir().mkpath(carpeta)) {
        std::fprintf(stderr, "rp_screens: cannot create %s\n", qPrintable(carpeta));
        return 1;
    }

    rp::report::FormularioTarifario modelo;
    // "CFondo" missing: the configuration's focus colour (16776960).
    modelo.establecerColoresFoco(16776960, 0);
    rp::report::VentanaTarifario ventana(modelo);
    modelo.cargar([](const QString& clave) {
        static const QStringList clases = {
            QStringLiteral("Minorista"),    QStringLiteral("Mayorista"),
            QStringLiteral("Distribuidor"), QStringLiteral("Gremio"),
            QStringLiteral("Contado"),      QStringLiteral("Tarjeta"),
            QStringLiteral("Especial"),     QStringLiteral("Exportación")};
        const int n = clave.mid(QStringLiteral("NOM_PCLASE").size()).toInt();
        return n >= 1 && n <= 8 ? clases.at(n - 1) : QStringLiteral(" ");
    });
    QCursor::setPos(5000, 5000); // no button under the pointer
    ventana.show();
    ventana.activateWindow();
    QApplication::processEvents();

    int errores = 0;
    for (int pestana = 0; pestana < ventana.pestanas()->count(); ++pestana) {
        ventana.pestanas()->setCurrentIndex(pestana);
        QApplication::processEvents();
        const QString archivo =
            QDir(carpeta).filePath(QStringLiteral("tarifario-%1.png").arg(pestana));
        if (!ventana.grab().save(archivo)) {
            std::fprintf(stderr, "rp_screens: cannot write %s\n", qPrintable(archivo));
            ++errores;
        } else {
            std::printf("%s\n", qPrintable(archivo));
        }
    }
    return errores == 0 ? 0 : 1;
}
