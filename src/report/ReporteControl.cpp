#include "report/ReporteControl.h"

#include "db/DB_Dll.h"
#include "report/engine/EscritorCsv.h"
#include "report/engine/EscritorXlsx.h"
#include "report/engine/FuenteDatos.h"
#include "report/engine/LectorPlantilla.h"
#include "report/engine/ReportePreparado.h"

namespace rp::report {

namespace {

ReporteControl::Ejecutor& ejecutorInstalado() {
    static ReporteControl::Ejecutor ejecutor;
    return ejecutor;
}

// Without an installed engine: CSV and Excel files only.
void ejecutarSinMotor(const motor::SolicitudReporte& s) {
    if (s.destino != motor::Destino::Csv && s.destino != motor::Destino::Xlsx)
        throw ReporteControl::Fallo(ReporteControl::ErrorMotorReportes,
                                    QString::fromUtf8("No hay un motor de reportes instalado "
                                                      "para esta salida"));
    const auto reporte =
        motor::ReportePreparado::preparar(motor::LectorPlantilla::leerArchivo(s.plantilla), s);
    const motor::FuenteDatos fuente = motor::FuenteDatos::de(db::baseCompartida().conexion());
    if (s.destino == motor::Destino::Xlsx)
        motor::EscritorXlsx::escribirArchivo(*reporte, fuente, s.archivoSalida);
    else
        motor::EscritorCsv::escribirArchivo(*reporte, fuente, s.archivoSalida);
}

} // namespace

void ReporteControl::establecerEjecutor(Ejecutor ejecutor) {
    ejecutorInstalado() = std::move(ejecutor);
}

bool ReporteControl::hayEjecutor() {
    return static_cast<bool>(ejecutorInstalado());
}

void ReporteControl::Reset() {
    const QString exportacion = ArchivoExportacion;
    *this = ReporteControl();
    ArchivoExportacion = exportacion;
}

void ReporteControl::limpiar() {
    CopiesToPrinter = 1;
    WindowBorderStyle = 0;
    SelectionFormula.clear();
    for (QString& f : Formulas)
        f.clear();
    SortFields.clear();
    for (QString& p : ParameterFields)
        p.clear();
    FormulasAdicionales.clear();
    SubreportToChange.clear();
    WindowTitle.clear();
    ReportTitle.clear();
    PrintFileName.clear();
}

motor::SolicitudReporte ReporteControl::solicitud() const {
    motor::SolicitudReporte s;
    s.plantilla = ReportFileName;
    s.orden = SortFields;
    s.formula = SelectionFormula;
    s.cadenaConexion = Connect;
    for (int i = 0; i < 5; ++i) {
        if (!Formulas[i].trimmed().isEmpty())
            s.formulas[i] = Formulas[i];
    }
    s.subinformes = Subinformes;
    for (const QString& p : ParameterFields) {
        if (!p.trimmed().isEmpty())
            s.parametros << p;
    }
    for (const auto& f : FormulasAdicionales)
        s.textosPrecio << f.second;
    switch (Destination) {
    case 0: {
        const QString archivo = !PrintFileName.isEmpty() ? PrintFileName : ArchivoExportacion;
        if (archivo.isEmpty()) {
            s.destino = motor::Destino::Pantalla;
        } else {
            if (archivo.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
                s.destino = motor::Destino::Csv;
            else if (archivo.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
                s.destino = motor::Destino::Xlsx;
            else
                s.destino = motor::Destino::Pdf;
            s.archivoSalida = archivo;
        }
        break;
    }
    case 1:
        s.destino = motor::Destino::Impresora;
        // The print dialog's "Archivo PDF": the pages go into that file.
        s.archivoSalida = PrintFileName;
        break;
    case 2:
        s.destino = motor::Destino::Otro2;
        break;
    default:
        s.destino = motor::Destino::Otro3;
        break;
    }
    s.impresora = PrinterName;
    s.copias = CopiasMaximas > 0 ? std::min(CopiesToPrinter, CopiasMaximas) : CopiesToPrinter;
    if (s.copias < 1)
        s.copias = 1;
    s.desdePagina = PrinterStartPage;
    s.hastaPagina = PrinterStopPage;
    s.conDialogo = false;
    return s;
}

void ReporteControl::ejecutar() const {
    const motor::SolicitudReporte s = solicitud();
    const Ejecutor& e = ejecutorInstalado();
    if (e)
        e(s);
    else
        ejecutarSinMotor(s);
}

} // namespace rp::report
