#include "Platform/Audio/Audio3D.h"
#include "Platform/Audio/AudioDevice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using namespace Platform;

namespace
{
Audio3DBuffer at(float x, float y, float z, float minDistance = 1.0f, float maxDistance = kDefaultMaxDistance)
{
    Audio3DBuffer buffer;
    buffer.position = {x, y, z};
    buffer.minDistance = minDistance;
    buffer.maxDistance = maxDistance;
    return buffer;
}

// The left and right samples the mixer makes of a mono buffer holding one
// constant value, placed as given.
struct PlacedTone
{
    PlacedTone()
    {
        EXPECT_EQ(device.open(AudioOutput::Manual), kAudioOk);
        AudioBufferDesc desc{kBufferControl3D | kBufferControlVolume, 2000, makePcmFormat(1, 22050, 16)};
        EXPECT_EQ(device.createBuffer(desc, buffer), kAudioOk);
        AudioLockRegions regions;
        EXPECT_EQ(buffer->lock(0, 0, regions, kLockEntireBuffer), kAudioOk);
        std::vector<int16_t> values(1000, 20000);
        std::memcpy(regions.first, values.data(), regions.firstBytes);
        EXPECT_EQ(buffer->unlock(regions), kAudioOk);
        EXPECT_EQ(buffer->play(kPlayLooping), kAudioOk);
    }
    std::pair<int, int> sides()
    {
        int16_t out[8];
        device.pump(out, 4);
        return {out[6], out[7]};
    }
    AudioDevice device;
    std::unique_ptr<AudioBuffer> buffer;
};
} // namespace

TEST(Audio3D, GainIsMinOverDistanceBetweenTheDistancesRaisedToTheRolloff)
{
    Audio3DListener listener;
    // Within the minimum distance, and at the listener's own place: full level.
    EXPECT_DOUBLE_EQ(positionalGain(at(0, 0, 1.5f, 2.0f), listener), 1.0);
    EXPECT_DOUBLE_EQ(positionalGain(at(0, 0, 0, 2.0f), listener), 1.0);
    // 2 / 8, and -6 dB more for each doubling.
    EXPECT_DOUBLE_EQ(positionalGain(at(0, 0, 8, 2.0f), listener), 0.25);
    EXPECT_DOUBLE_EQ(positionalGain(at(0, 0, 16, 2.0f), listener), 0.125);
    // Any direction: 3-4-5.
    EXPECT_DOUBLE_EQ(positionalGain(at(3, -4, 0, 1.0f), listener), 0.2);
    // No quieter than at the maximum distance.
    EXPECT_DOUBLE_EQ(positionalGain(at(0, 0, 100, 2.0f, 10.0f), listener), 0.2);
    // The rolloff scales the attenuation in decibels.
    listener.rolloffFactor = 2.0f;
    EXPECT_DOUBLE_EQ(positionalGain(at(0, 0, 8, 2.0f), listener), 0.0625);
    listener.rolloffFactor = 0.5f;
    EXPECT_DOUBLE_EQ(positionalGain(at(0, 0, 8, 2.0f), listener), 0.5);
    listener.rolloffFactor = 0.0f;
    EXPECT_DOUBLE_EQ(positionalGain(at(0, 0, 8, 2.0f), listener), 1.0);
    // The distance is the listener's, wherever it stands; the distance
    // factor (metres per unit) does not change ratios of distances.
    listener.rolloffFactor = 1.0f;
    listener.position = {10, 0, 0};
    listener.distanceFactor = 3.0f;
    EXPECT_DOUBLE_EQ(positionalGain(at(10, 0, 4, 1.0f), listener), 0.25);
}

TEST(Audio3D, BalanceIsTheSidewaysDirectionInTheListenersFrame)
{
    Audio3DListener listener;
    // Facing +z with +y up, +x is to the right.
    EXPECT_DOUBLE_EQ(positionalBalance(at(5, 0, 0), listener), 1.0);
    EXPECT_DOUBLE_EQ(positionalBalance(at(-3, 0, 0), listener), -1.0);
    EXPECT_NEAR(positionalBalance(at(3, 0, 3), listener), std::sqrt(0.5), 1e-6);
    EXPECT_DOUBLE_EQ(positionalBalance(at(0, 0, 7), listener), 0.0);
    EXPECT_DOUBLE_EQ(positionalBalance(at(0, 0, -7), listener), 0.0);
    EXPECT_DOUBLE_EQ(positionalBalance(at(0, 4, 0), listener), 0.0);
    EXPECT_DOUBLE_EQ(positionalBalance(at(0, 0, 0), listener), 0.0);
    // Turned to face +x, +z is on the left; an up vector leaning forwards is
    // squared to the front first.
    listener.front = {2, 0, 0};
    listener.top = {1, 1, 0};
    EXPECT_NEAR(positionalBalance(at(0, 0, 5), listener), -1.0, 1e-6);
    EXPECT_NEAR(positionalBalance(at(0, 0, -5), listener), 1.0, 1e-6);
    EXPECT_NEAR(positionalBalance(at(0, 4, 0), listener), 0.0, 1e-6);
    EXPECT_NEAR(positionalBalance(at(0, 4, 4), listener), -std::sqrt(0.5), 1e-6);
    EXPECT_DOUBLE_EQ(positionalGain(at(0, 4, 0), listener), 0.25);
    // Head-relative: the position is already in the listener's frame.
    Audio3DBuffer relative = at(2, 0, 0, 1.0f);
    relative.mode = Audio3DMode::HeadRelative;
    listener.position = {50, 50, 50};
    EXPECT_DOUBLE_EQ(positionalBalance(relative, listener), 1.0);
    EXPECT_DOUBLE_EQ(positionalGain(relative, listener), 0.5);
    // Disabled: a plain buffer.
    relative.mode = Audio3DMode::Disabled;
    EXPECT_DOUBLE_EQ(positionalBalance(relative, listener), 0.0);
    EXPECT_DOUBLE_EQ(positionalGain(relative, listener), 1.0);

    EXPECT_DOUBLE_EQ(balanceSides(1.0).left, 0.0);
    EXPECT_DOUBLE_EQ(balanceSides(1.0).right, 1.0);
    EXPECT_DOUBLE_EQ(balanceSides(-0.25).left, 1.0);
    EXPECT_DOUBLE_EQ(balanceSides(-0.25).right, 0.75);
    EXPECT_DOUBLE_EQ(balanceSides(0.0).left, 1.0);
}

