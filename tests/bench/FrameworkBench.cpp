#include "Framework/BinaryStream.h"
#include "Framework/Timer.h"

#include <benchmark/benchmark.h>

#include <vector>

static void BM_TimerRead(benchmark::State& state)
{
    Timer timer;
    timer.start();
    for (auto _ : state)
        benchmark::DoNotOptimize(timer.getElapsed());
}
BENCHMARK(BM_TimerRead);

static void BM_MemoryStreamValues(benchmark::State& state)
{
    std::vector<uint32_t> data(1024, 7);
    for (auto _ : state)
    {
        MemoryInputStream in(data.data(), static_cast<uint32_t>(data.size() * 4));
        uint32_t sum = 0, v = 0;
        while (in.transferValue(v) == ERROR_OK)
            sum += v;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_MemoryStreamValues);
