#pragma once

#include "report/FiltroRango.h"

#include <QString>

namespace rp::report {

// Turns a filter table into a record selection formula of the report engine.
//
// On success writes the formula (empty when no range has a bound), leaves
// `Mensaje` untouched and returns true. On rejection writes the message
// ("Operador logico incorrecto", "Desde Mayor que Hasta, Campo : {..}",
// "Fecha Desde Incorrecta , Campo : {..}", "Fecha Desde Mayor que Hasta ,
// Campo : {..}", "Valor Numerico Incorrecto , Campo : {..}"), leaves
// `Formula` untouched and returns false.
//
// Text bounds go into the formula as string literals with their apostrophes
// doubled, so nothing typed can end a literal early. Dates: a "Desde" date
// without a time starts at the first second of its day and a "Hasta" date
// without a time takes in the whole day (compared as "< the next day");
// a time typed with the date is used as it stands. Number bounds must be
// numbers and are written with a decimal point.
bool ArmarFiltro(const TablaFiltros& Filtros, QString& Formula, QString& Mensaje);

} // namespace rp::report
