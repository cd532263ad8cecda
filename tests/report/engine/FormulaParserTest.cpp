#include "report/engine/ErrorMotor.h"
#include "report/engine/ParserFormula.h"

#include <gtest/gtest.h>

using namespace rp::motor;

TEST(FormulaParser, Placeholder) {
    EXPECT_TRUE(ParserFormula::analizar("{a.b} = 1") != nullptr);
}
