#include "engine/random_pick.h"

#include <windows.h>

#include "app/program.h"

uint32_t drawRandom(RandomGenerator& generator) {
  generator.state = generator.state * 214013u + 2531011u;
  return (generator.state >> 16) & 0x7FFF;
}

int32_t pickRandomIndex(RandomGenerator& generator, uint32_t tickCount, int32_t count) {
  // The counter makes two reseeds within the same millisecond differ.
  uint32_t seed = tickCount + generator.reseedCounter;
  generator.state = seed;
  generator.reseedCounter += seed % 256 + 100;
  if (count == 1) return 1;
  uint32_t r = drawRandom(generator);
  if (count > 32768) r = (r << 15) | drawRandom(generator);
  if (count < 2) return static_cast<int32_t>(r % 2);  // an empty list: the range rule gives 1
  return 1 + static_cast<int32_t>(r % static_cast<uint32_t>(count));
}

int32_t pickRandomIndex(int32_t count) {
  return pickRandomIndex(program().random, GetTickCount(), count);
}
