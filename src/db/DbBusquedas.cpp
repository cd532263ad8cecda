// One-row look-ups (does a row exist, what does one column hold) and the
// greatest / smallest value of a column.
#include "db/DB_Dll.h"
#include "db/TextoVb.h"
#include "suite/Utilidades.h"
#include "ui/Operador.h"

namespace rp::db {

using rp::suite::Utilidades;
using rp::ui::operador;

namespace {

const QString kTituloAviso = QStringLiteral("Aviso al Operador");

// The ADO type code of a look-up value (a code given as text counts by its
// value); -1 when it is not a number.
int codigoTipo(const QVariant& tipo) {
    bool ok = false;
    const int codigo = tipo.toString().trimmed().toInt(&ok);
    return ok ? codigo : -1;
}

bool esNumero(int tipo) {
    return tipo == 3 || tipo == 4 || tipo == 5;
}

// A value read with the leading-number rule and written back in the
// workstation's number form.
QString numero(const QString& valor) {
    return Utilidades::NumeroATexto(Utilidades::NumeroInicial(valor)).trimmed();
}

// A typed value inside a quoted literal: its apostrophes are doubled so the
// value is compared as typed and cannot end the literal.
QString citado(const QString& valor) {
    return TextoVb::duplicarApostrofes(valor);
}

QString condicionWhere(const QString& Condicion) {
    return (TextoVb::contiene(Condicion, QStringLiteral(" WHERE ")) ? QStringLiteral(" ")
                                                                    : QStringLiteral(" WHERE ")) +
           Condicion;
}

QString sentenciaExiste(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                        const QVariant& Tipodato, const QString& Condicion) {
    if (!Condicion.isEmpty())
        return QStringLiteral("SELECT TOP 1 * FROM ") + Tabla + QStringLiteral(" with(nolock) ") +
               condicionWhere(Condicion);
    const int tipo = codigoTipo(Tipodato);
    const QString base =
        QStringLiteral("SELECT TOP 1 * FROM ") + Tabla + QStringLiteral(" with(nolock)  WHERE ");
    if (tipo == 8)
        return QStringLiteral("SELECT TOP 1  * FROM ") + Tabla +
               QStringLiteral(" with(nolock)  WHERE LTRIM(RTRIM(") + Campo +
               QStringLiteral(")) ='") + citado(TextoVb::recortar(ValorBuscado)) +
               QStringLiteral("'");
    if (tipo == 7)
        return base + Campo + QStringLiteral(" = ") + TextoVb::recortar(ValorBuscado) +
               QStringLiteral(" ");
    if (esNumero(tipo))
        return base + Campo + QStringLiteral(" = ") + numero(ValorBuscado);
    return base + Campo + QStringLiteral(" = ") + ValorBuscado;
}

QString sentenciaExisteST(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                          const QVariant& Tipodato, const QString& Condicion) {
    if (!Condicion.isEmpty())
        return QStringLiteral("SELECT * FROM ") + Tabla + QStringLiteral(" with(nolock)  ") +
               condicionWhere(Condicion);
    const int tipo = codigoTipo(Tipodato);
    const QString base =
        QStringLiteral("SELECT * FROM ") + Tabla + QStringLiteral(" with(nolock)   WHERE ") + Campo;
    if (tipo == 8)
        return base + QStringLiteral(" ='") + citado(ValorBuscado) + QStringLiteral("'");
    if (tipo == 7)
        return base + QStringLiteral(" = ") + TextoVb::recortar(ValorBuscado) + QStringLiteral(" ");
    if (esNumero(tipo))
        return base + QStringLiteral(" = ") + numero(ValorBuscado);
    return base + QStringLiteral(" = ") + ValorBuscado;
}

QString sentenciaDatos(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                       const QVariant& Tipodato, const QString& Condicion, bool UsaTrim) {
    const QString prefijo =
        QStringLiteral("SELECT TOP 1 * FROM ") + Tabla + QStringLiteral(" with(nolock)  WHERE ");
    const QString cola =
        TextoVb::recortar(Condicion).isEmpty() ? QString() : QStringLiteral(" AND ") + Condicion;
    const int tipo = codigoTipo(Tipodato);
    if (tipo == 8 && UsaTrim)
        return QStringLiteral("SELECT TOP 1 * FROM ") + Tabla +
               QStringLiteral(" with(nolock)  WHERE LTRIM(RTRIM(") + Campo +
               QStringLiteral(")) ='") + citado(TextoVb::recortar(ValorBuscado)) +
               QStringLiteral("' ") + cola;
    if (tipo == 8)
        return prefijo + Campo + QStringLiteral(" ='") + citado(ValorBuscado) +
               QStringLiteral("' ") + cola;
    if (tipo == 7)
        return prefijo + Campo + QStringLiteral(" = #") + TextoVb::recortar(ValorBuscado) +
               QStringLiteral("# ") + cola;
    if (esNumero(tipo))
        return prefijo + Campo + QStringLiteral(" = ") + numero(ValorBuscado) + cola;
    return prefijo + Campo + QStringLiteral(" = ") + ValorBuscado + cola;
}

// A condition the caller gave and that holds more than blanks.
bool hayCondicion(const QString* condicion) {
    return condicion && !TextoVb::recortar(*condicion).isEmpty();
}

} // namespace

bool DB_Dll::existeEn(Connection& cnn, QString sentencia, Recordset* Lrcs, bool SoloLectura,
                      bool traducir) {
    bool resultado = false;
    // The plain box (no log line); Ignore and Abort both return what was found.
    rp::suite::PasosReintento paso(
        [](const rp::suite::CodErr& error) {
            return operador().mensaje(error.description,
                                      ui::estilo::Critical | ui::estilo::AbortRetryIgnore,
                                      kTituloAviso);
        },
        errorDe);
    paso([&] {
        if (!Lrcs) {
            Recordset rs;
            rs.open(traducir ? ORACLE_Dicc(sentencia) : sentencia, cnn, adOpenForwardOnly,
                    adLockReadOnly, -1);
            resultado = !rs.bof();
            rs.close();
        } else {
            if (Lrcs->state() != 0)
                Lrcs->close();
            if (SoloLectura)
                Lrcs->open(sentencia, cnn, adOpenForwardOnly, adLockReadOnly, -1);
            else
                Lrcs->open(sentencia, cnn, Lrcs->cursorType(), Lrcs->lockType(), -1);
            resultado = !Lrcs->bof();
        }
    });
    return resultado;
}

bool DB_Dll::ExisteEnTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                           Recordset* Lrcs, const QVariant& Tipodato, const QString& Condicion,
                           bool SoloLectura) {
    const QString sentencia =
        SS_TSinonimos(sentenciaExiste(Tabla, ValorBuscado, Campo, Tipodato, Condicion));
    return existeEn(conexion(), sentencia, Lrcs, SoloLectura, true);
}

