#include "report/ExportarReporte.h"

#include "report/CamposFormulario.h"
#include "report/ComandosBarra.h"
#include "report/FormularioTarifario.h"
#include "startup/Configuracion.h"
#include "suite/Aplicacion.h"
#include "suite/DLL_Print.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <optional>
#include <sys/stat.h>
#include <utility>

namespace rp::report {

namespace {

void aviso(const QString& texto) {
    std::fprintf(stderr, "rp_tarifario: %s\n", texto.toLocal8Bit().constData());
    std::fflush(stderr);
}

// CSV to the standard output: the report goes to a private temporary file,
// which is copied out once it is whole.
int exportarASalidaEstandar(const OpcionesFormulario& opciones) {
    QTemporaryDir dir;
    if (!dir.isValid()) {
        aviso(QStringLiteral("no se puede crear una carpeta temporal para --export -"));
        return 1;
    }
    const QString ruta = dir.filePath(QStringLiteral("reporte.csv"));
    const int rc = ExportarReporte(ruta, opciones);
    if (rc != 0)
        return rc;
    QFile archivo(ruta);
    QFile salida;
    if (!archivo.open(QIODevice::ReadOnly) || !salida.open(stdout, QIODevice::WriteOnly)) {
        aviso(QStringLiteral("no se puede copiar el reporte a la salida estándar"));
        return 1;
    }
    while (!archivo.atEnd()) {
        const QByteArray bloque = archivo.read(1 << 16);
        if (bloque.isEmpty() || salida.write(bloque) != bloque.size()) {
            aviso(QStringLiteral("no se pudo escribir el reporte en la salida estándar"));
            return 1;
        }
    }
    if (!salida.flush()) {
        aviso(QStringLiteral("no se pudo escribir el reporte en la salida estándar"));
        return 1;
    }
    return 0;
}

} // namespace

int ExportarReporte(const QString& archivo, const OpcionesFormulario& opciones) {
    if (archivo == QLatin1String("-"))
        return exportarASalidaEstandar(opciones);
    const QString sufijo = QFileInfo(archivo).suffix().toLower();
    if (archivo.trimmed().isEmpty() ||
        (sufijo != QLatin1String("pdf") && sufijo != QLatin1String("csv") &&
         sufijo != QLatin1String("xlsx"))) {
        aviso(QStringLiteral("--export admite archivos .pdf, .csv o .xlsx: %1").arg(archivo));
        return 2;
    }
    const int tab = opciones.pestana.value_or(0);
    OpcionesFormulario conPestana = opciones;
    conPestana.pestana = tab;

    FormularioTarifario formulario;
    formulario.cargar([](const QString& clave) { return startup::Cfg(clave); });
    // The form is unloaded whatever way this export ends.
    struct Descarga {
        FormularioTarifario& f;
        ~Descarga() { f.descargar(); }
    } descarga{formulario};
    QString error;
    if (!AplicarOpcionesFormulario(formulario, conPestana, error)) {
        aviso(error);
        return 2;
    }

    // The engine writes the target through an unnamed temporary file that
    // replaces it in one rename when whole: a killed export leaves nothing
    // behind and the old report stays until the new one is complete. Whether
    // a new file arrived is told by its identity (a replaced file is a new one).
    auto identidad = [&archivo]() -> std::optional<std::pair<dev_t, ino_t>> {
        struct stat st {};
        if (::stat(QFile::encodeName(archivo).constData(), &st) != 0)
            return std::nullopt;
        return std::make_pair(st.st_dev, st.st_ino);
    };
    const auto antes = identidad();
    {
        ComandosBarra comandos(formulario);
        comandos.entorno().control.ArchivoExportacion = archivo;
        formulario.comandoBarra(QStringLiteral("PANTALLA"));
    }
    const auto despues = identidad();
    if (!despues || despues == antes) {
        aviso(
            QStringLiteral("no se generó el reporte de la pestaña %1 en %2").arg(tab).arg(archivo));
        return 1;
    }
    return 0;
}

int ExportarReporte(const QString& archivo, int tab, const QList<QPair<QString, QString>>& campos,
                    std::optional<QList<int>> columnas, std::optional<int> precio,
                    std::optional<int> orden) {
    OpcionesFormulario opciones;
    opciones.pestana = tab;
    opciones.campos = campos;
    opciones.columnas = columnas;
    if (precio)
        opciones.precios = {*precio};
    opciones.orden = orden;
    return ExportarReporte(archivo, opciones);
}

int ExportarConFiltro(const QString& archivo, const QString& filtro,
                      const OpcionesFormulario& opciones, FiltrosGuardados& filtros) {
    QString error;
    std::optional<OpcionesFormulario> guardado = filtros.leer(filtro, error);
    if (!guardado) {
        aviso(QStringLiteral("--preset: ") + error);
        return 2;
    }
    guardado->completarCon(opciones);
    return ExportarReporte(archivo, *guardado);
}

int GuardarFiltroDeOpciones(const QString& nombre, const OpcionesFormulario& opciones,
                            FiltrosGuardados& filtros) {
    FormularioTarifario formulario;
    QString error;
    if (!AplicarOpcionesFormulario(formulario, opciones, error) ||
        !filtros.guardar(nombre, opciones, error)) {
        aviso(QStringLiteral("--save-preset: ") + error);
        return 2;
    }
    return 0;
}

} // namespace rp::report
