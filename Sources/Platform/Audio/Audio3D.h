#pragma once
// Positional sound on the mixer: a buffer made with kBufferControl3D carries
// its place (position, velocity, the distances over which it fades, whether
// it follows the listener's head), and the device's one listener carries the
// hearer's place and orientation with its distance and rolloff factors. From
// both the mixer derives the buffer's distance gain and its left-right
// balance, on top of the buffer's own volume and pan.
//
// The model: within the minimum distance the sound is at full level; beyond
// it the level falls as minimum distance / distance (a halving of the
// amplitude, -6 dB, per doubling of the distance), no further than at the
// maximum distance; the rolloff factor scales that attenuation in decibels
// (0 none, 1 as in the real world, 2 twice as fast). The balance follows the
// sideways part of the direction from the listener in the listener's frame:
// a sound wholly to one side is not heard on the other.
#include "Platform/Math/Vector.h"

#include <cstdint>

namespace Platform
{

// How a buffer's position is read.
enum class Audio3DMode : uint32_t
{
    // In the world, like the listener's.
    Normal = 0,
    // Relative to the listener, in the listener's own frame (x right, y up,
    // z ahead): the sound moves with the head.
    HeadRelative = 1,
    // No positional processing: the buffer plays as a plain one.
    Disabled = 2
};

inline constexpr float kDefaultMinDistance = 1.0f;
inline constexpr float kDefaultMaxDistance = 1.0e9f;
inline constexpr float kMinRolloffFactor = 0.0f;
inline constexpr float kMaxRolloffFactor = 10.0f;

struct Audio3DBuffer
{
    Vector3 position;
    Vector3 velocity;
    float minDistance = kDefaultMinDistance;
    float maxDistance = kDefaultMaxDistance;
    Audio3DMode mode = Audio3DMode::Normal;
};

struct Audio3DListener
{
    Vector3 position;
    Vector3 velocity;
    // Where the listener faces and which way is up; they need not be unit
    // length nor exactly at right angles.
    Vector3 front{0.0f, 0.0f, 1.0f};
    Vector3 top{0.0f, 1.0f, 0.0f};
    // Metres per unit of the vectors; the gain depends on ratios of
    // distances only, so it leaves it alone.
    float distanceFactor = 1.0f;
    float rolloffFactor = 1.0f;
    float dopplerFactor = 1.0f;
};

// False for values no mixer could use (non-finite numbers, distances that
// are not positive or a maximum below the minimum, factors out of range).
bool isValid3DBuffer(const Audio3DBuffer& buffer);
bool isValid3DListener(const Audio3DListener& listener);

// The amplitude factor of the buffer for the listener: 1 within the minimum
// distance, (min / clamp(distance, min, max)) ^ rolloff beyond it.
double positionalGain(const Audio3DBuffer& buffer, const Audio3DListener& listener);

// The sideways part of the unit direction towards the sound in the
// listener's frame: -1 wholly to the left, +1 wholly to the right, 0 ahead,
// behind, above or at the listener's own place.
double positionalBalance(const Audio3DBuffer& buffer, const Audio3DListener& listener);

// The factors each side is multiplied by for a balance: the side away from
// the sound is attenuated in proportion, the near side is left whole.
struct Audio3DSides
{
    double left = 1.0;
    double right = 1.0;
};
Audio3DSides balanceSides(double balance);

} // namespace Platform
