// The random play-through of tests/Play (short games against the computer,
// random input at random frames, the turn checked after every frame) run for
// many more frames than ./test gives it. VELMORIQUE_PLAY_SEED plays a run
// again; VELMORIQUE_SOAK_FRAMES sets its length. A fault ends the run with an
// error naming its seed.
#include "RandomPlay.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{

constexpr int kDefaultFrames = 6000;

int soakFrames()
{
    const char* text = std::getenv("VELMORIQUE_SOAK_FRAMES");
    const int frames = text != nullptr ? std::atoi(text) : 0;
    return frames > 0 ? frames : kDefaultFrames;
}

void RandomPlaySoak(benchmark::State& state)
{
    const int frames = soakFrames();
    for (auto _ : state)
    {
        const uint64_t seed = Play::randomPlaySeed();
        std::fprintf(stderr, "random play seed %llu, %d frames\n", static_cast<unsigned long long>(seed),
                     frames);
        Play::Driver driver;
        const Play::RandomPlayReport report = Play::playRandomly(driver, seed, frames);
        state.counters["frames"] = report.frames;
        state.counters["games"] = report.games;
        state.counters["moves"] = report.moves;
        state.counters["seed"] = static_cast<double>(seed);
        if (!report.fault.empty())
        {
            const std::string error = "seed " + std::to_string(seed) + ": " + report.fault;
            std::fprintf(stderr, "%s\n", error.c_str());
            state.SkipWithError(error.c_str());
            break;
        }
    }
}
BENCHMARK(RandomPlaySoak)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
