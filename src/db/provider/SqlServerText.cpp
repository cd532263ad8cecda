#include "db/provider/SqlServerText.h"

namespace rp::db::mssql {

namespace {

// The code point at s[i], i < n, and the position after it. An invalid lead
// byte gives U+FFFD; a cut sequence keeps the bits it has.
inline char32_t nextCodePoint(const unsigned char* s, int n, int& i) {
    const unsigned char c = s[i++];
    if (c < 0x80)
        return c;
    char32_t cp;
    int extra;
    if ((c & 0xE0) == 0xC0) {
        cp = c & 0x1F;
        extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
        cp = c & 0x0F;
        extra = 2;
    } else if ((c & 0xF8) == 0xF0) {
        cp = c & 0x07;
        extra = 3;
    } else {
        return 0xFFFD;
    }
    for (int k = 0; k < extra && i < n; ++k, ++i)
        cp = (cp << 6) | (s[i] & 0x3F);
    return cp;
}

// True when the code points from s[i] on are all blanks.
bool onlyBlanksFrom(const unsigned char* s, int n, int i) {
    while (i < n) {
        if (nextCodePoint(s, n, i) != U' ')
            return false;
    }
    return true;
}

} // namespace

Text decodeUtf8(const unsigned char* s, int n) {
    Text out;
    out.reserve(static_cast<size_t>(n > 0 ? n : 0));
    int i = 0;
    while (i < n)
        out.push_back(nextCodePoint(s, n, i));
    return out;
}

std::string encodeUtf8(const Text& t) {
    std::string out;
    out.reserve(t.size());
    for (char32_t cp : t) {
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

char32_t toLowerCp(char32_t c) {
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    if (c >= 0x100 && c <= 0x137)
        return c | 1;
    if (c >= 0x139 && c <= 0x148)
        return (c & 1) ? c + 1 : c;
    if (c >= 0x14A && c <= 0x177)
        return c | 1;
    if (c == 0x178)
        return 0xFF;
    if (c >= 0x179 && c <= 0x17E)
        return (c & 1) ? c + 1 : c;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
        return c + 32;
    if (c >= 0x410 && c <= 0x42F)
        return c + 32;
    if (c >= 0x400 && c <= 0x40F)
        return c + 80;
    return c;
}

char32_t toUpperCp(char32_t c) {
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? c - 32 : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 32;
    if (c == 0xFF)
        return 0x178;
    if (c >= 0x100 && c <= 0x137)
        return c & ~char32_t(1);
    if (c >= 0x139 && c <= 0x148)
        return (c & 1) ? c : c - 1;
    if (c >= 0x14A && c <= 0x177)
        return c & ~char32_t(1);
    if (c >= 0x179 && c <= 0x17E)
        return (c & 1) ? c : c - 1;
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2)
        return c - 32;
    if (c >= 0x430 && c <= 0x44F)
        return c - 32;
    if (c >= 0x450 && c <= 0x45F)
        return c - 80;
    return c;
}

size_t lengthWithoutTrailingBlanks(const Text& t) {
    size_t n = t.size();
    while (n > 0 && t[n - 1] == U' ')
        --n;
    return n;
}

namespace {

bool isAscii(const unsigned char* s, int n) {
    for (int i = 0; i < n; ++i) {
        if (s[i] & 0x80)
            return false;
    }
    return true;
}

// The same order as the general comparison, for texts of plain ASCII (codes
// and most keys): no decoding, no allocation.
int compareAscii(const unsigned char* a, int na, const unsigned char* b, int nb) {
    while (na > 0 && a[na - 1] == ' ')
        --na;
    while (nb > 0 && b[nb - 1] == ' ')
        --nb;
    const int n = na < nb ? na : nb;
    for (int i = 0; i < n; ++i) {
        const unsigned char ca = (a[i] >= 'A' && a[i] <= 'Z') ? a[i] + 32 : a[i];
        const unsigned char cb = (b[i] >= 'A' && b[i] <= 'Z') ? b[i] + 32 : b[i];
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

} // namespace

int compareUtf8(int n1, const void* p1, int n2, const void* p2) {
    const auto* s1 = static_cast<const unsigned char*>(p1);
    const auto* s2 = static_cast<const unsigned char*>(p2);
    if (isAscii(s1, n1) && isAscii(s2, n2))
        return compareAscii(s1, n1, s2, n2);
    // Sorting calls this for every pair, and most pairs differ early: the
    // texts are decoded side by side only up to the first difference.
    int i1 = 0;
    int i2 = 0;
    while (i1 < n1 && i2 < n2) {
        const int at1 = i1;
        const int at2 = i2;
        const char32_t a = nextCodePoint(s1, n1, i1);
        const char32_t b = nextCodePoint(s2, n2, i2);
        if (a == b)
            continue;
        const char32_t ca = toLowerCp(a);
        const char32_t cb = toLowerCp(b);
        if (ca == cb)
            continue;
        // A blank against another character: when only blanks follow, that
        // text has ended (trailing blanks do not count) and is the shorter.
        if (a == U' ' && onlyBlanksFrom(s1, n1, at1))
            return -1;
        if (b == U' ' && onlyBlanksFrom(s2, n2, at2))
            return 1;
        return ca < cb ? -1 : 1;
    }
    const bool rest1 = !onlyBlanksFrom(s1, n1, i1);
    const bool rest2 = !onlyBlanksFrom(s2, n2, i2);
    return rest1 ? 1 : (rest2 ? -1 : 0);
}

namespace {

// One pattern element other than % at p[pi] against the character c: an
// escaped character, _, a [set] or a plain character. `next` is where the
// following element starts.
bool elementMatches(const Text& p, size_t pi, char32_t c, char32_t escape, size_t& next) {
    const char32_t e = p[pi];
    if (escape && e == escape && pi + 1 < p.size()) {
        next = pi + 2;
        return toLowerCp(c) == toLowerCp(p[pi + 1]);
    }
    next = pi + 1;
    if (e == U'_')
        return true;
    if (e == U'[') {
        const size_t close = p.find(U']', pi + 1);
        if (close != Text::npos && close > pi + 1) {
            size_t k = pi + 1;
            bool negate = false;
            if (p[k] == U'^') {
                negate = true;
                ++k;
            }
            bool hit = false;
            const char32_t sc = toLowerCp(c);
            while (k < close) {
                if (k + 2 < close && p[k + 1] == U'-') {
                    if (sc >= toLowerCp(p[k]) && sc <= toLowerCp(p[k + 2]))
                        hit = true;
                    k += 3;
                } else {
                    if (sc == toLowerCp(p[k]))
                        hit = true;
                    ++k;
                }
            }
            next = close + 1;
            return hit != negate;
        }
    }
    return toLowerCp(e) == toLowerCp(c);
}

bool isPercent(const Text& p, size_t pi, char32_t escape) {
    return p[pi] == U'%' && !(escape && escape == U'%' && pi + 1 < p.size());
}

} // namespace

// Every element but % takes exactly one character, so one back-track point
// suffices: on a mismatch the last % takes one character more. At most
// (|s| + 1) * |p| steps.
bool likeMatch(const Text& p, size_t pi, const Text& s, size_t si, char32_t escape) {
    size_t starPi = Text::npos; // pattern position after the last %
    size_t starSi = 0;          // where the text after that % was tried from
    while (si < s.size()) {
        if (pi < p.size() && isPercent(p, pi, escape)) {
            while (pi < p.size() && isPercent(p, pi, escape))
                ++pi;
            if (pi == p.size())
                return true;
            starPi = pi;
            starSi = si;
            continue;
        }
        size_t next = pi;
        if (pi < p.size() && elementMatches(p, pi, s[si], escape, next)) {
            pi = next;
            ++si;
            continue;
        }
        if (starPi == Text::npos)
            return false;
        pi = starPi;
        si = ++starSi;
    }
    while (pi < p.size() && isPercent(p, pi, escape))
        ++pi;
    return pi == p.size();
}

} // namespace rp::db::mssql
