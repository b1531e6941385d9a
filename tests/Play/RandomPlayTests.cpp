// Short games against the computer with random input at random frames; the
// turn, the computer's answer, the animals' places and the plaque are checked
// after every frame. tests/bench/soak plays the same for much longer.
#include "PlayChecks.h"
#include "RandomPlay.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace Play;

namespace
{
// A few tens of seconds under the software renderer.
constexpr int kFrames = 400;
} // namespace

TEST(PlayRandom, ShortGamesWithRandomInputKeepTheTurnsTheComputersAnswersAndTheBoardInStep)
{
    SKIP_WITHOUT_DISPLAY();
    const uint64_t seed = randomPlaySeed();
    std::printf("random play seed %llu (VELMORIQUE_PLAY_SEED=%llu plays it again)\n",
                static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed));
    Driver driver;
    PngOnFailure png(driver);
    const RandomPlayReport report = playRandomly(driver, seed, kFrames);
    EXPECT_EQ(report.fault, "") << "seed " << seed << " (VELMORIQUE_PLAY_SEED=" << seed << ")";
    EXPECT_EQ(report.frames, kFrames) << "seed " << seed;
    EXPECT_GE(report.moves, 6) << "seed " << seed << ": the random input played too few moves to mean much";
    std::printf("%d frames, %d games, %d moves\n", report.frames, report.games, report.moves);
}
