// bench_report: the report benchmarks (bench_informes.cpp,
// bench_ultimo_costo.cpp, bench_xlsx.cpp, bench_busqueda.cpp) on the large
// demo database. Widgets paint on the offscreen platform when no display is
// set.
#include "common/DatosBench.h"
#include "common/HerramientaSqlite.h"
#include "common/ResumenBench.h"
#include "suite/SistemaInfo.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    rp::suite::SistemaInfo::FijarZonaHoraria(); // as the program starts
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    using rp::bench::ResumenBench;
    const QString error = rp::bench::DatosBench::abrirBaseCompartida();
    QTextStream out(stdout);
    if (error.isEmpty())
        out << "Base: " << rp::bench::DatosBench::baseGrande()
            << "\nsqlite3: " << rp::bench::HerramientaSqlite::version() << "\n";
    out.flush();
    return ResumenBench::ejecutar(
        argc, argv, QStringLiteral("Reports (large scale)"),
        {{QStringLiteral("BM_Csv_Motor_Historial"), QStringLiteral("BM_Csv_Sqlite3Tool_Historial"),
          QStringLiteral("CSV export: engine against the sqlite3 tool")},
         {QStringLiteral("BM_Xlsx_Motor_Historial"), QStringLiteral("BM_Csv_Motor_Historial"),
          QStringLiteral("XLSX export against the CSV export of the same rows")},
         {QStringLiteral("BM_Pdf_Historial"), QStringLiteral("BM_Pdf_QPdfWriterSimple"),
          QStringLiteral("PDF: the report (rows read, laid out, painted) against a plain "
                         "QPdfWriter loop of the same page count, 50 rows x 16 cells")},
         {QStringLiteral("BM_Pdf_Historial"), QStringLiteral("BM_Pdf_HistorialMotorQt"),
          QStringLiteral("PDF: the direct writer against the same pages painted through "
                         "Qt's PDF engine")},
         {QStringLiteral("BM_UltimoCosto_Escaneo"), QStringLiteral("BM_UltimoCosto_UpdateConjunto"),
          QStringLiteral("Last-cost scan against one set-based UPDATE")}});
}
