#include "report/engine/EscritorCsv.h"

#include "report/engine/ContextoReporte.h"
#include "report/engine/ErrorMotor.h"
#include "report/engine/EvaluadorFormula.h"
#include "report/engine/FormatoValores.h"
#include "report/engine/LectorFilas.h"
#include "report/engine/ReportePreparado.h"
#include "report/engine/ValoresFormula.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QSaveFile>
#include <QStringList>
#include <charconv>
#include <cmath>

namespace rp::motor {

void EscritorCsv::escribirLinea(QIODevice& salida, const QStringList& celdas) {
    const QByteArray linea = celdas.join(QLatin1Char(',')).toUtf8() + "\r\n";
    if (salida.write(linea) != linea.size())
        throw ErrorMotor(
            QStringLiteral("no se puede escribir el archivo CSV: %1").arg(salida.errorString()));
}

namespace {

// Appends a finite number in the C locale's form, as QLocale::c().toString(d,
// 'f' or 'g', precision) writes it, without its per-call locale work. Both
// round the exact binary value correctly; they differ only on an exact tie
// (Qt rounds it away from zero), so a number whose next figure is a 5 goes
// through QLocale. Negative zero is written "0", as QLocale does.
void anexarNumero(QByteArray& linea, double d, std::chars_format forma, int precision) {
    const auto comoQLocale = [&] {
        linea += QLocale::c()
                     .toString(d, forma == std::chars_format::fixed ? 'f' : 'g', precision)
                     .toLatin1();
    };
    if (precision < 0 || precision > 99)
        return comoQLocale();
    if (d == 0)
        d = 0.0;
    char buffer[512];
    char* const fin = buffer + sizeof buffer;
    // One figure more: the one the rounding looks at.
    std::to_chars_result r =
        forma == std::chars_format::fixed
            ? std::to_chars(buffer, fin, d, forma, precision + 1)
            : std::to_chars(buffer, fin, d, std::chars_format::scientific, precision);
    if (r.ec != std::errc())
        return comoQLocale();
    const char* siguiente = r.ptr - 1;
    if (forma != std::chars_format::fixed) {
        while (siguiente > buffer && *siguiente != 'e')
            --siguiente;
        --siguiente;
    }
    if (*siguiente == '5')
        return comoQLocale();
    r = std::to_chars(buffer, fin, d, forma, precision);
    if (r.ec != std::errc())
        return comoQLocale();
    linea.append(buffer, r.ptr - buffer);
}

// Appends `n` as `cifras` figures at least ("0007").
void anexarCifras(QByteArray& linea, int n, int cifras) {
    char buffer[16];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, n);
    for (auto largo = r.ptr - buffer; largo < cifras; ++largo)
        linea += '0';
    linea.append(buffer, r.ptr - buffer);
}

// Appends a date ("yyyy-MM-dd") and, with `hora`, its time ("Thh:mm:ss"),
// as QDate / QDateTime::toString write them with those formats; years
// outside 0..9999 go through Qt.
void anexarMomento(QByteArray& linea, const QDate& d, const QTime* hora) {
    if (d.year() < 0 || d.year() > 9999 || (hora && !hora->isValid())) {
        linea += hora ? QDateTime(d, *hora).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toUtf8()
                      : d.toString(Qt::ISODate).toUtf8();
        return;
    }
    anexarCifras(linea, d.year(), 4);
    linea += '-';
    anexarCifras(linea, d.month(), 2);
    linea += '-';
    anexarCifras(linea, d.day(), 2);
    if (!hora)
        return;
    linea += 'T';
    anexarCifras(linea, hora->hour(), 2);
    linea += ':';
    anexarCifras(linea, hora->minute(), 2);
    linea += ':';
    anexarCifras(linea, hora->second(), 2);
}

// Appends the cell of `v` (EscritorCsv::celda) in UTF-8.
void anexarCelda(QByteArray& linea, const QVariant& v, const FormatoColumna& formato) {
    if (ValoresFormula::esNulo(v))
        return;
    if (v.typeId() == QMetaType::Bool) {
        linea += v.toBool() ? "true" : "false";
        return;
    }
    if (ValoresFormula::esNumero(v)) {
        const double d = v.toDouble();
        if (!std::isfinite(d))
            return;
        if (formato.tipo == FormatoColumna::Entero)
            anexarNumero(linea, std::round(d), std::chars_format::fixed, 0);
        else if (formato.tipo == FormatoColumna::Numero || formato.tipo == FormatoColumna::Cambio)
            anexarNumero(linea, d, std::chars_format::fixed, formato.decimales);
        else
            anexarNumero(linea, d, std::chars_format::general, 15);
        return;
    }
    if (ValoresFormula::esFecha(v)) {
        const QDate d = v.toDate();
        if (d.isValid())
            anexarMomento(linea, d, nullptr);
        return;
    }
    if (ValoresFormula::esFechaHora(v)) {
        const QDateTime dt = v.toDateTime();
        if (!dt.isValid())
            return;
        const QTime t = dt.time();
        anexarMomento(linea, dt.date(), formato.tipo == FormatoColumna::Fecha ? nullptr : &t);
        return;
    }
    // Codes are stored right-aligned in their width: shown without their
    // padding blanks, as on the page.
    linea += EscritorCsv::celdaTexto(EscritorCsv::sinBlancos(v.toString())).toUtf8();
}

} // namespace

