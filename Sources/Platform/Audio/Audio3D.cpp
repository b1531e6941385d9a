#include "Platform/Audio/Audio3D.h"

#include <algorithm>
#include <cmath>

namespace Platform
{

namespace
{
bool finite(const Vector3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// From the listener to the sound, in the world (or in the listener's frame
// for a head-relative sound).
Vector3 offsetOf(const Audio3DBuffer& buffer, const Audio3DListener& listener)
{
    return buffer.mode == Audio3DMode::HeadRelative ? buffer.position : buffer.position - listener.position;
}

// How far the sound lies to the listener's right (negative: to the left).
float sidewaysOf(const Audio3DBuffer& buffer, const Audio3DListener& listener)
{
    const Vector3 offset = offsetOf(buffer, listener);
    if (buffer.mode == Audio3DMode::HeadRelative)
        return offset.x;
    const Vector3 front = vec3Normalize(listener.front);
    // The up vector made square to the front (a front and top that are
    // parallel leave the frame without a side: every sound is ahead).
    const Vector3 up = vec3Normalize(listener.top - front * vec3Dot(listener.top, front));
    return vec3Dot(offset, vec3Cross(up, front));
}
// In double precision: the gain's ratios of distances stay exact for the
// distances a game uses.
double lengthOf(const Vector3& v)
{
    return std::sqrt(static_cast<double>(v.x) * v.x + static_cast<double>(v.y) * v.y +
                     static_cast<double>(v.z) * v.z);
}
} // namespace

bool isValid3DBuffer(const Audio3DBuffer& buffer)
{
    return finite(buffer.position) && finite(buffer.velocity) && std::isfinite(buffer.minDistance) &&
           std::isfinite(buffer.maxDistance) && buffer.minDistance > 0.0f &&
           buffer.maxDistance >= buffer.minDistance && static_cast<uint32_t>(buffer.mode) <= 2;
}

bool isValid3DListener(const Audio3DListener& listener)
{
    return finite(listener.position) && finite(listener.velocity) && finite(listener.front) &&
           finite(listener.top) && vec3Length(listener.front) > 0.0f && vec3Length(listener.top) > 0.0f &&
           std::isfinite(listener.distanceFactor) && listener.distanceFactor > 0.0f &&
           listener.rolloffFactor >= kMinRolloffFactor && listener.rolloffFactor <= kMaxRolloffFactor &&
           std::isfinite(listener.dopplerFactor) && listener.dopplerFactor >= 0.0f;
}

double positionalGain(const Audio3DBuffer& buffer, const Audio3DListener& listener)
{
    if (buffer.mode == Audio3DMode::Disabled)
        return 1.0;
    const double distance = lengthOf(offsetOf(buffer, listener));
    const double nearest = buffer.minDistance;
    const double clamped = std::clamp(distance, nearest, std::max<double>(nearest, buffer.maxDistance));
    return std::pow(nearest / clamped, static_cast<double>(listener.rolloffFactor));
}

double positionalBalance(const Audio3DBuffer& buffer, const Audio3DListener& listener)
{
    if (buffer.mode == Audio3DMode::Disabled)
        return 0.0;
    const double distance = lengthOf(offsetOf(buffer, listener));
    if (distance <= 0.0)
        return 0.0;
    return std::clamp(sidewaysOf(buffer, listener) / distance, -1.0, 1.0);
}

Audio3DSides balanceSides(double balance)
{
    balance = std::clamp(balance, -1.0, 1.0);
    Audio3DSides sides;
    sides.left = 1.0 - std::max(0.0, balance);
    sides.right = 1.0 - std::max(0.0, -balance);
    return sides;
}

} // namespace Platform
