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

// The resolution of one NombreReporte call: the report asked for, what has
// been resolved so far and the record set of TA_REPORTES. Each step is one
// routine; NombreReporte runs them in order under the error report.
class Resolucion {
public:
    Resolucion(const QString& reporte, const QString& idComprobante, ArchivosReporte* archivos)
        : reporte_(reporte), idComprobante_(idComprobante), archivos_(archivos),
          db_(db::baseCompartida()) {}

    const QString& resultado() const { return resultado_; }

    // The document type: what comes before the first "-" of the name.
    QString tipoDocumento() const {
        const qsizetype guion = reporte_.indexOf(QLatin1Char('-'));
        return guion < 0 ? QString() : reporte_.left(guion);
    }

    // Whether the document is an electronic one.
    bool esElectronico(const QString& tipo) {
        return db_.ExisteEnTabla(
            QStringLiteral("V_MV_CPTE_ELECTRONICOS"), tipo, QStringLiteral("TC"), nullptr, 8,
            QStringLiteral(" TC='") + TextoVb::duplicarApostrofes(tipo) +
                QStringLiteral("' AND IDCOMPROBANTE='") +
                TextoVb::duplicarApostrofes(idComprobante_.trimmed()) + QStringLiteral("'"),
            true);
    }

    // The templates of TA_REPORTES: the row of `clave` (workstation and
    // user, or the plain name) with every column as it stands; else the
    // plain row, whose blank copies repeat the copy before; else, for
    // "LiqOpg", the payment-order row; else the fallbacks.
    void plantillasDeTabla(const QString& clave) {
        abrir(clave);
        if (hayFila(rs_)) {
            usarFila();
            return;
        }
        abrir(reporte_);
        if (hayFila(rs_)) {
            usarFilaComun();
            return;
        }
        if (reporte_.compare(QLatin1String("LiqOpg"), Qt::CaseInsensitive) == 0) {
            QString sql = QStringLiteral("SELECT * FROM TA_REPORTES  with(nolock)  WHERE NOMBRE = "
                                         "'OPG-X' OR NOMBRE = 'PG-X' ");
            db_.AbrirRecordset(sql, rs_);
            if (hayFila(rs_)) {
                usarFila();
                return;
            }
        }
        resultado_ = verificar(QString());
        if (archivos_) {
            for (QString& a : *archivos_)
                a = verificar(QString());
        }
    }

    // Delivery documents ("RM-..", identifier ending in "R") may have their
    // own unit of business.
    bool esRemitoConUnidad(const QString& tipo) const {
        return tipo.trimmed() == QLatin1String("RM") &&
               idComprobante_.endsWith(QLatin1Char('R'), Qt::CaseInsensitive);
    }

    // The unit of business of the delivery document.
    QString unidadDelRemito() {
        return db_
            .DatosTabla(QStringLiteral("V_MV_CPTE"), idComprobante_, QStringLiteral("UNEGOCIO"),
                        QStringLiteral("IDCOMPROBANTE"), 8,
                        QStringLiteral(" TC='RM' AND IDCOMPROBANTE='") +
                            TextoVb::duplicarApostrofes(idComprobante_) + QStringLiteral("'"),
                        true, false)
            .toString()
            .trimmed();
    }

    // The delivery template of the unit's report folder (every copy, when it
    // is there); without a folder, the electronic-forms folder's one.
    void plantillaRemitoDeUnidad(const QString& unegocio) {
        Recordset un;
        QString sql = QStringLiteral("SELECT * FROM V_TA_UNIDADNEGOCIO WHERE CODIGO='") +
                      TextoVb::duplicarApostrofes(Utilidades::FormatoCodigo(unegocio, 4)) +
                      QStringLiteral("'");
        db_.AbrirRecordset(sql, un);
        const QString ruta =
            hayFila(un) ? columna(un, QStringLiteral("ruta_reporte")).trimmed() : QString();
        if (un.isOpen())
            db_.CierraRecordset(un);
        if (!ruta.isEmpty()) {
            const QString archivo = Utilidades::RutaConBarra(ruta) + QStringLiteral("RM-R.rpt");
            if (ExisteArchivo(archivo) && archivos_)
                archivos_->fill(archivo);
            return;
        }
        const QString efactura = Cfg(QStringLiteral("RUTA_FORMULARIOS_EFACTURA")).trimmed();
        if (efactura.isEmpty())
            return;
        const QString archivo = Utilidades::RutaConBarra(efactura) + QStringLiteral("RM-R.rpt");
        if (ExisteArchivo(archivo)) {
            resultado_ = archivo;
            if (archivos_)
                archivos_->fill(archivo);
        }
    }

