#pragma once

#include <cstdint>

// The three random streams of a composition; each is its state.
extern int32_t transformStream;
extern int32_t mutationStream;
extern int32_t paletteStream;

// n < 0 seeds (state = -n, returns n); n = 0 peeks (returns the state); n > 0 draws:
// returns the state before advancing modulo n + 1, a value in 0..n.
int32_t RandomDraw(int32_t& state, int32_t n);

// 0 for n = 0 without consuming anything; otherwise the next value of the runtime
// generator modulo n.
int32_t RuntimeRandom(int32_t n);
// Seeds the runtime generator (std::minstd_rand, the same sequence on every machine).
void SeedRuntimeRandom(uint32_t seed);

// The three stream seeds of one composition.
struct StreamSeeds {
    int32_t transform;
    int32_t mutation;
    int32_t palette;
};

// Seeds as the last reseed set them.
extern StreamSeeds lastStreamSeeds;

// Draws the three seeds (1..1000000) from the runtime generator, in the order
// transform, mutation, palette, and seeds the streams with them.
void ReseedStreams();
// Seeds the streams with the given values (each 1 or more).
void ReseedStreams(const StreamSeeds& seeds);
