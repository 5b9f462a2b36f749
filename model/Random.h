#pragma once

#include <cstdint>

// Every random choice of Orbalin goes through these three functions, which draw from the
// C library's one process-wide `random` stream. Each call takes exactly one value r from the
// source and maps it with r / 2147483647.0, so both ends of every range can come out.

double randomDoubleBetweenZeroOne();
double randomDoubleBetween(double lower, double upper);
// An integer from lower to upper (the name's three e's are the scene format's history).
// Truncates toward zero: the upper end comes out only for the largest draw.
int32_t randomIntBetweeen(int32_t lower, int32_t upper);

// Seeds the process-wide stream (srandom).
void seedRandom(uint32_t seed);

// Test seam: replaces the source of raw values (0 to 2147483647). nullptr restores `random`.
// Returns the previous source.
using RandomSource = long (*)();
RandomSource setRandomSource(RandomSource source);
