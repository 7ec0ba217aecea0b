#pragma once
#include <cstdint>

// The random generator of the rotation: linear congruential, draws 0..32767, reseeded from
// the tick count and a counter before every pick.
struct RandomGenerator {
  uint32_t state = 0;
  uint32_t reseedCounter = 0;
};

uint32_t drawRandom(RandomGenerator& generator);

// A 1-based index into a list of count entries, given the tick count at the moment of the
// pick. Lists of more than 32768 entries combine two draws, so that every entry can come.
int32_t pickRandomIndex(RandomGenerator& generator, uint32_t tickCount, int32_t count);

// The same, with GetTickCount() and the program's generator.
int32_t pickRandomIndex(int32_t count);
