#include "suite/Utilidades.h"

#include "suite/Aplicacion.h"
#include "suite/Regional.h"
#include "ui/Operador.h"

#include <QDate>
#include <QDateTime>
#include <QStringDecoder>
#include <cmath>

namespace rp::suite {

namespace {

constexpr double kLimiteMoneda = 922337203685477.5807;

const QByteArray& claveFija() {
    static const QByteArray clave = QByteArrayLiteral("Kestrel|rp_tarifario|2.7");
    return clave;
}

QByteArray mezclar(QByteArray datos) {
    const QByteArray& clave = claveFija();
    for (qsizetype i = 0; i < datos.size(); ++i)
        datos[i] =
            static_cast<char>(datos[i] ^ clave[i % clave.size()] ^ static_cast<char>(i * 31));
    return datos;
}

bool caracterDeNombre(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('#') ||
           c == QLatin1Char('@') || c == QLatin1Char('$');
}

bool esDigito(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

QString Utilidades::RecortarTexto(const QString& texto, int n) {
    return texto.left(std::max(n, 0));
}

double Utilidades::TextoANumero(const QString& texto) {
    const std::optional<double> valor = Regional::actual().textoANumero(texto);
    if (!valor || !std::isfinite(*valor) || std::fabs(*valor) > kLimiteMoneda)
        return 0.0;
    const double redondeado = std::round(*valor * 10000.0) / 10000.0;
    return redondeado == 0.0 ? 0.0 : redondeado;
}

QString Utilidades::TextoComparable(const QString& textoFecha) {
    const std::optional<QDateTime> momento = Regional::actual().textoAFechaHora(textoFecha);
    if (!momento)
        return QString();
    const QDate d = momento->date();
    if (!textoFecha.contains(QLatin1Char(':')))
        return QStringLiteral("Date(%1,%2,%3)").arg(d.year()).arg(d.month()).arg(d.day());
    const QTime t = momento->time();
    return QStringLiteral("DateTime(%1,%2,%3,%4,%5,%6)")
        .arg(d.year())
        .arg(d.month())
        .arg(d.day())
        .arg(t.hour())
        .arg(t.minute())
        .arg(t.second());
}

QString Utilidades::TextoDeValor(const QVariant& valor) {
    if (!valor.isValid() || valor.isNull())
        return QString();
    const Regional& regional = Regional::actual();
    switch (valor.typeId()) {
    case QMetaType::QDate:
        return regional.fechaATexto(valor.toDate());
    case QMetaType::QDateTime:
        return regional.fechaHoraATexto(valor.toDateTime());
    case QMetaType::QTime:
        return valor.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::Double:
    case QMetaType::Float:
        return regional.numeroATexto(valor.toDouble());
    case QMetaType::Bool:
        return valor.toBool() ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    default:
        break;
    }
    return valor.toString();
}

int Utilidades::CantidadPalabras(const QString& texto) {
    int cuenta = 0;
    bool enPalabra = false;
    for (const QChar c : texto) {
        const bool blanco = c.isSpace();
        if (!blanco && !enPalabra)
            ++cuenta;
        enPalabra = !blanco;
    }
    return cuenta;
}

QString Utilidades::QuitarCaracter(const QString& texto, const QString& c1, const QString& c2,
                                   const QString& c3) {
    QString resultado = texto;
    for (const QString* c : {&c1, &c2, &c3}) {
        if (!c->isEmpty())
            resultado.remove(*c, Qt::CaseSensitive);
    }
    return resultado;
}

QString Utilidades::ReemplazarTexto(const QString& texto, const QString& buscar,
                                    const QString& con) {
    if (buscar.isEmpty())
        return texto;
    QString resultado = texto;
    return resultado.replace(buscar, con, Qt::CaseSensitive);
}

QString Utilidades::FormatoCodigo(const QString& codigo, int ancho) {
    const QString limpio = codigo.trimmed();
    if (limpio.isEmpty())
        return QString();
    if (limpio.size() >= ancho)
        return limpio;
    return QString(ancho - limpio.size(), QLatin1Char(' ')) + limpio;
}

QString Utilidades::FormatoCodigo(const QVariant& valor) {
    return TextoDeValor(valor).trimmed();
}

QString Utilidades::RutaConBarra(const QString& carpeta) {
    if (carpeta.isEmpty() || carpeta.endsWith(QLatin1Char('/')))
        return carpeta;
    return carpeta + QLatin1Char('/');
}

QString Utilidades::ReemplazarTabla(const QString& sql, const QString& nombre,
                                    const QString& nuevoNombre) {
    if (nombre.isEmpty())
        return sql;
    QString resultado;
    resultado.reserve(sql.size());
    bool enLiteral = false;
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'')) {
            enLiteral = !enLiteral;
            resultado += c;
            ++i;
            continue;
        }
        if (!enLiteral &&
            QStringView(sql).mid(i, nombre.size()).compare(nombre, Qt::CaseInsensitive) == 0 &&
            (i == 0 || !caracterDeNombre(sql.at(i - 1))) &&
            (i + nombre.size() >= sql.size() || !caracterDeNombre(sql.at(i + nombre.size())))) {
            resultado += nuevoNombre;
            i += nombre.size();
            continue;
        }
        resultado += c;
        ++i;
    }
    return resultado;
}

