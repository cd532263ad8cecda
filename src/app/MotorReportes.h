#pragma once

namespace rp::app {

// Hands the form's report requests to the report engine until
// `quitarMotorReportes`: rows from the shared database connection, dialogs
// through the operator of the moment, each request noted in the SQL trace
// when one is kept; a double click or Enter on a preview's line opens that
// article's history. The engine is made at the first request.
void instalarMotorReportes();
// Takes the engine out again (the end of the program).
void quitarMotorReportes();

} // namespace rp::app
