#include "fractal/RandomStreams.h"

#include <random>

int32_t transformStream = 0;
int32_t mutationStream = 0;
int32_t paletteStream = 0;
StreamSeeds lastStreamSeeds = {0, 0, 0};

namespace {

std::minstd_rand runtimeGenerator;

} // namespace

int32_t RandomDraw(int32_t& state, int32_t n)
{
    if (n < 0) {
        // Through 64 bits so that the most negative n cannot overflow the negation.
        state = static_cast<int32_t>(-static_cast<int64_t>(n));
        return n;
    }
    if (n == 0)
        return state;
    int32_t result = state % (n + 1);
    // The product's low 32 bits read as signed, as a 32-bit multiplication gives them.
    int32_t product = static_cast<int32_t>(static_cast<uint32_t>(state) * 2879u);
    int64_t magnitude = product < 0 ? -static_cast<int64_t>(product) : product;
    state = static_cast<int32_t>(magnitude % 1000000021 + 1);
    return result;
}

int32_t RuntimeRandom(int32_t n)
{
    if (n == 0)
        return 0;
    // minstd_rand yields 1..2^31-2: non-negative 31-bit values.
    return static_cast<int32_t>(runtimeGenerator() % static_cast<uint32_t>(n));
}

void SeedRuntimeRandom(uint32_t seed)
{
    runtimeGenerator.seed(seed);
}

void ReseedStreams(const StreamSeeds& seeds)
{
    RandomDraw(transformStream, -seeds.transform);
    RandomDraw(mutationStream, -seeds.mutation);
    RandomDraw(paletteStream, -seeds.palette);
    lastStreamSeeds = seeds;
}

void ReseedStreams()
{
    StreamSeeds seeds;
    seeds.transform = RuntimeRandom(1000000) + 1;
    seeds.mutation = RuntimeRandom(1000000) + 1;
    seeds.palette = RuntimeRandom(1000000) + 1;
    ReseedStreams(seeds);
}
