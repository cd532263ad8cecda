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

// A finite number in the C locale's form, as QLocale::c().toString(d, 'f' or
// 'g', precision) writes it, without its per-call locale work. Both round
// the exact binary value correctly; they differ only on an exact tie (Qt
// rounds it away from zero), so a number whose next figure is a 5 goes
// through QLocale. Negative zero is written "0", as QLocale does.
QString numero(double d, std::chars_format forma, int precision) {
    const auto comoQLocale = [&] {
        return QLocale::c().toString(d, forma == std::chars_format::fixed ? 'f' : 'g', precision);
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
    return QString::fromLatin1(buffer, r.ptr - buffer);
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
    if (ValoresFormula::esNulo(v))
        return QString();
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (ValoresFormula::esNumero(v)) {
        const double d = v.toDouble();
        if (!std::isfinite(d))
            return QString();
        if (formato.tipo == FormatoColumna::Entero)
            return numero(std::round(d), std::chars_format::fixed, 0);
        if (formato.tipo == FormatoColumna::Numero || formato.tipo == FormatoColumna::Cambio)
            return numero(d, std::chars_format::fixed, formato.decimales);
        return numero(d, std::chars_format::general, 15);
    }
    if (ValoresFormula::esFecha(v))
        return v.toDate().toString(Qt::ISODate);
    if (ValoresFormula::esFechaHora(v)) {
        const QDateTime dt = v.toDateTime();
        if (formato.tipo == FormatoColumna::Fecha)
            return dt.date().toString(Qt::ISODate);
        return dt.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    }
    // Codes are stored right-aligned in their width: shown without their
    // padding blanks, as on the page.
    return celdaTexto(sinBlancos(v.toString()));
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
    qint64 n = 0;
    QStringList celdas;
    while (filas.siguiente()) {
        const EvaluadorFormula ev(filas.contexto());
        celdas.clear();
        for (int i : rep.columnasVisibles()) {
            const ColumnaPlantilla& c = p.columnas.at(i);
            celdas << celda(ev.evaluar(c.formula), c.formato);
        }
        escribirLinea(salida, celdas);
        ++n;
        if (continuar && n % 2000 == 0 && !continuar(n))
            throw ErrorMotor(QStringLiteral("exportación cancelada"));
    }
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