bool DB_Dll::ExisteEnTablaST(const QString& Tabla, const QString& ValorBuscado,
                             const QString& Campo, Recordset* Lrcs, const QVariant& Tipodato,
                             const QString& Condicion, bool SoloLectura) {
    // Always on the shared object's connection, without synonyms or dialect
    // translation.
    return existeEn(baseCompartida().conexion(),
                    sentenciaExisteST(Tabla, ValorBuscado, Campo, Tipodato, Condicion), Lrcs,
                    SoloLectura, false);
}

QVariant DB_Dll::DatosTabla(const QString& Tabla, const QString& ValorBuscado,
                            const QString& CampoDevuelto, const QString& Campo,
                            const QVariant& Tipodato, const QString& Condicion, bool UsaTrim,
                            bool IgnoraError) {
    QVariant resultado;
    QString sentencia;
    Recordset rs;
    // The plain box (no log line). Abort returns what was read so far;
    // IgnoraError answers empty text without asking.
    bool sinAviso = false;
    rp::suite::PasosReintento paso(
        [&](const rp::suite::CodErr& error) {
            if (IgnoraError) {
                sinAviso = true;
                return int(ui::vbAbort);
            }
            return operador().mensaje(error.description,
                                      ui::estilo::Critical | ui::estilo::AbortRetryIgnore,
                                      kTituloAviso);
        },
        errorDe);
    const auto terminar = [&] {
        return sinAviso ? QVariant(QString(QLatin1String(""))) : resultado;
    };
    if (!paso([&] {
            sentencia = sentenciaDatos(Tabla, ValorBuscado, Campo, Tipodato, Condicion, UsaTrim);
        }))
        return terminar();
    if (!paso([&] {
            AbrirRecordset(sentencia, rs, &conexion(), adOpenForwardOnly, adLockReadOnly, -1, true);
        }))
        return terminar();
    if (!gOpenFlag)
        return QVariant();
    if (!paso([&] {
            if (!rs.isOpen())
                throw DbError(errc::NotAllowedClosed,
                              QStringLiteral("Operation is not allowed when the object is "
                                             "closed."));
            resultado = rs.bof() ? QString(QLatin1String(""))
                                 : Utilidades::TextoDeValor(rs.value(CampoDevuelto));
        }))
        return terminar();
    if (!paso([&] { CierraRecordset(rs); }))
        return terminar();
    return resultado;
}