TEST(Audio3D, TheMixerFollowsTheBufferAndTheListener)
{
    PlacedTone tone;
    // Where the listener stands: as a plain buffer.
    EXPECT_EQ(tone.sides(), std::make_pair(20000, 20000));
    // Four units to the right with a minimum of one: a quarter, right only.
    ASSERT_EQ(tone.buffer->set3DParameters(at(4, 0, 0)), kAudioOk);
    EXPECT_EQ(tone.sides(), std::make_pair(0, 5000));
    // The listener turns round: the sound is on its left now.
    Audio3DListener listener;
    listener.front = {0, 0, -1};
    ASSERT_EQ(tone.device.setListener(listener), kAudioOk);
    EXPECT_EQ(tone.sides(), std::make_pair(5000, 0));
    // Ahead at two units and 6 dB down by volume: a quarter on both sides.
    listener = {};
    ASSERT_EQ(tone.device.setListener(listener), kAudioOk);
    ASSERT_EQ(tone.buffer->set3DParameters(at(0, 0, 2)), kAudioOk);
    ASSERT_EQ(tone.buffer->setVolume(-602), kAudioOk);
    auto [left, right] = tone.sides();
    EXPECT_NEAR(left, 5000, 3);
    EXPECT_NEAR(right, 5000, 3);
    Audio3DBuffer back;
    ASSERT_EQ(tone.buffer->get3DParameters(back), kAudioOk);
    EXPECT_EQ(back.position, (Vector3{0, 0, 2}));
}

TEST(Audio3D, OnlyPositionalBuffersAndSensibleValuesAreTaken)
{
    AudioDevice device;
    Audio3DListener listener;
    EXPECT_EQ(device.setListener(listener), kAudioNotInitialised);
    ASSERT_EQ(device.open(AudioOutput::Manual), kAudioOk);
    std::unique_ptr<AudioBuffer> plain;
    ASSERT_EQ(device.createBuffer({kBufferControlVolume, 64, makePcmFormat(1, 22050, 16)}, plain), kAudioOk);
    Audio3DBuffer parameters;
    EXPECT_EQ(plain->set3DParameters(parameters), kAudioControlUnavailable);
    EXPECT_EQ(plain->get3DParameters(parameters), kAudioControlUnavailable);

    std::unique_ptr<AudioBuffer> placed;
    ASSERT_EQ(device.createBuffer({kBufferControl3D, 64, makePcmFormat(1, 22050, 16)}, placed), kAudioOk);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(placed->set3DParameters(at(nan, 0, 0)), kAudioInvalidArgument);
    EXPECT_EQ(placed->set3DParameters(at(1, 0, 0, 0.0f)), kAudioInvalidArgument);
    EXPECT_EQ(placed->set3DParameters(at(1, 0, 0, 5.0f, 2.0f)), kAudioInvalidArgument);
    Audio3DBuffer badMode = at(1, 0, 0);
    badMode.mode = static_cast<Audio3DMode>(7);
    EXPECT_EQ(placed->set3DParameters(badMode), kAudioInvalidArgument);
    badMode.mode = static_cast<Audio3DMode>(3);
    EXPECT_EQ(placed->set3DParameters(badMode), kAudioInvalidArgument);
    badMode.mode = Audio3DMode::Disabled;
    EXPECT_EQ(placed->set3DParameters(badMode), kAudioOk);
    // Equal distances: a sound that never fades.
    EXPECT_EQ(placed->set3DParameters(at(1, 0, 0, 3.0f, 3.0f)), kAudioOk);
    listener.front = {0, 0, 0};
    EXPECT_EQ(device.setListener(listener), kAudioInvalidArgument);
    listener = {};
    listener.top = {0, 0, 0};
    EXPECT_EQ(device.setListener(listener), kAudioInvalidArgument);
    // No rolloff and no Doppler effect are settings like any other.
    listener = {};
    listener.rolloffFactor = 0.0f;
    listener.dopplerFactor = 0.0f;
    EXPECT_EQ(device.setListener(listener), kAudioOk);
    listener.rolloffFactor = 10.0f;
    EXPECT_EQ(device.setListener(listener), kAudioOk);
    listener.rolloffFactor = 11.0f;
    EXPECT_EQ(device.setListener(listener), kAudioInvalidArgument);
    listener.rolloffFactor = 1.0f;
    listener.distanceFactor = 0.0f;
    EXPECT_EQ(device.setListener(listener), kAudioInvalidArgument);
    // A refused value leaves the one before.
    Audio3DListener kept;
    ASSERT_EQ(device.getListener(kept), kAudioOk);
    EXPECT_EQ(kept.rolloffFactor, 10.0f);
    EXPECT_EQ(kept.distanceFactor, 1.0f);
}
