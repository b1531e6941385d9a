#pragma once
// Keyframed animation of a frame hierarchy, as text .X files store it: an
// AnimationSet holds one Animation per animated frame, each with rotation
// (quaternion), scale, position or whole-matrix keys at times in ticks. The
// controller plays sets on tracks; each enabled track has its own position,
// speed and weight, and the frames' local matrices are the weighted blend of
// what every enabled track gives them. Sets loop: a track's position runs
// on and is taken modulo the set's period. Callback keys of a set are
// reported to a handler when a track's position passes them.
#include "Platform/Math/Quaternion.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Platform
{

struct XObject;

// Limits on what a file may ask for, checked before anything is allocated.
constexpr uint32_t X_MAX_ANIMATION_SETS = 256;
constexpr uint32_t X_MAX_ANIMATION_KEYS = 1u << 16;
constexpr uint32_t X_MAX_TRACKS = 16;
// Ticks per second when the file does not say (AnimTicksPerSecond).
constexpr uint32_t X_DEFAULT_TICKS_PER_SECOND = 4800;

template <typename Value> struct AnimationKey
{
    double time = 0; // ticks
    Value value;
};

struct FrameAnimation
{
    std::string frameName;
    // Index of the frame in the hierarchy the set was bound to, or -1.
    int32_t frame = -1;
    std::vector<AnimationKey<Quaternion>> rotations;
    std::vector<AnimationKey<Vector3>> scales;
    std::vector<AnimationKey<Vector3>> positions;
    std::vector<AnimationKey<Matrix>> matrices;
};

struct CallbackKey
{
    double time = 0; // ticks
    uint32_t data = 0;
};

struct AnimationSet
{
    std::string name;
    double ticksPerSecond = X_DEFAULT_TICKS_PER_SECOND;
    std::vector<FrameAnimation> animations;
    std::vector<CallbackKey> callbacks; // in ascending time

    // The time of the last key, in seconds; 0 for a set without keys.
    double period() const;
};

// One frame's pose as a track gives it: either scale, rotation and
// translation, or a whole matrix (matrix keys).
struct FramePose
{
    bool isMatrix = false;
    Vector3 scale{1, 1, 1};
    Quaternion rotation;
    Vector3 translation;
    Matrix matrix;

    Matrix toMatrix() const;
};

// The pose of one animation at time (ticks, already inside the period):
// keys are interpolated linearly (rotations by slerp); before the first key
// the first holds, after the last the last holds. A kind without keys takes
// the neutral value.
FramePose sampleAnimation(const FrameAnimation& animation, double ticks);

// The AnimationSet objects of a parsed file, with AnimTicksPerSecond. False
// on a malformed or oversized set; out is then emptied.
bool readXAnimationSets(const XObject& file, std::vector<AnimationSet>* out);

struct TrackDesc
{
    int32_t set = -1; // -1: no set
    bool enabled = false;
    float speed = 1;
    float weight = 1;
    double position = 0; // seconds
};

class AnimationCallbackHandler
{
public:
    virtual ~AnimationCallbackHandler() = default;
    virtual void handleCallback(uint32_t track, uint32_t data) = 0;
};

class AnimationController
{
public:
    // The sets are shared with every copy of the controller.
    explicit AnimationController(std::vector<AnimationSet> sets, uint32_t trackCount = 2);
    AnimationController(const AnimationController&) = default;
    AnimationController& operator=(const AnimationController&) = default;

    uint32_t getNumAnimationSets() const { return uint32_t(mSets->size()); }
    const AnimationSet* getAnimationSet(uint32_t index) const;
    // -1 when no set has that name.
    int32_t findAnimationSet(const std::string& name) const;
    // Replaces a set's callback keys (times in ticks); this controller gets
    // its own copy of the sets.
    bool setCallbackKeys(uint32_t set, std::vector<CallbackKey> keys);

    uint32_t getNumTracks() const { return uint32_t(mTracks.size()); }
    bool setTrackAnimationSet(uint32_t track, int32_t set);
    bool setTrackEnable(uint32_t track, bool enable);
    bool setTrackSpeed(uint32_t track, float speed);
    bool setTrackWeight(uint32_t track, float weight);
    bool setTrackPosition(uint32_t track, double seconds);
    const TrackDesc* getTrack(uint32_t track) const;
    double getTime() const { return mTime; }
    void resetTime() { mTime = 0; }

    // Moves every enabled track by seconds x its speed and reports the
    // callback keys passed on the way (a handler may be null).
    void advanceTime(double seconds, AnimationCallbackHandler* handler);

    // Writes the blended local matrix of every frame the enabled tracks
    // animate into locals (indexed by the frames the sets were bound to);
    // other frames keep what locals holds. Weights are relative among the
    // tracks that animate a frame, so a frame only one track moves takes
    // that track's pose whatever its weight; a frame whose weights add up to
    // 0 keeps its matrix.
    void apply(std::vector<Matrix>* locals) const;

    // Binds every animation to a frame index by its name; names not found
    // stay unbound (-1) and are ignored.
    void bindFrames(const std::vector<std::string>& frameNames);

private:
    std::shared_ptr<std::vector<AnimationSet>> mSets;
    std::vector<TrackDesc> mTracks;
    double mTime = 0;
};

} // namespace Platform
