#include "suite/Regional.h"

#include "db/provider/SqlServerDates.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <cmath>

namespace rp::suite {

namespace {

Regional& instancia() {
    static Regional r = Regional::desdeSistema();
    return r;
}

QChar primerCaracter(const QString& texto, QChar porDefecto) {
    return texto.isEmpty() ? porDefecto : texto.at(0);
}

bool soloDigitos(const QString& texto) {
    if (texto.isEmpty())
        return false;
    for (const QChar c : texto) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

int anioCompleto(const QString& texto) {
    const int valor = texto.toInt();
    if (texto.size() <= 2)
        return db::mssql::fullYearOf(valor);
    return valor;
}

} // namespace

Regional Regional::desdeSistema() {
    const QLocale sistema = QLocale::system();
    Regional r;
    const QString formato = sistema.dateFormat(QLocale::ShortFormat);
    const qsizetype d = formato.indexOf(QLatin1Char('d'));
    const qsizetype m = formato.indexOf(QLatin1Char('M'));
    const qsizetype y = formato.indexOf(QLatin1Char('y'));
    if (d >= 0 && m >= 0 && y >= 0) {
        if (y < m && y < d)
            r.ordenFecha = OrdenFecha::AnioMesDia;
        else if (m < d)
            r.ordenFecha = OrdenFecha::MesDiaAnio;
        else
            r.ordenFecha = OrdenFecha::DiaMesAnio;
    }
    for (const QChar c : formato) {
        if (!c.isLetter() && !c.isSpace()) {
            r.separadorFecha = c;
            break;
        }
    }
    r.separadorDecimal = primerCaracter(sistema.decimalPoint(), QLatin1Char('.'));
    r.separadorMiles = primerCaracter(sistema.groupSeparator(), QLatin1Char(','));
    if (r.separadorMiles == r.separadorDecimal)
        r.separadorMiles =
            r.separadorDecimal == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
    return r;
}

Regional Regional::espaniol() {
    return Regional();
}

const Regional& Regional::actual() {
    return instancia();
}

void Regional::establecer(const Regional& regional) {
    instancia() = regional;
}

QString Regional::formatoFechaCorta() const {
    const QString sep = QString(separadorFecha) == QLatin1String("'") ? QStringLiteral("''")
                                                                      : QString(separadorFecha);
    switch (ordenFecha) {
    case OrdenFecha::MesDiaAnio:
        return QStringLiteral("MM") + sep + QStringLiteral("dd") + sep + QStringLiteral("yyyy");
    case OrdenFecha::AnioMesDia:
        return QStringLiteral("yyyy") + sep + QStringLiteral("MM") + sep + QStringLiteral("dd");
    case OrdenFecha::DiaMesAnio:
        break;
    }
    return QStringLiteral("dd") + sep + QStringLiteral("MM") + sep + QStringLiteral("yyyy");
}

QString Regional::formatoFechaHora() const {
    return formatoFechaCorta() + QStringLiteral(" HH:mm:ss");
}

QString Regional::fechaATexto(const QDate& fecha) const {
    if (!fecha.isValid())
        return QString();
    return fecha.toString(formatoFechaCorta());
}

QString Regional::fechaHoraATexto(const QDateTime& momento) const {
    if (!momento.isValid())
        return QString();
    if (momento.time() == QTime(0, 0))
        return fechaATexto(momento.date());
    return momento.toString(formatoFechaHora());
}

QDate Regional::textoAFecha(const QString& texto) const {
    const std::optional<QDateTime> momento = textoAFechaHora(texto);
    return momento ? momento->date() : QDate();
}

std::optional<QDateTime> Regional::textoAFechaHora(const QString& texto) const {
    const QString limpio = texto.trimmed();
    const qsizetype blanco = limpio.indexOf(QLatin1Char(' '));
    const QString parteFecha = blanco < 0 ? limpio : limpio.left(blanco);
    const QString parteHora = blanco < 0 ? QString() : limpio.mid(blanco + 1).trimmed();

    QString separadores = QStringLiteral("/.\\-");
    if (!separadores.contains(separadorFecha))
        separadores += QRegularExpression::escape(QString(separadorFecha));
    const QStringList partes =
        parteFecha.split(QRegularExpression(QLatin1Char('[') + separadores + QLatin1Char(']')));
    if (partes.size() != 3)
        return std::nullopt;
    for (const QString& p : partes) {
        if (!soloDigitos(p))
            return std::nullopt;
    }

    QString dia, mes, anio;
    if (partes[0].size() == 4 || ordenFecha == OrdenFecha::AnioMesDia) {
        anio = partes[0];
        mes = partes[1];
        dia = partes[2];
    } else if (ordenFecha == OrdenFecha::MesDiaAnio) {
        mes = partes[0];
        dia = partes[1];
        anio = partes[2];
    } else {
        dia = partes[0];
        mes = partes[1];
        anio = partes[2];
    }
    if (dia.size() > 2 || mes.size() > 2 || anio.size() == 3 || anio.size() > 4)
        return std::nullopt;
    const QDate fecha(anioCompleto(anio), mes.toInt(), dia.toInt());
    if (!fecha.isValid())
        return std::nullopt;

    QTime hora(0, 0);
    if (!parteHora.isEmpty()) {
        static const QRegularExpression formaHora(
            QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?$"));
        const QRegularExpressionMatch m = formaHora.match(parteHora);
        if (!m.hasMatch())
            return std::nullopt;
        hora = QTime(m.captured(1).toInt(), m.captured(2).toInt(),
                     m.captured(3).isEmpty() ? 0 : m.captured(3).toInt());
        if (!hora.isValid())
            return std::nullopt;
    }
    return QDateTime(fecha, hora);
}

QString Regional::numeroATexto(double valor) const {
    if (!std::isfinite(valor) || valor == 0.0)
        return QStringLiteral("0");
    QString texto = QString::number(valor, 'g', 15);
    const qsizetype e = texto.indexOf(QLatin1Char('e'));
    if (e >= 0) {
        QString exponente = texto.mid(e + 1);
        texto = texto.left(e) + QLatin1Char('E') + exponente;
    }
    texto.replace(QLatin1Char('.'), separadorDecimal);
    return texto;
}

std::optional<double> Regional::textoANumero(const QString& texto) const {
    const QString limpio = texto.trimmed();
    if (limpio.isEmpty())
        return std::nullopt;
    const QString g = QRegularExpression::escape(QString(separadorMiles));
    const QString d = QRegularExpression::escape(QString(separadorDecimal));
    const QRegularExpression local(
        QStringLiteral("^[+-]?(?:(?:\\d{1,3}(?:%1\\d{3})+|\\d+)(?:%2\\d*)?|%2\\d+)$").arg(g, d));
    QString normal;
    if (local.match(limpio).hasMatch()) {
        for (const QChar c : limpio) {
            if (c == separadorMiles)
                continue;
            normal += c == separadorDecimal ? QLatin1Char('.') : c;
        }
    } else {
        static const QRegularExpression punto(
            QStringLiteral("^[+-]?(?:\\d+(?:\\.\\d*)?|\\.\\d+)$"));
        if (!punto.match(limpio).hasMatch())
            return std::nullopt;
        normal = limpio;
    }
    bool ok = false;
    const double valor = normal.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return valor;
}

} // namespace rp::suite