    // Electronic documents: "e" + name + ".RPT" in the folder of the point of
    // sale's unit of business (when it issues electronic documents) or in
    // the common electronic-forms folder.
    void plantillaElectronica() {
        QString folder = carpetaElectronicaDeUnidad();
        if (folder.isEmpty())
            folder = Cfg(QStringLiteral("RUTA_FORMULARIOS_EFACTURA")).trimmed();
        if (folder.isEmpty())
            return;
        resultado_ = verificar(Utilidades::RutaConBarra(folder) + QStringLiteral("e") + reporte_ +
                               QStringLiteral(".RPT"));
        if (archivos_)
            archivos_->fill(resultado_);
    }

    void cerrar() {
        if (rs_.isOpen())
            db_.CierraRecordset(rs_);
    }

private:
    QString verificar(const QString& valor) const {
        QString a = valor;
        return VerificaReporte(a, reporte_);
    }

    void abrir(const QString& clave) {
        QString sql = QStringLiteral("SELECT * FROM TA_REPORTES  with(nolock)  WHERE NOMBRE = '") +
                      TextoVb::duplicarApostrofes(clave.trimmed()) + QStringLiteral("'");
        db_.AbrirRecordset(sql, rs_);
    }

    // A row with every column taken as it stands.
    void usarFila() {
        resultado_ = verificar(columna(rs_, QStringLiteral("Archivo")));
        if (archivos_) {
            (*archivos_)[0] = verificar(columna(rs_, QStringLiteral("Archivo")));
            (*archivos_)[1] = verificar(columna(rs_, QStringLiteral("Archivo2")));
            (*archivos_)[2] = verificar(columna(rs_, QStringLiteral("Archivo3")));
            (*archivos_)[3] = verificar(columna(rs_, QStringLiteral("Archivo4")));
        }
    }

    // The plain row: a blank copy repeats the copy before it.
    void usarFilaComun() {
        resultado_ = verificar(columna(rs_, QStringLiteral("Archivo")));
        if (!archivos_)
            return;
        (*archivos_)[0] = verificar(columna(rs_, QStringLiteral("Archivo")));
        const QStringList otras = {QStringLiteral("Archivo2"), QStringLiteral("Archivo3"),
                                   QStringLiteral("Archivo4")};
        for (int i = 1; i < 4; ++i) {
            const QString v = columna(rs_, otras.at(i - 1));
            (*archivos_)[i] = v.isEmpty() ? (*archivos_)[i - 1] : verificar(v);
        }
    }

    // The report folder of the point of sale's unit of business, when the
    // unit issues electronic documents.
    QString carpetaElectronicaDeUnidad() {
        if (idComprobante_.trimmed().isEmpty())
            return QString();
        QString folder;
        Recordset un;
        QString sql = QStringLiteral("SELECT * FROM V_TA_UNIDADNEGOCIO WHERE LTRIM(PDV)='") +
                      TextoVb::duplicarApostrofes(idComprobante_.left(4).trimmed()) +
                      QStringLiteral("'");
        db_.AbrirRecordset(sql, un);
        if (hayFila(un)) {
            const QString usaTexto =
                Utilidades::TextoDeValor(un.value(QStringLiteral("usaefc"))).trimmed();
            const bool activo =
                usaTexto == QLatin1String("1") ||
                usaTexto.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                usaTexto.compare(QLatin1String("Verdadero"), Qt::CaseInsensitive) == 0;
            const QString ruta = columna(un, QStringLiteral("ruta_reporte")).trimmed();
            if (activo && !ruta.isEmpty())
                folder = ruta;
        }
        if (un.isOpen())
            db_.CierraRecordset(un);
        return folder;
    }

    const QString& reporte_;
    const QString& idComprobante_;
    ArchivosReporte* archivos_;
    DB_Dll& db_;
    QString resultado_;
    Recordset rs_;
};

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
    Resolucion r(Reporte, IdComprobante, Archivos);
    const QString tipo = r.tipoDocumento();

    bool electronico = false;
    if (!paso([&] { electronico = r.esElectronico(tipo); }))
        return r.resultado();

    // The workstation-and-user row is looked for only when no option is given.
    const QString clave = Opcion.trimmed().isEmpty()
                              ? suite::SistemaInfo::NombrePc() + QLatin1Char('|') +
                                    suite::SistemaInfo::NombreUsuarioPc() + QLatin1Char('|') +
                                    Reporte
                              : Reporte;
    bool seguir = paso([&] { r.plantillasDeTabla(clave); });

    if (seguir && r.esRemitoConUnidad(tipo)) {
        QString unegocio;
        seguir = paso([&] { unegocio = r.unidadDelRemito(); });
        if (seguir && !unegocio.isEmpty())
            seguir = paso([&] { r.plantillaRemitoDeUnidad(unegocio); });
    }

    if (seguir && electronico)
        paso([&] { r.plantillaElectronica(); });

    r.cerrar();
    return r.resultado();
}

} // namespace rp::startup
