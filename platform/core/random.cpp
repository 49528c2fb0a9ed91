#include "platform/core/random.h"

#include <cmath>

namespace plat {

namespace {

// xorshift64* over a state spread from the 32-bit seed, so that small seeds
// (0, 1, 2...) still give unrelated sequences and no seed gives the stuck
// all-zero state.
struct Generator {
    std::uint32_t seed = 0x2545F491u;
    std::uint64_t state = 0;

    void Seed(std::uint32_t s) {
        seed = s;
        std::uint64_t z = static_cast<std::uint64_t>(s) + 0x9E3779B97F4A7C15ull;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        state = z ? z : 0x9E3779B97F4A7C15ull;
    }

    std::uint64_t Next() {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return state * 0x2545F4914F6CDD1Dull;
    }
};

Generator& Gen() {
    static Generator g = [] {
        Generator fresh;
        fresh.Seed(fresh.seed);
        return fresh;
    }();
    return g;
}

}  // namespace

void SeedRnd(std::uint32_t seed) { Gen().Seed(seed); }

std::uint32_t RndSeed() { return Gen().seed; }

int Rand(int min, int max) {
    if (min > max) {
        int t = min;
        min = max;
        max = t;
    }
    std::uint64_t span = static_cast<std::uint64_t>(static_cast<std::int64_t>(max) - min) + 1;  // 1 .. 2^32
    // Multiply-shift maps the top 32 bits onto the span without a modulo bias
    // worth measuring at these sizes.
    std::uint64_t r = Gen().Next() >> 32;
    std::int64_t offset = static_cast<std::int64_t>((r * span) >> 32);
    return static_cast<int>(min + offset);
}

double Rnd(double min, double max) {
    double unit = static_cast<double>(Gen().Next() >> 11) * (1.0 / 9007199254740992.0);  // [0, 1)
    double v = min + (max - min) * unit;
    // Rounding can land on max for wide ranges; the range stays half-open.
    if (max > min && v >= max) v = std::nextafter(max, min);
    return v;
}

}  // namespace plat
