// Renders the report window on each of its tabs to PNG files:
//
//   QT_QPA_PLATFORM=offscreen rp_screens [FOLDER]
//
// writes FOLDER/tarifario-0.png .. tarifario-2.png and the saved filters'
// window, filtros.png (FOLDER defaults to "docs/screens"). The window shows the demo's price-class
// captions and the focus colour the configuration gives when it names none.
#include "report/ComandosFiltros.h"
#include "report/FormularioTarifario.h"
#include "report/widgets/VentanaFiltros.h"
#include "report/widgets/VentanaTarifario.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
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

    // The saved filters' window with three filters, one of them damaged.
    QTemporaryDir dir;
    rp::report::FiltrosGuardados filtros(dir.filePath(QStringLiteral("filtros")));
    QString error;
    rp::report::OpcionesFormulario o;
    o.campos = {{QStringLiteral("ListaDesde"), QStringLiteral("1")}};
    for (const char* nombre : {"Semana lista 1", "Proveedores 20010 a 20020", "Cierre de mes"})
        filtros.guardar(QString::fromUtf8(nombre), o, error);
    QFile danado(dir.filePath(QStringLiteral("filtros/Viejo.filtro")));
    if (danado.open(QIODevice::WriteOnly))
        danado.write("formato=1\npestana=dos\n");
    danado.close();
    rp::report::ListaFiltros lista(filtros);
    rp::report::VentanaFiltros ventanaFiltros(lista);
    ventanaFiltros.show();
    QApplication::processEvents();
    const QString archivo = QDir(carpeta).filePath(QStringLiteral("filtros.png"));
    if (!ventanaFiltros.grab().save(archivo)) {
        std::fprintf(stderr, "rp_screens: cannot write %s\n", qPrintable(archivo));
        ++errores;
    } else {
        std::printf("%s\n", qPrintable(archivo));
    }
    return errores == 0 ? 0 : 1;
}
