#pragma once
// The program's pseudo-random numbers: one generator for the process, a linear congruential one
// over a 32-bit seed, so a seed set by a test repeats the same sequence. Main-thread use only:
// RandSeed is a plain variable, as the components expect.
#include <cstdint>

// The generator's state; Randomize sets it from the clock, tests set it directly.
extern uint32_t RandSeed;

// Seeds the generator from the clock.
void Randomize();
// 0 <= result < Range; 0 for a Range of 0 or less.
int32_t Random(int32_t Range);
// 0 <= result < 1.
double Random();