QVariant DB_Dll::BuscaMaximo(const QString& QueTabla, const QString& QueCampo, const QVariant& Tipo,
                             QString* Condicion) {
    QString condicion = Condicion ? *Condicion : QString();
    bool conCondicion = hayCondicion(Condicion);
    bool sinCeros = false;
    for (;;) {
        QString sentencia = QStringLiteral("SELECT MAX(") + QueCampo +
                            QStringLiteral(") AS MAYOR FROM ") + QueTabla;
        if (conCondicion)
            sentencia += QStringLiteral(" WHERE ") + TextoVb::recortar(condicion);
        Recordset rs;
        rs.open(sentencia, conexion(), adOpenForwardOnly, adLockReadOnly, -1);
        if (rs.bof() || rs.eof())
            return QVariant();
        const QString texto = Utilidades::TextoDeValor(rs.value(QStringLiteral("MAYOR")));
        if (!sinCeros &&
            QueTabla.compare(QLatin1String("V_MA_ARTICULOS"), Qt::CaseInsensitive) == 0 &&
            TextoVb::recortar(texto).startsWith(QLatin1Char('0'))) {
            // Article codes beginning with "0" are left out of the search.
            const QString exclusion = QStringLiteral("substring(ltrim(idarticulo),1,1)<>'0'");
            condicion = TextoVb::recortar(condicion).isEmpty()
                            ? QStringLiteral(" ") + exclusion
                            : condicion + QStringLiteral(" and ") + exclusion;
            if (Condicion)
                *Condicion = condicion;
            conCondicion = true;
            sinCeros = true;
            rs.close();
            continue;
        }
        rs.close();
        if (codigoTipo(Tipo) == 7)
            return texto;
        return Utilidades::NumeroInicial(texto);
    }
}

QVariant DB_Dll::BuscaMinimo(const QString& QueTabla, const QString& QueCampo, const QVariant&,
                             const std::optional<QString>& Condicion) {
    QString sentencia = QStringLiteral("SELECT MIN(") + QueCampo +
                        QStringLiteral(") AS MENOR FROM ") + QueTabla +
                        QStringLiteral("  with(nolock) ");
    if (Condicion && !TextoVb::recortar(*Condicion).isEmpty())
        sentencia += QStringLiteral(" WHERE ") + TextoVb::recortar(*Condicion);
    Recordset rs;
    rs.open(sentencia, conexion(), adOpenForwardOnly, adLockReadOnly, -1);
    if (rs.bof() || rs.eof())
        return QVariant();
    const QString texto = Utilidades::TextoDeValor(rs.value(QStringLiteral("MENOR")));
    rs.close();
    return Utilidades::NumeroInicial(texto);
}

QVariant DB_Dll::BuscaUltimoCodigo(const QString& QueTabla, const QString& QueCampo,
                                   const QVariant&, const QString& Condicion) {
    QString sentencia =
        QStringLiteral("SELECT MAX(") + QueCampo + QStringLiteral(") AS MAYOR FROM ") + QueTabla;
    if (!TextoVb::recortar(Condicion).isEmpty())
        sentencia += QStringLiteral(" WHERE ") + Condicion;
    Recordset rs;
    rs.open(sentencia, conexion(), adOpenForwardOnly, adLockReadOnly, -1);
    if (rs.bof() || rs.eof())
        return QVariant();
    const QString texto = Utilidades::TextoDeValor(rs.value(QStringLiteral("MAYOR")));
    rs.close();
    return Utilidades::NumeroInicial(texto);
}

} // namespace rp::db
