#include "startup/NombreReporte.h"

#include "db/DB_Dll.h"
#include "db/TextoVb.h"
#include "startup/AvisoError.h"
#include "startup/Configuracion.h"
#include "suite/Aplicacion.h"
#include "suite/PasosReintento.h"
#include "suite/SistemaInfo.h"
#include "suite/Utilidades.h"
#include "ui/Operador.h"

#include <QFile>
#include <functional>

namespace rp::startup {

using db::DB_Dll;
using db::DbError;
using db::Recordset;
using db::TextoVb;
using suite::Utilidades;

namespace {

const QString kRutina = QStringLiteral("NombreReporte$");

QString carpeta() {
    return suite::Aplicacion::carpetaPrograma();
}

// Runs one step of NombreReporte under the error report: false when the
// operator gave up (the operation then ends).
bool paso(const std::function<void()>& cuerpo) {
    static const auto traduccion = [](std::exception_ptr excepcion) {
        try {
            std::rethrow_exception(excepcion);
        } catch (const DbError& e) {
            return suite::CodErr{e.number(), e.description(), e.source()};
        } catch (...) {
            return suite::PasosReintento::errorDe(std::current_exception());
        }
    };
    suite::PasosReintento pasos(
        [](const suite::CodErr& error) { return AvisoError(error, std::nullopt, kRutina); },
        traduccion);
    return pasos(cuerpo);
}

// A step of VerificaReporte: failures are skipped silently.
void sinFallar(const std::function<void()>& cuerpo) {
    try {
        cuerpo();
    } catch (...) {
    }
}

bool hayFila(const Recordset& rs) {
    return rs.isOpen() && !rs.eof();
}

QString columna(const Recordset& rs, const QString& nombre) {
    return Utilidades::TextoDeValor(rs.value(nombre));
}

// The "Compras" test of the document kinds: the purchases template when the
// kind's SISTEMA is "Compras".
QString plantillaCompras(const QString& codigo) {
    const QString sistema =
        db::baseCompartida()
            .DatosTabla(QStringLiteral("V_TA_CPTE"), codigo, QStringLiteral("SISTEMA"),
                        QStringLiteral("Codigo"), 8, QString(), true, false)
            .toString();
    if (sistema.compare(QLatin1String("Compras"), Qt::CaseInsensitive) == 0)
        return carpeta() + QStringLiteral("CpteCompras.RPT");
    return QString();
}

} // namespace

bool ExisteArchivo(const QString& Ruta) {
    QString ruta = Ruta;
    ruta.remove(QLatin1Char('"'));
    if (ruta.isEmpty())
        return false;
    QFile f(ruta);
    const bool abierto = f.open(QIODevice::ReadOnly);
    if (abierto)
        f.close();
    return abierto;
}

QString VerificaReporte(QString& Archivo, const QString& Reporte) {
    const QString folder = carpeta();
    if (Archivo.isEmpty()) {
        sinFallar([&] { Archivo = folder + Reporte + QStringLiteral(".rpt"); });
        sinFallar([&] {
            if (ExisteArchivo(Archivo))
                return;
            const qsizetype n = Reporte.size();
            int largo = 0;
            if (n == 4 && Reporte.at(2) == QLatin1Char('-'))
                largo = 2;
            else if (n == 5 && Reporte.at(3) == QLatin1Char('-'))
                largo = 3;
            else if (n == 6 && Reporte.at(4) == QLatin1Char('-'))
                largo = 4;
            if (largo > 0) {
                Archivo = folder + Reporte.left(largo) + QStringLiteral(".RPT");
                if (!ExisteArchivo(Archivo))
                    Archivo.clear();
            } else {
                Archivo.clear();
                Archivo = plantillaCompras(Reporte);
            }
            if (Archivo.isEmpty()) {
                const qsizetype guion = Reporte.indexOf(QLatin1Char('-'));
                Archivo = plantillaCompras(guion < 0 ? Reporte : Reporte.left(guion));
            }
        });
    }
    sinFallar([&] {
        if (!Archivo.trimmed().endsWith(QLatin1String(".RPT"), Qt::CaseInsensitive))
            Archivo = folder + Archivo + QStringLiteral(".rpt");
    });
    sinFallar([&] {
        if (ExisteArchivo(Archivo))
            return;
        ui::operador().mensaje(
            QStringLiteral("No se encuentra el Archivo ") + Archivo + QStringLiteral(" (") +
                Reporte + QStringLiteral(")") +
                QString::fromUtf8(" por favor verifique la configuración "
                                  "de Reportes") +
                QStringLiteral("\r\n") + QStringLiteral(" Se tomara en su lugar el formulario ") +
                folder + Reporte + QStringLiteral(".rpt"),
            ui::estilo::Critical | ui::estilo::OKOnly, QStringLiteral("Aviso al Operador"));
        Archivo = folder + Reporte + QStringLiteral(".rpt");
    });
    return Archivo;
}

QString NombreReporte(const QString& Reporte, const QString& Opcion, ArchivosReporte* Archivos,
                      const QString& IdComprobante) {
    DB_Dll& db = db::baseCompartida();
    QString resultado;
    QString nombre;
    QString tipo;
    bool electronico = false;
    Recordset rs;

    auto verificar = [&](const QString& valor) {
        QString a = valor;
        return VerificaReporte(a, Reporte);
    };
    // Row of 4.1: every column taken as it stands.
    auto usarFila = [&] {
        resultado = verificar(columna(rs, QStringLiteral("Archivo")));
        if (Archivos) {
            (*Archivos)[0] = verificar(columna(rs, QStringLiteral("Archivo")));
            (*Archivos)[1] = verificar(columna(rs, QStringLiteral("Archivo2")));
            (*Archivos)[2] = verificar(columna(rs, QStringLiteral("Archivo3")));
            (*Archivos)[3] = verificar(columna(rs, QStringLiteral("Archivo4")));
        }
    };
    auto abrir = [&](const QString& clave) {
        QString sql = QStringLiteral("SELECT * FROM TA_REPORTES  with(nolock)  WHERE NOMBRE = '") +
                      TextoVb::duplicarApostrofes(clave.trimmed()) + QStringLiteral("'");
        db.AbrirRecordset(sql, rs);
    };
    auto cerrar = [&] {
        if (rs.isOpen())
            db.CierraRecordset(rs);
    };

    // 1. The requested name and its document type.
    nombre = Reporte;
    const qsizetype guion = Reporte.indexOf(QLatin1Char('-'));
    tipo = guion < 0 ? QString() : Reporte.left(guion);

    // 2. Electronic documents.
    if (!paso([&] {
            electronico = db.ExisteEnTabla(
                QStringLiteral("V_MV_CPTE_ELECTRONICOS"), tipo, QStringLiteral("TC"), nullptr, 8,
                QStringLiteral(" TC='") + TextoVb::duplicarApostrofes(tipo) +
                    QStringLiteral("' AND IDCOMPROBANTE='") +
                    TextoVb::duplicarApostrofes(IdComprobante.trimmed()) + QStringLiteral("'"),
                true);
        }))
        return resultado;

    // 3. The workstation-and-user row first.
    if (Opcion.trimmed().isEmpty())
        nombre = suite::SistemaInfo::NombrePc() + QLatin1Char('|') +
                 suite::SistemaInfo::NombreUsuarioPc() + QLatin1Char('|') + nombre;

    // 4. TA_REPORTES.
    bool seguir = paso([&] {
        abrir(nombre);
        if (hayFila(rs)) {
            usarFila();
            return;
        }
        abrir(Reporte);
        if (hayFila(rs)) {
            resultado = verificar(columna(rs, QStringLiteral("Archivo")));
            if (Archivos) {
                (*Archivos)[0] = verificar(columna(rs, QStringLiteral("Archivo")));
                const QStringList otras = {QStringLiteral("Archivo2"), QStringLiteral("Archivo3"),
                                           QStringLiteral("Archivo4")};
                for (int i = 1; i < 4; ++i) {
                    const QString v = columna(rs, otras.at(i - 1));
                    (*Archivos)[i] = v.isEmpty() ? (*Archivos)[i - 1] : verificar(v);
                }
            }
            return;
        }
        if (Reporte.compare(QLatin1String("LiqOpg"), Qt::CaseInsensitive) == 0) {
            QString sql = QStringLiteral("SELECT * FROM TA_REPORTES  with(nolock)  WHERE NOMBRE = "
                                         "'OPG-X' OR NOMBRE = 'PG-X' ");
            db.AbrirRecordset(sql, rs);
            if (hayFila(rs)) {
                usarFila();
                return;
            }
        }
        resultado = verificar(QString());
        if (Archivos) {
            for (QString& a : *Archivos)
                a = verificar(QString());
        }
    });
    if (!seguir) {
        cerrar();
        return resultado;
    }

    // 5. Delivery documents with their own unit of business.
    if (tipo.trimmed() == QLatin1String("RM") &&
        IdComprobante.endsWith(QLatin1Char('R'), Qt::CaseInsensitive)) {
        QString unegocio;
        seguir = paso([&] {
            unegocio =
                db.DatosTabla(QStringLiteral("V_MV_CPTE"), IdComprobante,
                              QStringLiteral("UNEGOCIO"), QStringLiteral("IDCOMPROBANTE"), 8,
                              QStringLiteral(" TC='RM' AND IDCOMPROBANTE='") +
                                  TextoVb::duplicarApostrofes(IdComprobante) + QStringLiteral("'"),
                              true, false)
                    .toString()
                    .trimmed();
        });
        if (seguir && !unegocio.isEmpty()) {
            seguir = paso([&] {
                Recordset un;
                QString sql = QStringLiteral("SELECT * FROM V_TA_UNIDADNEGOCIO WHERE CODIGO='") +
                              TextoVb::duplicarApostrofes(Utilidades::FormatoCodigo(unegocio, 4)) +
                              QStringLiteral("'");
                db.AbrirRecordset(sql, un);
                const QString ruta =
                    hayFila(un) ? columna(un, QStringLiteral("ruta_reporte")).trimmed() : QString();
                if (un.isOpen())
                    db.CierraRecordset(un);
                if (!ruta.isEmpty()) {
                    const QString archivo =
                        Utilidades::RutaConBarra(ruta) + QStringLiteral("RM-R.rpt");
                    if (ExisteArchivo(archivo) && Archivos)
                        Archivos->fill(archivo);
                    return;
                }
                const QString efactura = Cfg(QStringLiteral("RUTA_FORMULARIOS_EFACTURA")).trimmed();
                if (efactura.isEmpty())
                    return;
                const QString archivo =
                    Utilidades::RutaConBarra(efactura) + QStringLiteral("RM-R.rpt");
                if (ExisteArchivo(archivo)) {
                    resultado = archivo;
                    if (Archivos)
                        Archivos->fill(archivo);
                }
            });
        }
        if (!seguir) {
            cerrar();
            return resultado;
        }
    }

    // 6. Electronic documents: the unit of business's folder or the common one.
    if (electronico) {
        seguir = paso([&] {
            QString folder;
            if (!IdComprobante.trimmed().isEmpty()) {
                Recordset un;
                QString sql =
                    QStringLiteral("SELECT * FROM V_TA_UNIDADNEGOCIO WHERE LTRIM(PDV)='") +
                    TextoVb::duplicarApostrofes(IdComprobante.left(4).trimmed()) +
                    QStringLiteral("'");
                db.AbrirRecordset(sql, un);
                if (hayFila(un)) {
                    const QVariant usa = un.value(QStringLiteral("usaefc"));
                    const QString usaTexto = Utilidades::TextoDeValor(usa).trimmed();
                    const bool activo =
                        usaTexto == QLatin1String("1") ||
                        usaTexto.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                        usaTexto.compare(QLatin1String("Verdadero"), Qt::CaseInsensitive) == 0;
                    const QString ruta = columna(un, QStringLiteral("ruta_reporte")).trimmed();
                    if (activo && !ruta.isEmpty())
                        folder = ruta;
                }
                if (un.isOpen())
                    db.CierraRecordset(un);
            }
            if (folder.isEmpty())
                folder = Cfg(QStringLiteral("RUTA_FORMULARIOS_EFACTURA")).trimmed();
            if (!folder.isEmpty()) {
                resultado = verificar(Utilidades::RutaConBarra(folder) + QStringLiteral("e") +
                                      Reporte + QStringLiteral(".RPT"));
                if (Archivos)
                    Archivos->fill(resultado);
            }
        });
    }

    // 7.
    cerrar();
    return resultado;
}

} // namespace rp::startup
