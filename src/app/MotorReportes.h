#pragma once

namespace rp::app {

// Hands the form's report requests to the report engine for the rest of the
// run: rows from the shared database connection, dialogs through the
// operator, each request noted in the SQL trace when one is kept.
void instalarMotorReportes();

} // namespace rp::app
