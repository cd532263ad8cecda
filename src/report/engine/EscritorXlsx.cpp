#include "report/engine/EscritorXlsx.h"

#include "report/engine/ContextoReporte.h"
#include "report/engine/ErrorMotor.h"
#include "report/engine/EscritorCsv.h"
#include "report/engine/EvaluadorFormula.h"
#include "report/engine/FormatoValores.h"
#include "report/engine/LectorFilas.h"
#include "report/engine/ReportePreparado.h"
#include "report/engine/ValoresFormula.h"
#include "suite/Regional.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QTemporaryFile>
#include <algorithm>
#include <cmath>
#include <vector>
#include <xlsxwriter.h>

namespace rp::motor {

namespace {

// Excel keeps at most this many characters in a cell.
constexpr qsizetype kMaximoTexto = 32767;
constexpr int kFilasPorAviso = 4096;
constexpr double kAnchoMinimo = 6;
constexpr double kAnchoMaximo = 60;

[[noreturn]] void fallar(const QString& ruta, lxw_error error) {
    throw ErrorMotor(QStringLiteral("no se puede escribir el archivo %1: %2")
                         .arg(ruta, QString::fromUtf8(lxw_strerror(error))));
}

// Characters a number takes on the page: sign, digits, thousands separators,
// decimal separator and decimals.
int largoNumero(double d, int decimales) {
    const double a = std::fabs(d);
    const int digitos = a < 10 ? 1 : static_cast<int>(std::floor(std::log10(a))) + 1;
    return (d < 0 ? 1 : 0) + digitos + (digitos - 1) / 3 + (decimales > 0 ? decimales + 1 : 0);
}

// A column of the sheet: its formats and the widest value seen.
struct ColumnaXlsx {
    const ColumnaPlantilla* plantilla = nullptr;
    lxw_format* numero = nullptr; // numbers of Entero / Numero columns
    double ancho = 0;             // characters
};

class Libro {
public:
    Libro(const ReportePreparado& rep, const QString& ruta, const EscritorXlsx::Opciones& o)
        : rep_(rep), ruta_(ruta), limite_(std::max<qint64>(2, o.filasPorHoja)) {
        lxw_workbook_options opciones{};
        opciones.constant_memory = LXW_TRUE;
        opciones.use_zip64 = LXW_FALSE;
        const QByteArray nombre = QFile::encodeName(ruta);
        libro_ = workbook_new_opt(nombre.constData(), &opciones);
        if (!libro_)
            throw ErrorMotor(QStringLiteral("no se puede crear el archivo %1").arg(ruta));

        titulo_ = workbook_add_format(libro_);
        format_set_bold(titulo_);
        const rp::suite::Regional& regional = rp::suite::Regional::actual();
        fecha_ = formato(EscritorXlsx::formatoFecha(regional.formatoFechaCorta()));
        fechaHora_ = formato(EscritorXlsx::formatoFecha(regional.formatoFechaHora()));

        const Plantilla& p = rep.plantilla();
        const FormatoValores valores;
        ContextoReporte ctx(rep);
        for (int i : rep.columnasVisibles()) {
            ColumnaXlsx c;
            c.plantilla = &p.columnas.at(i);
            const QString f = EscritorXlsx::formatoNumero(c.plantilla->formato);
            if (!f.isEmpty())
                c.numero = formato(f);
            titulos_ << c.plantilla->titulo
                            .evaluar(ctx, [&](const QVariant& v) { return valores.texto(v); })
                            .trimmed();
            c.ancho = titulos_.constLast().size() + 3; // room for the filter button
            columnas_.push_back(c);
        }
    }

    ~Libro() {
        // A workbook not closed on purpose (an error, a cancel) is closed
        // here to free it; what it wrote is thrown away by the caller.
        if (libro_)
            workbook_close(libro_);
    }

    Libro(const Libro&) = delete;
    Libro& operator=(const Libro&) = delete;

    void fila(const EvaluadorFormula& ev) {
        if (!hoja_ || filaHoja_ >= limite_)
            nuevaHoja();
        for (size_t c = 0; c < columnas_.size(); ++c)
            celda(static_cast<lxw_col_t>(c), ev.evaluar(columnas_[c].plantilla->formula));
        ++filaHoja_;
    }

    void cerrar() {
        if (!hoja_)
            nuevaHoja(); // a report without rows: its header alone
        terminarHoja();
        lxw_workbook* libro = libro_;
        libro_ = nullptr;
        const lxw_error e = workbook_close(libro);
        if (e != LXW_NO_ERROR)
            fallar(ruta_, e);
    }

private:
    // One format object per number format: the library looks a format up
    // by its properties on every cell when two objects are alike.
    lxw_format* formato(const QString& texto) {
        lxw_format*& f = formatos_[texto];
        if (!f) {
            f = workbook_add_format(libro_);
            format_set_num_format(f, texto.toUtf8().constData());
        }
        return f;
    }