int Utilidades::MensajeError(const CodErr& error) {
    const QString titulo =
        error.source.trimmed().isEmpty() ? Aplicacion::nombreEjecutable() : error.source.trimmed();
    const QString texto =
        QStringLiteral("Error %1: %2").arg(error.number).arg(error.description.trimmed());
    return ui::operador().mensaje(texto, ui::estilo::AbortRetryIgnore | ui::estilo::Critical,
                                  titulo);
}

QString Utilidades::ElegirFecha() {
    const std::optional<QDate> fecha = ui::operador().elegirFecha(QDate::currentDate());
    if (!fecha || !fecha->isValid())
        return QString();
    return Regional::actual().fechaATexto(*fecha);
}

QString Utilidades::CodificarClave(const QString& texto) {
    if (texto.isEmpty())
        return QString();
    const QByteArray mezclado = mezclar(texto.toUtf8());
    return QString::fromLatin1(
        mezclado.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

QString Utilidades::DecodificarClave(const QString& codificado) {
    const QString limpio = codificado.trimmed();
    if (limpio.isEmpty())
        return QString();
    for (const QChar c : limpio) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('-') &&
            c != QLatin1Char('_'))
            return QString();
    }
    const auto decodificado = QByteArray::fromBase64Encoding(
        limpio.toLatin1(), QByteArray::Base64UrlEncoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!decodificado)
        return QString();
    const QByteArray claro = mezclar(*decodificado);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString texto = utf8.decode(claro);
    if (utf8.hasError())
        return QString();
    return texto;
}

double Utilidades::NumeroInicial(const QString& texto) {
    qsizetype i = 0;
    const qsizetype n = texto.size();
    while (i < n && (texto.at(i) == QLatin1Char(' ') || texto.at(i) == QLatin1Char('\t') ||
                     texto.at(i) == QLatin1Char('\r') || texto.at(i) == QLatin1Char('\n')))
        ++i;
    QString numero;
    if (i < n && (texto.at(i) == QLatin1Char('+') || texto.at(i) == QLatin1Char('-')))
        numero += texto.at(i++);
    bool digitos = false;
    while (i < n && esDigito(texto.at(i))) {
        numero += texto.at(i++);
        digitos = true;
    }
    if (i < n && texto.at(i) == QLatin1Char('.')) {
        numero += texto.at(i++);
        while (i < n && esDigito(texto.at(i))) {
            numero += texto.at(i++);
            digitos = true;
        }
    }
    if (!digitos)
        return 0.0;
    if (i < n && (texto.at(i) == QLatin1Char('e') || texto.at(i) == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        QString exponente = QStringLiteral("e");
        if (j < n && (texto.at(j) == QLatin1Char('+') || texto.at(j) == QLatin1Char('-')))
            exponente += texto.at(j++);
        if (j < n && esDigito(texto.at(j))) {
            while (j < n && esDigito(texto.at(j)))
                exponente += texto.at(j++);
            numero += exponente;
        }
    }
    bool ok = false;
    const double valor = numero.toDouble(&ok);
    if (!ok || !std::isfinite(valor))
        return 0.0;
    return valor == 0.0 ? 0.0 : valor;
}

QString Utilidades::NumeroATexto(double valor) {
    return Regional::actual().numeroATexto(valor);
}

} // namespace rp::suite
