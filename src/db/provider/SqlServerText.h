#pragma once

// Text rules of SQL Server's default collation, shared by the MSSQL collation,
// LIKE and the text functions: UTF-8 code points, letter case of Western
// European, Greek and Cyrillic letters, trailing blanks. No Qt (the loadable
// extension module uses it too).

#include <string>

namespace rp::db::mssql {

using Text = std::u32string;

Text decodeUtf8(const unsigned char* s, int n);
std::string encodeUtf8(const Text& t);
char32_t toLowerCp(char32_t c);
char32_t toUpperCp(char32_t c);
size_t lengthWithoutTrailingBlanks(const Text& t);
// Version of the collation order below. Indexes on text columns store that
// order: a database stamped with another version in its table RP_COLLATION
// is reindexed when it is opened for writing. Raise it with any change that
// can reorder two texts.
inline constexpr int kCollationVersion = 1;
// Collation order: case-insensitive, accents count, trailing blanks ignored.
int compareUtf8(int n1, const void* p1, int n2, const void* p2);
// SQL Server LIKE (%, _, [set], [^set], [a-z]), case-insensitive; escape 0 = none.
bool likeMatch(const Text& pattern, size_t pi, const Text& s, size_t si, char32_t escape);

} // namespace rp::db::mssql