    void comprobar(lxw_error e) const {
        // Texts are cut to Excel's cell size before; any failed write is fatal.
        if (e != LXW_NO_ERROR && e != LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
            fallar(ruta_, e);
    }

    void nuevaHoja() {
        terminarHoja();
        ++hojas_;
        const QByteArray nombre = QStringLiteral("Hoja%1").arg(hojas_).toUtf8();
        hoja_ = workbook_add_worksheet(libro_, nombre.constData());
        if (!hoja_)
            throw ErrorMotor(QStringLiteral("no se puede escribir el archivo %1").arg(ruta_));
        filaHoja_ = 0;
        for (size_t c = 0; c < columnas_.size(); ++c)
            texto(static_cast<lxw_col_t>(c), titulos_.at(static_cast<qsizetype>(c)), titulo_);
        filaHoja_ = 1;
    }

    // Widths, frozen header and autofilter of the sheet being closed: kept
    // by the library apart from the streamed rows, written when it closes.
    void terminarHoja() {
        if (!hoja_)
            return;
        for (size_t c = 0; c < columnas_.size(); ++c) {
            const double ancho = std::clamp(columnas_[c].ancho + 1, kAnchoMinimo, kAnchoMaximo);
            worksheet_set_column(hoja_, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), ancho,
                                 nullptr);
        }
        worksheet_freeze_panes(hoja_, 1, 0);
        if (!columnas_.empty())
            worksheet_autofilter(hoja_, 0, 0, static_cast<lxw_row_t>(filaHoja_ - 1),
                                 static_cast<lxw_col_t>(columnas_.size() - 1));
        hoja_ = nullptr;
    }

    void ancho(lxw_col_t c, double caracteres) {
        double& a = columnas_[c].ancho;
        a = std::max(a, caracteres);
    }

    void texto(lxw_col_t c, QString t, lxw_format* f = nullptr) {
        if (t.size() > kMaximoTexto)
            t.truncate(kMaximoTexto);
        if (t.isEmpty())
            return;
        ancho(c, static_cast<double>(t.size()));
        comprobar(worksheet_write_string(hoja_, fila(), c, t.toUtf8().constData(), f));
    }

    void numero(lxw_col_t c, double d) {
        if (!std::isfinite(d))
            return;
        const ColumnaXlsx& col = columnas_[c];
        const FormatoColumna& f = col.plantilla->formato;
        if (col.numero)
            ancho(c, largoNumero(d, f.tipo == FormatoColumna::Entero ? 0 : f.decimales) +
                         (f.tipo == FormatoColumna::Cambio ? 1 : 0));
        else
            ancho(c, std::min(15.0, static_cast<double>(largoNumero(d, 2))));
        comprobar(worksheet_write_number(hoja_, fila(), c, d, col.numero));
    }

    void momento(lxw_col_t c, const QDateTime& m, bool soloFecha) {
        if (!m.isValid())
            return;
        const QDate d = m.date();
        const QTime t = m.time();
        // Excel's calendar starts in 1900.
        if (d.year() < 1900 || d.year() > 9999) {
            texto(c, d.toString(Qt::ISODate));
            return;
        }
        const bool conHora = !soloFecha && t != QTime(0, 0);
        lxw_datetime dt{};
        dt.year = d.year();
        dt.month = d.month();
        dt.day = d.day();
        if (conHora) {
            dt.hour = t.hour();
            dt.min = t.minute();
            dt.sec = t.second();
        }
        ancho(c, conHora ? 19 : 10);
        comprobar(worksheet_write_datetime(hoja_, fila(), c, &dt, conHora ? fechaHora_ : fecha_));
    }

    void celda(lxw_col_t c, const QVariant& v) {
        if (ValoresFormula::esNulo(v))
            return;
        const FormatoColumna& f = columnas_[c].plantilla->formato;
        if (v.typeId() == QMetaType::Bool) {
            comprobar(worksheet_write_boolean(hoja_, fila(), c, v.toBool(), nullptr));
            return;
        }
        if (ValoresFormula::esNumero(v)) {
            numero(c, v.toDouble());
            return;
        }
        if (ValoresFormula::esFecha(v)) {
            momento(c, QDateTime(v.toDate(), QTime(0, 0)), true);
            return;
        }
        if (ValoresFormula::esFechaHora(v)) {
            momento(c, v.toDateTime(), f.tipo == FormatoColumna::Fecha);
            return;
        }
        const QString t = v.toString();
        // A text in a numeric or date column is read as the page reads it.
        if (f.tipo == FormatoColumna::Entero || f.tipo == FormatoColumna::Numero ||
            f.tipo == FormatoColumna::Cambio) {
            if (const auto d = ValoresFormula::aNumero(t)) {
                numero(c, *d);
                return;
            }
        } else if (f.tipo == FormatoColumna::Fecha || f.tipo == FormatoColumna::FechaHora) {
            if (const auto m = ValoresFormula::aFechaHora(t)) {
                momento(c, *m, f.tipo == FormatoColumna::Fecha);
                return;
            }
        }
        // Codes are stored right-aligned in their width: trimmed as on the page.
        texto(c, EscritorCsv::sinBlancos(t));
    }

