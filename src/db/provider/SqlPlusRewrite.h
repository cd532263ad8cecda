#pragma once

#include "db/provider/SqlNode.h"

namespace rp::db {

// SQL Server's '+' on one level of a statement: between texts it concatenates
// (||), between numbers it adds (+ stays); where the operand types are not
// known from the statement, RP_ADD(a, b) decides from the values at run time.
void rewritePlus(QList<SqlNode>& level);

} // namespace rp::db
