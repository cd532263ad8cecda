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
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
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

// One cell as the sheet takes it, made from a row's value on the thread that
// reads the rows and written by the one that builds the workbook.
struct Celda {
    enum Tipo : quint8 { Vacia, Numero, Momento, Texto, Logico };
    Tipo tipo = Vacia;
    bool conHora = false; // Momento: with its time of day
    float ancho = 0;      // characters it takes
    double numero = 0;    // Numero; Logico (0 or 1)
    lxw_datetime momento{};
    QByteArray texto; // UTF-8
};

// Turns the values of a report's visible columns into cells.
class Conversor {
public:
    explicit Conversor(const ReportePreparado& rep) {
        const Plantilla& p = rep.plantilla();
        for (int i : rep.columnasVisibles()) {
            const ColumnaPlantilla* c = &p.columnas.at(i);
            columnas_.push_back({c, !EscritorXlsx::formatoNumero(c->formato).isEmpty()});
        }
    }

    qsizetype columnas() const { return static_cast<qsizetype>(columnas_.size()); }

    void fila(const EvaluadorFormula& ev, Celda* celdas) const {
        for (size_t c = 0; c < columnas_.size(); ++c)
            celda(columnas_[c], ev.evaluar(columnas_[c].plantilla->formula), celdas[c]);
    }

private:
    struct Columna {
        const ColumnaPlantilla* plantilla;
        bool conFormato; // its numbers have a number format
    };

    static void texto(QString t, Celda& r) {
        if (t.size() > kMaximoTexto)
            t.truncate(kMaximoTexto);
        if (t.isEmpty())
            return;
        r.tipo = Celda::Texto;
        r.ancho = static_cast<float>(t.size());
        r.texto = t.toUtf8();
    }

    static void numero(const Columna& col, double d, Celda& r) {
        if (!std::isfinite(d))
            return;
        const FormatoColumna& f = col.plantilla->formato;
        r.tipo = Celda::Numero;
        r.numero = d;
        if (col.conFormato)
            r.ancho = static_cast<float>(
                largoNumero(d, f.tipo == FormatoColumna::Entero ? 0 : f.decimales) +
                (f.tipo == FormatoColumna::Cambio ? 1 : 0));
        else
            r.ancho = static_cast<float>(std::min(15, largoNumero(d, 2)));
    }

    static void momento(const QDateTime& m, bool soloFecha, Celda& r) {
        if (!m.isValid())
            return;
        const QDate d = m.date();
        const QTime t = m.time();
        // Excel's calendar starts in 1900.
        if (d.year() < 1900 || d.year() > 9999) {
            texto(d.toString(Qt::ISODate), r);
            return;
        }
        r.tipo = Celda::Momento;
        r.conHora = !soloFecha && t != QTime(0, 0);
        r.momento.year = d.year();
        r.momento.month = d.month();
        r.momento.day = d.day();
        if (r.conHora) {
            r.momento.hour = t.hour();
            r.momento.min = t.minute();
            r.momento.sec = t.second();
        }
        r.ancho = r.conHora ? 19 : 10;
    }

    static void celda(const Columna& col, const QVariant& v, Celda& r) {
        r = Celda();
        if (ValoresFormula::esNulo(v))
            return;
        const FormatoColumna& f = col.plantilla->formato;
        if (v.typeId() == QMetaType::Bool) {
            r.tipo = Celda::Logico;
            r.numero = v.toBool() ? 1 : 0;
            return;
        }
        if (ValoresFormula::esNumero(v)) {
            numero(col, v.toDouble(), r);
            return;
        }
        if (ValoresFormula::esFecha(v)) {
            momento(QDateTime(v.toDate(), QTime(0, 0)), true, r);
            return;
        }
        if (ValoresFormula::esFechaHora(v)) {
            momento(v.toDateTime(), f.tipo == FormatoColumna::Fecha, r);
            return;
        }
        const QString t = v.toString();
        // A text in a numeric or date column is read as the page reads it.
        if (f.tipo == FormatoColumna::Entero || f.tipo == FormatoColumna::Numero ||
            f.tipo == FormatoColumna::Cambio) {
            if (const auto d = ValoresFormula::aNumero(t)) {
                numero(col, *d, r);
                return;
            }
        } else if (f.tipo == FormatoColumna::Fecha || f.tipo == FormatoColumna::FechaHora) {
            if (const auto m = ValoresFormula::aFechaHora(t)) {
                momento(*m, f.tipo == FormatoColumna::Fecha, r);
                return;
            }
        }
        // Codes are stored right-aligned in their width: trimmed as on the page.
        texto(EscritorCsv::sinBlancos(t), r);
    }

    std::vector<Columna> columnas_;
};