    lxw_row_t fila() const { return static_cast<lxw_row_t>(filaHoja_); }

    const ReportePreparado& rep_;
    QString ruta_;
    qint64 limite_;
    lxw_workbook* libro_ = nullptr;
    lxw_worksheet* hoja_ = nullptr;
    lxw_format* titulo_ = nullptr;
    lxw_format* fecha_ = nullptr;
    lxw_format* fechaHora_ = nullptr;
    std::vector<ColumnaXlsx> columnas_;
    QHash<QString, lxw_format*> formatos_;
    QStringList titulos_;
    qint64 filaHoja_ = 0;
    int hojas_ = 0;
};

} // namespace

QString EscritorXlsx::formatoNumero(const FormatoColumna& f) {
    switch (f.tipo) {
    case FormatoColumna::Entero:
        return QStringLiteral("#,##0");
    case FormatoColumna::Numero: {
        const int d = std::clamp(f.decimales, 0, 15);
        return d == 0 ? QStringLiteral("#,##0")
                      : QStringLiteral("#,##0.") + QString(d, QLatin1Char('0'));
    }
    case FormatoColumna::Cambio: {
        // The sign always shown, as on the page (the arrow is the page's own).
        const int d = std::clamp(f.decimales, 0, 15);
        const QString n = d == 0 ? QStringLiteral("#,##0")
                                 : QStringLiteral("#,##0.") + QString(d, QLatin1Char('0'));
        return QStringLiteral("+") + n + QStringLiteral(";-") + n + QStringLiteral(";") + n;
    }
    default:
        return QString();
    }
}

QString EscritorXlsx::formatoFecha(const QString& qt) {
    QString r;
    for (qsizetype i = 0; i < qt.size(); ++i) {
        const QChar c = qt.at(i);
        if (c == QLatin1Char('\'')) {
            // Qt quotes literals with apostrophes; '' is an apostrophe itself.
            if (i + 1 < qt.size() && qt.at(i + 1) == QLatin1Char('\'')) {
                r += QStringLiteral("\\'");
                ++i;
            }
            continue;
        }
        if (c == QLatin1Char('d') || c == QLatin1Char('y') || c == QLatin1Char('m') ||
            c == QLatin1Char('s'))
            r += c;
        else if (c == QLatin1Char('M') || c == QLatin1Char('H') || c == QLatin1Char('h'))
            r += c.toLower();
        else if (c == QLatin1Char('/') || c == QLatin1Char('-') || c == QLatin1Char(':') ||
                 c == QLatin1Char(' '))
            r += c;
        else
            r += QLatin1Char('\\') + c;
    }
    return r;
}

qint64 EscritorXlsx::escribir(const ReportePreparado& rep, LectorFilas& filas, const QString& ruta,
                              const Opciones& opciones) {
    Libro libro(rep, ruta, opciones);
    qint64 n = 0;
    while (filas.siguiente()) {
        const EvaluadorFormula ev(filas.contexto());
        libro.fila(ev);
        ++n;
        if (opciones.continuar && n % kFilasPorAviso == 0 && !opciones.continuar(n))
            throw ErrorMotor(QStringLiteral("exportación cancelada"));
    }
    libro.cerrar();
    return n;
}

qint64 EscritorXlsx::escribirArchivo(const ReportePreparado& rep, const FuenteDatos& fuente,
                                     const QString& ruta, const Opciones& opciones) {
    // Checked before the report runs: a target that cannot be created fails
    // at once.
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly))
        throw ErrorMotor(
            QStringLiteral("no se puede crear el archivo %1: %2").arg(ruta, archivo.errorString()));
    QTemporaryFile temporal(QDir::tempPath() + QStringLiteral("/rp_tarifario-XXXXXX.xlsx"));
    if (!temporal.open())
        throw ErrorMotor(QStringLiteral("no se puede crear un archivo temporal: %1")
                             .arg(temporal.errorString()));
    temporal.close();
    auto filas = rep.abrir(fuente);
    const qint64 n = escribir(rep, *filas, temporal.fileName(), opciones);

    QFile libro(temporal.fileName());
    if (!libro.open(QIODevice::ReadOnly))
        throw ErrorMotor(QStringLiteral("no se puede leer el archivo temporal %1: %2")
                             .arg(temporal.fileName(), libro.errorString()));
    QByteArray bloque;
    while (!(bloque = libro.read(1 << 20)).isEmpty()) {
        if (archivo.write(bloque) != bloque.size())
            break;
    }
    if (libro.error() != QFileDevice::NoError || !archivo.commit())
        throw ErrorMotor(QStringLiteral("no se puede escribir el archivo %1: %2")
                             .arg(ruta, archivo.errorString()));
    return n;
}

} // namespace rp::motor
