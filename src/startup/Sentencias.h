#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "db/provider/ProviderError.h"

namespace rp::startup {

// One column/value pair of a statement being built.
struct ParCampo {
    QString campo;
    QString literal; // SQL literal text ('ABC', 12.5, Null)
};
using ListaCampos = QList<ParCampo>;

// The field list shared by the program's statement builders.
ListaCampos& listaCampos();

// Adds one pair to `lista` (a fresh list when `Nuevo`). Apostrophes are
// removed from `Valor` (the caller's text too); "NULL" in any case becomes
// the literal Null; otherwise the literal of `SQLValue` for marker `Tipo`.
void AgregaValor(const QString& Campo, QString& Valor, const QString& Tipo, bool Nuevo,
                 ListaCampos& lista = listaCampos());

// Appends one INSERT or UPDATE statement built from `Lista` to `Script`,
// followed by one empty entry. Without `Conservar` the list is reset to one
// empty entry.
void ArmaSentencia(ListaCampos& Lista, QStringList& Script, const QString& Tabla, bool EsUpdate,
                   QString& Condicion, bool Conservar);

// The operator's text for a failed batch: one line "native : description"
// per provider error, all but the last when there are two or more (the last
// is the server's closing notice).
QString MensajeErroresLote(const QList<rp::db::ProviderError>& errores);

// Runs a script as one batch inside a transaction on the shared connection;
// a failed batch is rolled back, recorded in AUX_ERR and, when asked, shown.
void GActualizarDatoScript(const QStringList& Script, bool& HuboError, qint32& ErrorNativo,
                           bool IgnorarDuplicado, bool IgnorarRelacion, QString& Sentencia,
                           QString& Mensaje, bool MostrarMensaje);

} // namespace rp::startup
