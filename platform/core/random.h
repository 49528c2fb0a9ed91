#pragma once
// The layer's shared random generator (seedable, the same sequence on every
// machine for one seed).  The C library generator (std::rand) stays separate:
// the framework builds its second random source on it.

#include <cstdint>

namespace plat {

void SeedRnd(std::uint32_t seed);
std::uint32_t RndSeed();

// An Int in min..max inclusive (the bounds may come in either order).
int Rand(int min, int max);
inline int RandomInt(int min, int max) { return Rand(min, max); }
// A real in [min, max).
double Rnd(double min = 0.0, double max = 1.0);

}  // namespace plat
