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
// Fewer moves than this would not mean much; moves played on purpose make
// up for a random input that played fewer.
constexpr int kMoveFloor = 6;
} // namespace

TEST(PlayRandom, ShortGamesWithRandomInputKeepTheTurnsTheComputersAnswersAndTheBoardInStep)
{
    SKIP_WITHOUT_DISPLAY();
    const uint64_t seed = randomPlaySeed();
    std::printf("random play seed %llu (VELMORIQUE_PLAY_SEED=%llu plays it again)\n",
                static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed));
    Driver driver;
    PngOnFailure png(driver);
    const RandomPlayReport report = playRandomly(driver, seed, kFrames, kMoveFloor);
    EXPECT_EQ(report.fault, "") << "seed " << seed << " (VELMORIQUE_PLAY_SEED=" << seed << ")";
    EXPECT_GE(report.frames, kFrames) << "seed " << seed;
    EXPECT_GE(report.moves, kMoveFloor) << "seed " << seed;
    std::printf("%d frames, %d games, %d moves\n", report.frames, report.games, report.moves);
}

// In its first ten frames this seed opens the in-game menu and plays no
// move: the missing moves are played on purpose once the menu is closed
// again, so that the floor above holds whatever the seed.
TEST(PlayRandom, TooFewRandomMovesAreMadeUpByMovesPlayedOnPurpose)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    const RandomPlayReport report = playRandomly(driver, 924611171, 10, 2);
    EXPECT_EQ(report.fault, "");
    EXPECT_GE(report.moves, 2);
    EXPECT_GT(report.frames, 10);
}
