#include "report/Reporte.h"

#include "db/provider/ProviderError.h"
#include "report/ReportePasos.h"
#include "report/engine/DialogoImpresion.h"
#include "report/engine/LectorPlantilla.h"
#include "suite/DLL_Print.h"
#include "ui/Operador.h"

namespace rp::report {

namespace {

const QString kTitulo = QStringLiteral("Aviso al operador");
const QString kCancelado = QStringLiteral("El usuario ha cancelado el reporte");
const QString kCrLf = QStringLiteral("\r\n");

int errorReporte(const suite::CodErr& e) {
    return ui::operador().mensaje(QStringLiteral("Ha ocurrido el siguiente error: ") +
                                      QString::number(e.number) + QLatin1Char(' ') + e.description +
                                      QStringLiteral(" ContErr% = ") + QStringLiteral("0"),
                                  ui::estilo::Critical | ui::estilo::AbortRetryIgnore, kTitulo);
}

int errorEjecucion(const suite::CodErr& e) {
    return ui::operador().mensaje(
        QStringLiteral("Ha ocurrido el siguiente error: ") + QString::number(e.number) +
            QLatin1Char(' ') + e.description + QStringLiteral(" Nro Intero: ContErr% = ") +
            QStringLiteral("0") + kCrLf + QStringLiteral(" ORIGEN POSIBLE DEL ERROR: ") + kCrLf +
            QStringLiteral(" La Impresora no esta en Linea ") + kCrLf +
            QStringLiteral(" Falta Crear el Origen de Datos ODBC "),
        ui::estilo::Critical | ui::estilo::AbortRetryIgnore, kTitulo);
}

// A query that ran out of time is no printer or data-source fault: its box
// says what happened instead of the general list of possible causes.
int errorTiempoAgotado(const suite::CodErr& e) {
    return ui::operador().mensaje(
        QStringLiteral("Ha ocurrido el siguiente error: ") + QString::number(e.number) +
            QLatin1Char(' ') + e.description + kCrLf +
            QStringLiteral(" La consulta del reporte supero el tiempo de espera de la base de "
                           "datos (TimeOut). Acote el reporte con los filtros o reintente."),
        ui::estilo::Critical | ui::estilo::AbortRetryIgnore, kTitulo);
}

// The print dialog of the form's DialogoComun is the report engine's.
bool mostrarDialogoMotor(suite::DialogoComun& comun) {
    motor::DialogoImpresion d;
    d.impresora = comun.Impresora;
    d.copias = comun.Copias;
    d.desdePagina = comun.DesdePagina;
    d.hastaPagina = comun.HastaPagina;
    d.archivoPdf = comun.ArchivoImpresion;
    if (!ui::operador().dialogo(d))
        return false;
    d.normalizar();
    comun.Impresora = d.impresora;
    comun.Copias = d.copias;
    comun.DesdePagina = d.desdePagina;
    comun.HastaPagina = d.hastaPagina;
    comun.ArchivoImpresion = d.archivoPdf;
    return true;
}

void conectar(ReporteControl& control, const QString& cadena) {
    const DatosConexion d = DatosConexion::leer(cadena);
    control.Connect = cadena;
    control.DataSource = d.origen;
    control.UserName = d.usuario;
    control.Password = d.clave;
}

} // namespace

DatosConexion DatosConexion::leer(const QString& cadena) {
    DatosConexion d;
    const qsizetype pc = cadena.indexOf(QLatin1Char(';'));
    d.origen = pc < 0 ? cadena.mid(4) : cadena.mid(4, pc - 4);
    const qsizetype uid = cadena.indexOf(QLatin1String("; uid="), 0, Qt::CaseInsensitive);
    const qsizetype pwd = cadena.indexOf(QLatin1String("; pwd="), 0, Qt::CaseInsensitive);
    if (uid >= 0) {
        const qsizetype inicio = uid + 6;
        d.usuario = pwd > inicio ? cadena.mid(inicio, pwd - inicio) : cadena.mid(inicio);
    }
    if (pwd >= 0)
        d.clave = cadena.mid(pwd + 6);
    return d;
}

namespace {

void avisoSinCarpeta() {
    ui::operador().mensaje(
        QStringLiteral("Se debe informar la Variable pPathSistema$ del Control DLL_Print"),
        ui::estilo::Critical | ui::estilo::OKOnly, kTitulo);
}

QString archivoReporte(QString carpeta, const QString& NombreRep) {
    if (NombreRep.contains(QLatin1Char('/')) || NombreRep.contains(QLatin1Char('\\')))
        return NombreRep;
    if (!carpeta.endsWith(QLatin1Char('/')) && !carpeta.endsWith(QLatin1Char('\\')))
        carpeta += QLatin1Char('/');
    return carpeta + NombreRep + QStringLiteral(".rpt");
}

} // namespace

bool ComprobarReporte(const QString& NombreRep) {
    const QString carpeta = suite::dllPrint().pPathSistema;
    if (carpeta.trimmed().isEmpty()) {
        avisoSinCarpeta();
        return false;
    }
    motor::LectorPlantilla::leerArchivo(archivoReporte(carpeta, NombreRep));
    return true;
}

void Reporte(ReporteControl& control, suite::DialogoComun& dialogo, const QString& NombreRep,
             const QStringList& Orden, const QString& Formula, const QString& gConnString,
             const TitulosReporte& Titulos, const QString& SR1, const QString& SR2,
             const QString& SR3) {
    QString carpeta;
    ReportePasos paso(errorReporte);
    if (!paso([&] { carpeta = suite::dllPrint().pPathSistema; }))
        return;
    if (carpeta.trimmed().isEmpty()) {
        avisoSinCarpeta();
        return;
    }
    const QList<std::function<void()>> pasos = {
        [&] {
            if (!carpeta.endsWith(QLatin1Char('/')) && !carpeta.endsWith(QLatin1Char('\\')))
                carpeta += QLatin1Char('/');
        },
        [&] {
            if (!gConnString.trimmed().isEmpty())
                conectar(control, gConnString);
        },
        [&] { control.ReportFileName = archivoReporte(carpeta, NombreRep); },
        [&] { control.SelectionFormula = Formula; },
        [&] {
            for (int k = 0; k < 5; ++k) {
                if (Titulos[k])
                    control.Formulas[k] = *Titulos[k];
            }
        },
        [&] {
            control.SortFields.clear();
            for (const QString& o : Orden)
                control.SortFields << o;
        },
        [&] {
            const std::array<QString, 3> sr = {SR1, SR2, SR3};
            for (int i = 0; i < 3; ++i) {
                if (sr[i].trimmed().isEmpty())
                    continue;
                control.SubreportToChange = sr[i];
                control.Subinformes[i] = sr[i];
            }
        },
        [&] { control.SubreportToChange.clear(); },
        [&] { EjecutarReporte(control, dialogo); },
    };
    for (const auto& p : pasos) {
        if (!paso(p))
            return;
    }
}

void EjecutarReporte(ReporteControl& control, suite::DialogoComun& dialogo) {
    static const bool dialogoInstalado = [] {
        suite::DialogoComun::establecerMostradorImpresora(mostrarDialogoMotor);
        return true;
    }();
    (void)dialogoInstalado;
    int destino = 0;
    bool conDialogo = false;
    bool limpiar = true;
    bool fin = false;
    // Cancellation by the operator (error 20000) goes to the clearing after
    // its message; a cancelled print dialog raised elsewhere (32755) goes to
    // the clearing silently; other failures ask.
    auto informe = [&](const suite::CodErr& e) {
        if (e.number == ReporteControl::ErrorCancelado) {
            ui::operador().mensaje(kCancelado, ui::estilo::Information, kTitulo);
            fin = true;
            return int(ui::vbAbort);
        }
        if (e.number == suite::DialogoComun::ErrorCancelado) {
            fin = true;
            return int(ui::vbAbort);
        }
        const int r = e.number == db::errc::Timeout ? errorTiempoAgotado(e) : errorEjecucion(e);
        if (r != ui::vbRetry && r != ui::vbIgnore)
            limpiar = false;
        return r;
    };
    ReportePasos paso(informe);

    QList<std::function<void()>> pasos = {
        [&] {
            destino = suite::dllPrint().Destino;
            conDialogo = suite::dllPrint().ConDialogo;
            dialogo.ErrorAlCancelar = true;
            control.Destination = destino;
        },
    };
    pasos << [&] {
        if (destino == suite::DLL_Print::DestinoImpresora) {
            if (conDialogo) {
                try {
                    dialogo.MostrarImpresora();
                } catch (const suite::CodErr& e) {
                    if (e.number != suite::DialogoComun::ErrorCancelado)
                        throw;
                }
                if (dialogo.UsuarioCancelo) {
                    ui::operador().mensaje(kCancelado, ui::estilo::Information, kTitulo);
                    fin = true;
                    limpiar = false;
                    return;
                }
                control.CopiesToPrinter = dialogo.Copias;
            }
            control.PrinterStartPage = dialogo.DesdePagina;
            control.PrinterStopPage = dialogo.HastaPagina;
            control.PrinterName = dialogo.Impresora;
            control.PrintFileName = dialogo.ArchivoImpresion;
            control.ejecutar();
        } else if (destino == suite::DLL_Print::DestinoPantalla) {
            control.WindowBorderStyle = 0;
            control.WindowState = 2;
            control.ejecutar();
        }
    };
    for (const auto& p : pasos) {
        if (fin || !paso(p))
            break;
    }
    if (limpiar)
        control.limpiar();
}

} // namespace rp::report