QString EscritorCsv::sinBlancos(const QString& texto) {
    qsizetype desde = 0, hasta = texto.size();
    while (desde < hasta && texto.at(desde) == QLatin1Char(' '))
        ++desde;
    while (hasta > desde && texto.at(hasta - 1) == QLatin1Char(' '))
        --hasta;
    return desde == 0 && hasta == texto.size() ? texto : texto.mid(desde, hasta - desde);
}

QString EscritorCsv::citar(const QString& texto) {
    bool hace = false;
    for (const QChar c : texto) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') ||
            c == QLatin1Char('\n')) {
            hace = true;
            break;
        }
    }
    if (!hace)
        return texto;
    QString t = texto;
    t.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + t + QLatin1Char('"');
}

QString EscritorCsv::celdaTexto(const QString& texto) {
    if (!texto.isEmpty()) {
        const QChar c = texto.at(0);
        if (c == QLatin1Char('=') || c == QLatin1Char('+') || c == QLatin1Char('-') ||
            c == QLatin1Char('@') || c == QLatin1Char('\t') || c == QLatin1Char('\r'))
            return citar(QLatin1Char('\'') + texto);
    }
    return citar(texto);
}

QString EscritorCsv::celda(const QVariant& v, const FormatoColumna& formato) {
    QByteArray texto;
    anexarCelda(texto, v, formato);
    return QString::fromUtf8(texto);
}

qint64 EscritorCsv::escribir(const ReportePreparado& rep, LectorFilas& filas, QIODevice& salida,
                             const Continuar& continuar) {
    const Plantilla& p = rep.plantilla();
    const FormatoValores formato;
    const auto texto = [&](const QVariant& v) { return formato.texto(v); };
    {
        ContextoReporte ctx(rep);
        QStringList titulos;
        for (int i : rep.columnasVisibles())
            titulos << celdaTexto(p.columnas.at(i).titulo.evaluar(ctx, texto));
        escribirLinea(salida, titulos);
    }
    // Rows go out in blocks of about 64 KB, each cell written straight into
    // the block.
    constexpr qsizetype kBloque = 1 << 16;
    QByteArray bloque;
    bloque.reserve(kBloque + 4096);
    const auto vaciar = [&] {
        if (salida.write(bloque) != bloque.size())
            throw ErrorMotor(QStringLiteral("no se puede escribir el archivo CSV: %1")
                                 .arg(salida.errorString()));
        bloque.resize(0); // keeps its capacity
    };
    QList<const ColumnaPlantilla*> columnas;
    for (int i : rep.columnasVisibles())
        columnas << &p.columnas.at(i);
    qint64 n = 0;
    while (filas.siguiente()) {
        const EvaluadorFormula ev(filas.contexto());
        for (qsizetype c = 0; c < columnas.size(); ++c) {
            if (c > 0)
                bloque += ',';
            anexarCelda(bloque, ev.evaluar(columnas[c]->formula), columnas[c]->formato);
        }
        bloque += "\r\n";
        if (bloque.size() >= kBloque)
            vaciar();
        ++n;
        if (continuar && n % 2000 == 0 && !continuar(n))
            throw ErrorMotor(QStringLiteral("exportación cancelada"));
    }
    vaciar();
    return n;
}

qint64 EscritorCsv::escribirArchivo(const ReportePreparado& rep, const FuenteDatos& fuente,
                                    const QString& ruta, const Continuar& continuar) {
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly))
        throw ErrorMotor(
            QStringLiteral("no se puede crear el archivo %1: %2").arg(ruta, archivo.errorString()));
    auto filas = rep.abrir(fuente);
    const qint64 n = escribir(rep, *filas, archivo, continuar);
    if (!archivo.commit())
        throw ErrorMotor(QStringLiteral("no se puede escribir el archivo %1: %2")
                             .arg(ruta, archivo.errorString()));
    return n;
}

} // namespace rp::motor
