#include "db/provider/SqlServerText.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

int comparar(const char* a, const char* b) {
    const int r = rp::db::mssql::compareUtf8(int(std::strlen(a)), a, int(std::strlen(b)), b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

// The collation orders plain ASCII texts (the fast path) and texts with
// Spanish letters (the general path) by the same rules: letter case and
// trailing blanks do not count.
TEST(CollationMssql, SameRulesForAsciiAndAccentedTexts) {
    EXPECT_EQ(comparar("abc", "ABC  "), 0);
    EXPECT_EQ(comparar("", "   "), 0);
    EXPECT_EQ(comparar("a", "B"), -1);
    EXPECT_EQ(comparar("Z", "a"), 1);
    EXPECT_EQ(comparar("ab", "a"), 1);
    EXPECT_EQ(comparar("  1", "1"), -1); // leading blanks count (codes are right-aligned)
    EXPECT_EQ(comparar("   10", "    9"), 1);
    EXPECT_EQ(comparar("Ñandú ", "ñANDÚ"), 0);
    EXPECT_EQ(comparar("Ñandu", "ñandú"), -1);
    EXPECT_EQ(comparar("abc", "abcé"), -1);
    EXPECT_EQ(comparar("ABD", "abcé"), 1);
}

} // namespace
