#pragma once

#include <cstdint>

namespace rp::demo {

// Pseudo-random numbers that are the same on every platform and library for a
// given seed (xoshiro256** seeded through splitmix64). The standard library's
// distributions are not used: their results differ between implementations.
class GeneradorAzar {
public:
    explicit GeneradorAzar(std::uint64_t semilla) {
        std::uint64_t x = semilla;
        for (auto& s : s_) {
            x += 0x9E3779B97F4A7C15ULL;
            std::uint64_t z = x;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
            s = z ^ (z >> 31);
        }
    }

    std::uint64_t siguiente() {
        const std::uint64_t resultado = rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = rotl(s_[3], 45);
        return resultado;
    }

    // Whole number in [0, n); 0 when n <= 0.
    std::int64_t entero(std::int64_t n) {
        if (n <= 0)
            return 0;
        return static_cast<std::int64_t>(siguiente() % static_cast<std::uint64_t>(n));
    }

    // Whole number in [desde, hasta].
    std::int64_t entre(std::int64_t desde, std::int64_t hasta) {
        return desde + entero(hasta - desde + 1);
    }

    // Real number in [0, 1).
    double real() { return static_cast<double>(siguiente() >> 11) * 0x1.0p-53; }

    // Real number in [desde, hasta).
    double real(double desde, double hasta) { return desde + (hasta - desde) * real(); }

    // True with the given probability.
    bool probabilidad(double p) { return real() < p; }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t s_[4];
};

} // namespace rp::demo