// The workbook being built: sheets of cells through libxlsxwriter.
class Libro {
public:
    Libro(const ReportePreparado& rep, const QString& ruta, const EscritorXlsx::Opciones& o)
        : ruta_(ruta), limite_(std::max<qint64>(2, o.filasPorHoja)) {
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
            QString titulo = c.plantilla->titulo
                                 .evaluar(ctx, [&](const QVariant& v) { return valores.texto(v); })
                                 .trimmed();
            titulo.truncate(kMaximoTexto);
            c.ancho = titulo.size() + 3; // room for the filter button
            titulos_ << titulo.toUtf8();
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

    // One row: a cell per visible column.
    void fila(const Celda* celdas) {
        if (!hoja_ || filaHoja_ >= limite_)
            nuevaHoja();
        for (size_t c = 0; c < columnas_.size(); ++c)
            celda(static_cast<lxw_col_t>(c), celdas[c]);
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
        for (size_t c = 0; c < columnas_.size(); ++c) {
            const QByteArray& t = titulos_.at(static_cast<qsizetype>(c));
            if (!t.isEmpty())
                comprobar(worksheet_write_string(hoja_, 0, static_cast<lxw_col_t>(c), t.constData(),
                                                 titulo_));
        }
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

    void celda(lxw_col_t c, const Celda& v) {
        if (v.tipo == Celda::Vacia)
            return;
        double& ancho = columnas_[c].ancho;
        ancho = std::max(ancho, static_cast<double>(v.ancho));
        const lxw_row_t f = static_cast<lxw_row_t>(filaHoja_);
        switch (v.tipo) {
        case Celda::Numero:
            comprobar(worksheet_write_number(hoja_, f, c, v.numero, columnas_[c].numero));
            break;
        case Celda::Momento: {
            lxw_datetime dt = v.momento;
            comprobar(worksheet_write_datetime(hoja_, f, c, &dt, v.conHora ? fechaHora_ : fecha_));
            break;
        }
        case Celda::Texto:
            comprobar(worksheet_write_string(hoja_, f, c, v.texto.constData(), nullptr));
            break;
        case Celda::Logico:
            comprobar(worksheet_write_boolean(hoja_, f, c, v.numero != 0, nullptr));
            break;
        case Celda::Vacia:
            break;
        }
    }

    QString ruta_;
    qint64 limite_;
    lxw_workbook* libro_ = nullptr;
    lxw_worksheet* hoja_ = nullptr;
    lxw_format* titulo_ = nullptr;
    lxw_format* fecha_ = nullptr;
    lxw_format* fechaHora_ = nullptr;
    std::vector<ColumnaXlsx> columnas_;
    QHash<QString, lxw_format*> formatos_;
    QList<QByteArray> titulos_; // UTF-8
    qint64 filaHoja_ = 0;
    int hojas_ = 0;
};

// The workbook is built on a thread of its own while this one reads the
// rows: libxlsxwriter's printing of every number into the sheet's temporary
// file takes about as long as reading the rows, and the two go on side by
// side. Rows travel in blocks through a short queue; the reader waits when
// it is full. Only the building thread touches the workbook until it ends.
class Tuberia {
public:
    static constexpr qsizetype kFilasPorBloque = 256;
    static constexpr size_t kBloquesEnCola = 4;

    Tuberia(Libro& libro, qsizetype columnas)
        : libro_(libro), columnas_(std::max<qsizetype>(1, columnas)),
          hilo_([this] { trabajar(); }) {}

    // Stops the building thread (a cancel or an error of the reader) and
    // waits for it.
    ~Tuberia() {
        {
            std::lock_guard l(m_);
            parar_ = true;
        }
        hayBloque_.notify_all();
        if (hilo_.joinable())
            hilo_.join();
    }

    Tuberia(const Tuberia&) = delete;
    Tuberia& operator=(const Tuberia&) = delete;

    // Where the next row's cells go.
    Celda* nuevaFila() {
        const size_t n = static_cast<size_t>(columnas_);
        if (llenando_.size() >= static_cast<size_t>(kFilasPorBloque) * n)
            enviar();
        llenando_.resize(llenando_.size() + n);
        return llenando_.data() + llenando_.size() - n;
    }

    // Sends what is left, waits for the workbook to be closed and rethrows
    // what the building thread failed with.
    void terminar() {
        enviar();
        {
            std::lock_guard l(m_);
            fin_ = true;
        }
        hayBloque_.notify_all();
        hilo_.join();
        if (error_)
            std::rethrow_exception(std::exchange(error_, nullptr));
    }

private:
    void enviar() {
        if (llenando_.empty())
            return;
        std::unique_lock l(m_);
        hayLugar_.wait(l, [this] { return cola_.size() < kBloquesEnCola || error_; });
        if (error_) {
            std::exception_ptr e = std::exchange(error_, nullptr);
            l.unlock();
            std::rethrow_exception(e);
        }
        cola_.push_back(std::move(llenando_));
        l.unlock();
        hayBloque_.notify_one();
        llenando_ = std::vector<Celda>();
        llenando_.reserve(static_cast<size_t>(kFilasPorBloque * columnas_));
    }

    void trabajar() {
        try {
            for (;;) {
                std::vector<Celda> bloque;
                {
                    std::unique_lock l(m_);
                    hayBloque_.wait(l, [this] { return !cola_.empty() || fin_ || parar_; });
                    if (parar_)
                        return;
                    if (cola_.empty()) // every row sent
                        break;
                    bloque = std::move(cola_.front());
                    cola_.pop_front();
                }
                hayLugar_.notify_one();
                const size_t n = static_cast<size_t>(columnas_);
                for (size_t i = 0; i + n <= bloque.size(); i += n)
                    libro_.fila(bloque.data() + i);
            }
            libro_.cerrar();
        } catch (...) {
            std::lock_guard l(m_);
            error_ = std::current_exception();
        }
        hayLugar_.notify_all();
    }

    Libro& libro_;
    qsizetype columnas_;
    std::vector<Celda> llenando_; // the block being filled (reader's own)
    std::mutex m_;
    std::condition_variable hayBloque_, hayLugar_;
    std::deque<std::vector<Celda>> cola_;
    bool fin_ = false;
    bool parar_ = false;
    std::exception_ptr error_;
    std::thread hilo_; // last: started once the rest is ready
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
    const Conversor conversor(rep);
    qint64 n = 0;
    {
        Tuberia tuberia(libro, conversor.columnas());
        while (filas.siguiente()) {
            const EvaluadorFormula ev(filas.contexto());
            conversor.fila(ev, tuberia.nuevaFila());
            ++n;
            if (opciones.continuar && n % kFilasPorAviso == 0 && !opciones.continuar(n))
                throw ErrorMotor(QStringLiteral("exportación cancelada"));
        }
        tuberia.terminar();
    }
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
