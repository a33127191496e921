#pragma once

#include <cstdint>
#include <functional>

// The game's one pseudo-random generator. It is reseeded from the clock whenever a city is
// built; tests replace the seed source so that every game they play is the same.
namespace GameRandom {

using SeedSource = std::function<uint32_t()>;

// Uniform in 0..n - 1; 0 when n <= 0.
int Random(int n);
// Reseeds from the seed source (the clock unless replaced).
void Randomize();
void seed(uint32_t value);
// Installs a seed source; an empty one restores the clock.
void setSeedSource(SeedSource source);

} // namespace GameRandom

// 1 with a chance of Percent in 100, else 0: a draw r in 0..99 succeeds when r < Percent.
int Chance(int Percent);
