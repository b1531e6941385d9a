// The timed 2D effects: how each kind lays its entries out in time, where the
// values stand along the way, and the second easing.
#include "Engine/Effect2D.h"
#include "Engine/LayerEffect.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Effect2D, TheWaveEasingStartsAtZeroEndsAtOneAndOvershoots)
{
    EXPECT_FLOAT_EQ(easeOutWave(0.0f), 0.0f);
    EXPECT_NEAR(easeOutWave(1.0f), 1.0f, 1e-6f);
    EXPECT_NEAR(easeOutWave(0.5f), 1.0f - 0.5f * std::cos(2.3561945f), 1e-6f);
    EXPECT_GT(easeOutWave(0.8f), 1.0f);
    // Not the swing of the layers' opening.
    EXPECT_NE(easeOutWave(0.5f), easeOutSwing(0.5f));
}

TEST(Effect2D, ACascadeEndsOneDelayPerEntryAfterTheDuration)
{
    Effect2DCascade cascade(100.0f, 400.0f);
    for (int i = 0; i < 3; ++i)
        cascade.addEntry(10.0f, 20.0f);
    cascade.update(50.0f);
    EXPECT_FALSE(cascade.isRunning()) << "not started";
    EXPECT_EQ(cascade.getElapsed(), 0.0f);

    cascade.start();
    EXPECT_TRUE(cascade.isRunning());
    EXPECT_EQ(cascade.getElapsed(), 0.0f);
    EXPECT_EQ(cascade.getEnd(), 100.0f * 3 + 400.0f);
    EXPECT_EQ(cascade.getEntries()[2].delay, 200.0f);

    cascade.update(200.0f);
    // The first is half-way on the wave, the second a quarter, the third
    // only setting off.
    EXPECT_NEAR(cascade.getValue(0), 10.0f + 10.0f * easeOutWave(0.5f), 1e-4f);
    EXPECT_NEAR(cascade.getValue(1), 10.0f + 10.0f * easeOutWave(0.25f), 1e-4f);
    EXPECT_EQ(cascade.getValue(2), 10.0f);
    cascade.update(10000.0f);
    EXPECT_EQ(cascade.getElapsed(), cascade.getEnd());
    EXPECT_FALSE(cascade.isRunning());
    for (const Effect2D::Entry& entry : cascade.getEntries())
        EXPECT_EQ(entry.value, 20.0f);
    // Started again, everything is back at the start.
    cascade.start();
    EXPECT_EQ(cascade.getValue(0), 10.0f);
}

TEST(Effect2D, TogetherMovesEveryEntryAtOnceAndInstantJumpsToTheEnd)
{
    Effect2DTogether together(1000.0f);
    together.addEntry(0.0f, 100.0f);
    together.addEntry(50.0f, -50.0f);
    together.start();
    EXPECT_EQ(together.getEnd(), 1000.0f);
    together.update(250.0f);
    EXPECT_NEAR(together.getValue(0), 100.0f * easeOutSwing(0.25f), 1e-3f);
    EXPECT_NEAR(together.getValue(1), 50.0f - 100.0f * easeOutSwing(0.25f), 1e-3f);
    together.update(750.0f);
    EXPECT_FALSE(together.isRunning());
    EXPECT_EQ(together.getValue(1), -50.0f);

    Effect2DInstant instant;
    instant.addEntry(3.0f, 7.0f);
    instant.start();
    EXPECT_FALSE(instant.isRunning());
    EXPECT_EQ(instant.getEnd(), 0.0f);
    EXPECT_EQ(instant.getValue(0), 7.0f);
    EXPECT_EQ(instant.getValue(5), 0.0f);
}
