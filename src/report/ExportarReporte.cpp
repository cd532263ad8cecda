#include "report/ExportarReporte.h"

#include "report/CamposFormulario.h"
#include "report/ComandosBarra.h"
#include "report/FormularioTarifario.h"
#include "startup/Configuracion.h"
#include "suite/Aplicacion.h"
#include "suite/DLL_Print.h"

#include <QFile>
#include <QFileInfo>
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

} // namespace

int ExportarReporte(const QString& archivo, int tab, const QList<QPair<QString, QString>>& campos,
                    std::optional<QList<int>> columnas, std::optional<int> precio,
                    std::optional<int> orden) {
    const QString sufijo = QFileInfo(archivo).suffix().toLower();
    if (archivo.trimmed().isEmpty() ||
        (sufijo != QLatin1String("pdf") && sufijo != QLatin1String("csv"))) {
        aviso(QStringLiteral("--export admite archivos .pdf o .csv: %1").arg(archivo));
        return 2;
    }
    if (tab < 0 || tab >= CamposFormulario::CantidadPestanas) {
        aviso(QStringLiteral("--tab debe ser 0, 1 o 2: %1").arg(tab));
        return 2;
    }

    FormularioTarifario formulario;
    formulario.cargar([](const QString& clave) { return startup::Cfg(clave); });
    // The form is unloaded whatever way this export ends.
    struct Descarga {
        FormularioTarifario& f;
        ~Descarga() { f.descargar(); }
    } descarga{formulario};
    for (const auto& [clave, valor] : campos) {
        const int indice = formulario.IndiceControl(clave);
        if (indice < 0) {
            aviso(QStringLiteral("--field: el formulario no tiene el campo %1").arg(clave));
            return 2;
        }
        if (valor.size() > formulario.longitudMaxima(indice)) {
            aviso(QStringLiteral("--field: %1 admite %2 caracteres")
                      .arg(clave)
                      .arg(formulario.longitudMaxima(indice)));
            return 2;
        }
        formulario.setTexto(indice, valor);
    }
    if (columnas) {
        for (int c : *columnas) {
            if (c < 0 || c >= CamposFormulario::CantidadChkFiltro) {
                aviso(QStringLiteral("--columns: no hay columna %1 (0 a 9)").arg(c));
                return 2;
            }
        }
        for (int i = 0; i < CamposFormulario::CantidadChkFiltro; ++i)
            formulario.setChkFiltro(i, columnas->contains(i));
    }
    if (precio) {
        if (*precio < 0 || *precio >= CamposFormulario::CantidadOptPrecios) {
            aviso(QStringLiteral("--price: no hay opción %1 (0 a 17)").arg(*precio));
            return 2;
        }
        formulario.setOptPrecios(*precio);
    }
    if (orden) {
        if (*orden < 0 || *orden >= CamposFormulario::CantidadOptOrden) {
            aviso(QStringLiteral("--order: no hay opción %1 (0 a 8)").arg(*orden));
            return 2;
        }
        formulario.setOptOrden(*orden);
    }
    formulario.setPestana(tab);

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

} // namespace rp::report
