#pragma once

// A plain dynamic-programming LIKE matcher with SQL Server's rules (%, _,
// [set], [^set], [a-z], escape character, letter case folded), written for
// clarity, to check the production matcher against.

#include "db/provider/SqlServerText.h"

#include <vector>

namespace rp::prueba {

inline bool likeReferencia(const rp::db::mssql::Text& p, const rp::db::mssql::Text& s,
                           char32_t escape) {
    using rp::db::mssql::toLowerCp;
    // Split the pattern into elements; each matches one character or any run.
    struct Elemento {
        bool cualquiera = false; // %
        std::vector<std::pair<char32_t, char32_t>> rangos;
        bool negado = false;
        bool uno = false; // _
    };
    std::vector<Elemento> el;
    for (size_t i = 0; i < p.size();) {
        Elemento e;
        const char32_t c = p[i];
        if (escape && c == escape && i + 1 < p.size()) {
            e.rangos.push_back({toLowerCp(p[i + 1]), toLowerCp(p[i + 1])});
            i += 2;
        } else if (c == U'%') {
            e.cualquiera = true;
            ++i;
        } else if (c == U'_') {
            e.uno = true;
            ++i;
        } else if (c == U'[' && p.find(U']', i + 1) != rp::db::mssql::Text::npos &&
                   p.find(U']', i + 1) > i + 1) {
            const size_t cierre = p.find(U']', i + 1);
            size_t k = i + 1;
            if (p[k] == U'^') {
                e.negado = true;
                ++k;
            }
            while (k < cierre) {
                if (k + 2 < cierre && p[k + 1] == U'-') {
                    e.rangos.push_back({toLowerCp(p[k]), toLowerCp(p[k + 2])});
                    k += 3;
                } else {
                    e.rangos.push_back({toLowerCp(p[k]), toLowerCp(p[k])});
                    ++k;
                }
            }
            i = cierre + 1;
        } else {
            e.rangos.push_back({toLowerCp(c), toLowerCp(c)});
            ++i;
        }
        el.push_back(e);
    }
    auto toma = [&](const Elemento& e, char32_t ch) {
        if (e.uno)
            return true;
        const char32_t x = toLowerCp(ch);
        bool dentro = false;
        for (const auto& r : e.rangos)
            if (x >= r.first && x <= r.second)
                dentro = true;
        return dentro != e.negado;
    };
    // m[i][j]: the first i elements match the first j characters.
    std::vector<std::vector<char>> m(el.size() + 1, std::vector<char>(s.size() + 1, 0));
    m[0][0] = 1;
    for (size_t i = 1; i <= el.size(); ++i)
        for (size_t j = 0; j <= s.size(); ++j) {
            if (el[i - 1].cualquiera)
                m[i][j] = m[i - 1][j] || (j > 0 && m[i][j - 1]);
            else
                m[i][j] = j > 0 && m[i - 1][j - 1] && toma(el[i - 1], s[j - 1]);
        }
    return m[el.size()][s.size()] != 0;
}

} // namespace rp::prueba
