#include "startup/Sentencias.h"

#include "db/DB_Dll.h"
#include "startup/AvisoError.h"
#include "startup/GrabaErrorAux.h"
#include "suite/Aplicacion.h"
#include "ui/Operador.h"

namespace rp::startup {

using rp::db::DB_Dll;
using rp::db::DbError;

ListaCampos& listaCampos() {
    static ListaCampos lista{ParCampo{}};
    return lista;
}

void AgregaValor(const QString& Campo, QString& Valor, const QString& Tipo, bool Nuevo,
                 ListaCampos& lista) {
    if (Nuevo)
        lista = ListaCampos{ParCampo{}};
    else
        lista.append(ParCampo{});
    Valor.remove(QLatin1Char('\''));
    ParCampo& par = lista.last();
    par.campo = Campo;
    par.literal = Valor.toUpper() == QLatin1String("NULL") ? QStringLiteral("Null")
                                                           : DB_Dll::SQLValue(Valor, Tipo);
}

void ArmaSentencia(ListaCampos& Lista, QStringList& Script, const QString& Tabla, bool EsUpdate,
                   QString& Condicion, bool Conservar) {
    QString sentencia;
    if (EsUpdate) {
        QStringList asignaciones;
        for (const ParCampo& p : Lista)
            asignaciones << p.campo + QStringLiteral(" = ") + p.literal;
        if (!Condicion.contains(QLatin1String("WHERE"), Qt::CaseInsensitive))
            Condicion = QStringLiteral(" WHERE ") + Condicion;
        sentencia = QStringLiteral("UPDATE ") + Tabla + QStringLiteral(" SET ") +
                    asignaciones.join(QLatin1Char(',')) + QLatin1Char(' ') + Condicion;
    } else {
        QStringList campos;
        QStringList literales;
        for (const ParCampo& p : Lista) {
            campos << p.campo;
            literales << p.literal;
        }
        sentencia = QStringLiteral("INSERT INTO ") + Tabla + QStringLiteral(" (") +
                    campos.join(QLatin1Char(',')) + QStringLiteral(") VALUES (") +
                    literales.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    Script << sentencia << QString();
    if (!Conservar)
        Lista = ListaCampos{ParCampo{}};
}

QString MensajeErroresLote(const QList<rp::db::ProviderError>& errores) {
    QString texto;
    const qsizetype hasta = errores.size() == 1 ? 1 : errores.size() - 1;
    for (qsizetype i = 0; i < hasta; ++i)
        texto += QString::number(errores.at(i).nativeError) + QStringLiteral(" : ") +
                 errores.at(i).description + QStringLiteral("\r\n");
    return texto;
}

void GActualizarDatoScript(const QStringList& Script, bool& HuboError, qint32& ErrorNativo,
                           bool IgnorarDuplicado, bool IgnorarRelacion, QString& Sentencia,
                           QString& Mensaje, bool MostrarMensaje) {
    DB_Dll& db = rp::db::baseCompartida();
    HuboError = false;
    const QChar cr(13);

    QString unido;
    for (const QString& s : Script) {
        if (!s.trimmed().isEmpty())
            unido += cr + s;
    }
    if (unido.isEmpty())
        return;
    const QString lote = QStringLiteral("BEGIN TRANSACTION ") + cr + cr + unido + cr;

    bool enviado = false;
    // Once the batch has opened its transaction, leaving early must not keep
    // it open on the shared connection.
    auto cerrarTransaccion = [&] {
        if (!enviado)
            return;
        QString rollback = QStringLiteral("ROLLBACK TRANSACTION");
        qint32 n = 0;
        db.EjecutaConsultaSQL(rollback, n);
        if (db.gCnn)
            db.gCnn->clearErrors();
    };

    Sentencia = lote;
    try {
        QString texto = lote;
        qint32 afectadas = 0;
        enviado = true;
        db.EjecutaConsultaSQL(texto, afectadas);
    } catch (const DbError&) {
    }

    qint32 primero = 0;
    QString textoMensaje;
    try {
        if (db.gCnn && !db.gCnn->errors().isEmpty()) {
            const auto& errores = db.gCnn->errors();
            primero = errores.first().nativeError;
            HuboError = true;
            const qsizetype hasta = errores.size() == 1 ? 1 : errores.size() - 1;
            for (qsizetype i = 0; i < hasta; ++i)
                textoMensaje += QString::number(errores.at(i).nativeError) + QStringLiteral(" : ") +
                                errores.at(i).description + QStringLiteral("\r\n");
            Mensaje = textoMensaje;
            if ((IgnorarDuplicado && primero == 2627) || (IgnorarRelacion && primero == 547)) {
                Mensaje = errores.first().description;
                textoMensaje.clear();
            }
            db.gCnn->clearErrors();
        }
    } catch (const DbError& e) {
        const int r = AvisoError(rp::suite::CodErr{e.number(), e.description(), e.source()},
                                 std::nullopt, QStringLiteral("GActualizarDatoScript"));
        if (r != 5) {
            cerrarTransaccion();
            return;
        }
    }

    if (HuboError) {
        QString rollback = QStringLiteral("ROLLBACK TRANSACTION");
        qint32 n = 0;
        db.EjecutaConsultaSQL(rollback, n);
        if (db.gCnn)
            db.gCnn->clearErrors();
        GrabaErrorAux(lote, rp::suite::Aplicacion::nombreEjecutable(), primero, textoMensaje);
        if (!textoMensaje.trimmed().isEmpty() && MostrarMensaje)
            rp::ui::operador().mensaje(textoMensaje, 16, QStringLiteral("Aviso al Operador!"));
    } else {
        QString commit = QStringLiteral("COMMIT TRANSACTION");
        qint32 n = 0;
        db.EjecutaConsultaSQL(commit, n);
    }
    ErrorNativo = primero;
}

} // namespace rp::startup
