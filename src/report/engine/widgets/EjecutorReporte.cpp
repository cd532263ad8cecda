#include "report/engine/widgets/EjecutorReporte.h"

#include "report/engine/DialogoImpresion.h"
#include "report/engine/EscritorCsv.h"
#include "report/engine/EscritorXlsx.h"
#include "report/engine/IndicePaginas.h"
#include "report/engine/LectorPlantilla.h"
#include "report/engine/ReportePreparado.h"
#include "report/engine/widgets/SalidaImpresora.h"
#include "report/engine/widgets/SalidaPdf.h"
#include "report/engine/widgets/VentanaVistaPrevia.h"
#include "ui/Operador.h"

#include <QGuiApplication>
#include <QPrinterInfo>
#include <QScreen>

namespace rp::motor {

EjecutorReporte::Resultado EjecutorReporte::ejecutar(const SolicitudReporte& solicitud) {
    if (traza_)
        traza_(solicitud.texto());
    hojas_ = 0;
    if (solicitud.destino == Destino::Otro2 || solicitud.destino == Destino::Otro3)
        return Resultado::SinSalida;
    const QDateTime momento = momento_.isValid() ? momento_ : QDateTime::currentDateTime();
    std::shared_ptr<const ReportePreparado> rep = ReportePreparado::preparar(
        LectorPlantilla::leerArchivo(solicitud.plantilla), solicitud, momento);
    if (traza_) {
        // Pages are sorted by the template's group first; files are not.
        const bool archivo =
            solicitud.destino == Destino::Csv || solicitud.destino == Destino::Xlsx;
        traza_(QStringLiteral("sentencia del reporte: ") +
               (archivo ? rep->sentencia() : rep->sentenciaPaginas()));
    }

    switch (solicitud.destino) {
    case Destino::Pantalla: {
        auto* v = new VentanaVistaPrevia(rep, fuente_, operador_);
        v->setAttribute(Qt::WA_DeleteOnClose);
        ventana_ = v;
        if (detalle_) {
            QObject::connect(v, &VentanaVistaPrevia::detalleSolicitado, v,
                             [v, abrir = detalle_](const QString& clave) { abrir(*v, clave); });
        }
        // Sized to the screen before it is shown: maximised under a window
        // manager, and as large (and painted) on a bare X display.
        if (const QScreen* pantalla = QGuiApplication::primaryScreen())
            v->setGeometry(pantalla->availableGeometry());
        v->showMaximized();
        v->comenzar();
        return Resultado::Mostrado;
    }
    case Destino::Impresora: {
        // The page count first; then the pages are laid out as they are sent.
        IndicePaginas indice(*rep);
        indice.abrir(fuente_);
        indice.completar();
        OpcionesImpresion o;
        o.impresora = solicitud.impresora;
        o.copias = solicitud.copias;
        o.desdePagina = solicitud.desdePagina;
        o.hastaPagina = solicitud.hastaPagina;
        if (solicitud.conDialogo) {
            DialogoImpresion d;
            d.impresoras = QPrinterInfo::availablePrinterNames();
            d.impresora = o.impresora.isEmpty() ? QPrinterInfo::defaultPrinterName() : o.impresora;
            d.copias = o.copias;
            d.desdePagina = o.desdePagina;
            d.hastaPagina = o.hastaPagina;
            d.totalPaginas = indice.paginas();
            if (!operador_.dialogo(d))
                return Resultado::Cancelado;
            d.normalizar();
            o.impresora = d.impresora;
            o.copias = d.copias;
            o.desdePagina = d.desdePagina;
            o.hastaPagina = d.hastaPagina;
        }
        // A printer destination with a file name prints into that PDF file.
        o.archivoPdf = solicitud.archivoSalida;
        hojas_ = SalidaImpresora::imprimir(
            *rep, indice.paginas(),
            [&](int desde, int hasta, const std::function<bool(const PaginaReporte&)>& cada) {
                indice.recorrer(fuente_, desde, hasta, cada);
            },
            o);
        return Resultado::Impreso;
    }
    case Destino::Pdf:
        SalidaPdf::escribirArchivo(*rep, fuente_, solicitud.archivoSalida);
        return Resultado::Exportado;
    case Destino::Csv:
        EscritorCsv::escribirArchivo(*rep, fuente_, solicitud.archivoSalida);
        return Resultado::Exportado;
    case Destino::Xlsx:
        EscritorXlsx::escribirArchivo(*rep, fuente_, solicitud.archivoSalida);
        return Resultado::Exportado;
    default:
        return Resultado::SinSalida;
    }
}

} // namespace rp::motor
