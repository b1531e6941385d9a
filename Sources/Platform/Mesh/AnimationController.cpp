#include "Platform/Mesh/AnimationController.h"

#include "Platform/Mesh/XFileData.h"

#include <algorithm>
#include <cmath>

namespace Platform
{

namespace
{

// The index of the key at or before ticks and the fraction towards the next.
template <typename Value>
size_t locate(const std::vector<AnimationKey<Value>>& keys, double ticks, float* fraction)
{
    *fraction = 0;
    if (ticks <= keys.front().time)
        return 0;
    auto after = std::upper_bound(keys.begin(), keys.end(), ticks,
                                  [](double t, const AnimationKey<Value>& key) { return t < key.time; });
    size_t next = size_t(after - keys.begin());
    if (next >= keys.size())
        return keys.size() - 1;
    size_t at = next - 1;
    double span = keys[next].time - keys[at].time;
    if (span > 0)
        *fraction = float((ticks - keys[at].time) / span);
    return at;
}

Vector3 lerp(const Vector3& a, const Vector3& b, float t)
{
    return a + (b - a) * t;
}

template <typename Value>
bool readKeys(XValueReader& reader, uint32_t count, uint32_t width, std::vector<AnimationKey<Value>>* out,
              bool (*convert)(const float*, Value*))
{
    out->resize(count);
    double last = -1;
    for (auto& key : *out)
    {
        uint32_t time = 0, values = 0;
        if (!reader.readCount(&time) || !reader.readCount(&values, 16) || values != width)
            return false;
        // Keys must come in ascending time for the search above.
        if (double(time) < last)
            return false;
        last = key.time = time;
        float raw[16];
        for (uint32_t i = 0; i < width; ++i)
        {
            if (!reader.readFloat(&raw[i]))
                return false;
        }
        if (!convert(raw, &key.value))
            return false;
    }
    return true;
}

bool toQuaternion(const float* v, Quaternion* q)
{
    // Written w first. A zero quaternion names no rotation.
    Quaternion raw{v[1], v[2], v[3], v[0]};
    if (quaternionDot(raw, raw) < 1e-12f)
        return false;
    *q = quaternionNormalize(raw);
    return true;
}

bool toVector(const float* v, Vector3* out)
{
    *out = {v[0], v[1], v[2]};
    return true;
}

bool toMatrix(const float* v, Matrix* out)
{
    for (int i = 0; i < 16; ++i)
        out->m[i / 4][i % 4] = v[i];
    return true;
}

bool readAnimationKey(const XObject& object, FrameAnimation* animation)
{
    XValueReader reader(object);
    uint32_t type = 0, count = 0;
    if (!reader.readCount(&type, 4) || !reader.readCount(&count, X_MAX_ANIMATION_KEYS) || count == 0)
        return false;
    // Each key is at least its time, its value count and three values.
    if (!reader.has(count, 5))
        return false;
    switch (type)
    {
    case 0:
        return animation->rotations.empty() &&
               readKeys<Quaternion>(reader, count, 4, &animation->rotations, toQuaternion);
    case 1:
        return animation->scales.empty() && readKeys<Vector3>(reader, count, 3, &animation->scales, toVector);
    case 2:
        return animation->positions.empty() &&
               readKeys<Vector3>(reader, count, 3, &animation->positions, toVector);
    case 4:
        return animation->matrices.empty() &&
               readKeys<Matrix>(reader, count, 16, &animation->matrices, toMatrix);
    default:
        return false;
    }
}

bool readAnimation(const XObject& object, FrameAnimation* animation)
{
    for (const auto& child : object.children)
    {
        if (child->isReference)
        {
            if (!animation->frameName.empty())
                return false;
            animation->frameName = child->name;
        }
        else if (child->type == "AnimationKey")
        {
            if (!readAnimationKey(*child, animation))
                return false;
        }
    }
    return !animation->frameName.empty();
}

double lastKey(const FrameAnimation& a)
{
    double last = 0;
    if (!a.rotations.empty())
        last = std::max(last, a.rotations.back().time);
    if (!a.scales.empty())
        last = std::max(last, a.scales.back().time);
    if (!a.positions.empty())
        last = std::max(last, a.positions.back().time);
    if (!a.matrices.empty())
        last = std::max(last, a.matrices.back().time);
    return last;
}

} // namespace

double AnimationSet::period() const
{
    double last = 0;
    for (const auto& animation : animations)
        last = std::max(last, lastKey(animation));
    return last / ticksPerSecond;
}

Matrix FramePose::toMatrix() const
{
    if (isMatrix)
        return matrix;
    Matrix result = matrixScaling(scale.x, scale.y, scale.z) * matrixRotationQuaternion(rotation);
    result.m[3][0] += translation.x;
    result.m[3][1] += translation.y;
    result.m[3][2] += translation.z;
    return result;
}

FramePose sampleAnimation(const FrameAnimation& animation, double ticks)
{
    FramePose pose;
    float t = 0;
    if (!animation.matrices.empty())
    {
        pose.isMatrix = true;
        size_t at = locate(animation.matrices, ticks, &t);
        const Matrix& a = animation.matrices[at].value;
        const Matrix& b = animation.matrices[std::min(at + 1, animation.matrices.size() - 1)].value;
        for (int r = 0; r < 4; ++r)
        {
            for (int c = 0; c < 4; ++c)
                pose.matrix.m[r][c] = a.m[r][c] + (b.m[r][c] - a.m[r][c]) * t;
        }
        return pose;
    }
    if (!animation.rotations.empty())
    {
        size_t at = locate(animation.rotations, ticks, &t);
        pose.rotation =
            quaternionSlerp(animation.rotations[at].value,
                            animation.rotations[std::min(at + 1, animation.rotations.size() - 1)].value, t);
    }
    if (!animation.scales.empty())
    {
        size_t at = locate(animation.scales, ticks, &t);
        pose.scale = lerp(animation.scales[at].value,
                          animation.scales[std::min(at + 1, animation.scales.size() - 1)].value, t);
    }
    if (!animation.positions.empty())
    {
        size_t at = locate(animation.positions, ticks, &t);
        pose.translation =
            lerp(animation.positions[at].value,
                 animation.positions[std::min(at + 1, animation.positions.size() - 1)].value, t);
    }
    return pose;
}

bool readXAnimationSets(const XObject& file, std::vector<AnimationSet>* out)
{
    out->clear();
    double ticksPerSecond = X_DEFAULT_TICKS_PER_SECOND;
    for (const auto& child : file.children)
    {
        if (child->isReference || child->type != "AnimTicksPerSecond")
            continue;
        XValueReader reader(*child);
        uint32_t ticks = 0;
        if (!reader.readCount(&ticks, 1u << 24) || ticks == 0)
            return false;
        ticksPerSecond = ticks;
    }
    for (const auto& child : file.children)
    {
        if (child->isReference || child->type != "AnimationSet")
            continue;
        if (out->size() >= X_MAX_ANIMATION_SETS)
        {
            out->clear();
            return false;
        }
        AnimationSet set;
        set.name = child->name;
        set.ticksPerSecond = ticksPerSecond;
        for (const auto& part : child->children)
        {
            if (part->isReference || part->type != "Animation")
                continue;
            FrameAnimation animation;
            if (!readAnimation(*part, &animation))
            {
                out->clear();
                return false;
            }
            set.animations.push_back(std::move(animation));
        }
        out->push_back(std::move(set));
    }
    return true;
}

AnimationController::AnimationController(std::vector<AnimationSet> sets, uint32_t trackCount)
    : mSets(std::make_shared<std::vector<AnimationSet>>(std::move(sets))),
      mTracks(std::min(std::max(trackCount, 1u), X_MAX_TRACKS))
{
}

const AnimationSet* AnimationController::getAnimationSet(uint32_t index) const
{
    return index < mSets->size() ? &(*mSets)[index] : nullptr;
}

int32_t AnimationController::findAnimationSet(const std::string& name) const
{
    for (size_t i = 0; i < mSets->size(); ++i)
    {
        if ((*mSets)[i].name == name)
            return int32_t(i);
    }
    return -1;
}

bool AnimationController::setCallbackKeys(uint32_t set, std::vector<CallbackKey> keys)
{
    if (set >= mSets->size())
        return false;
    std::sort(keys.begin(), keys.end(),
              [](const CallbackKey& a, const CallbackKey& b) { return a.time < b.time; });
    if (mSets.use_count() > 1)
        mSets = std::make_shared<std::vector<AnimationSet>>(*mSets);
    (*mSets)[set].callbacks = std::move(keys);
    return true;
}

bool AnimationController::setTrackAnimationSet(uint32_t track, int32_t set)
{
    if (track >= mTracks.size() || set < -1 || set >= int32_t(mSets->size()))
        return false;
    mTracks[track].set = set;
    return true;
}

bool AnimationController::setTrackEnable(uint32_t track, bool enable)
{
    if (track >= mTracks.size())
        return false;
    mTracks[track].enabled = enable;
    return true;
}

bool AnimationController::setTrackSpeed(uint32_t track, float speed)
{
    if (track >= mTracks.size() || !std::isfinite(speed))
        return false;
    mTracks[track].speed = speed;
    return true;
}

bool AnimationController::setTrackWeight(uint32_t track, float weight)
{
    if (track >= mTracks.size() || !std::isfinite(weight))
        return false;
    mTracks[track].weight = weight;
    return true;
}

bool AnimationController::setTrackPosition(uint32_t track, double seconds)
{
    if (track >= mTracks.size() || !std::isfinite(seconds))
        return false;
    mTracks[track].position = seconds;
    return true;
}

const TrackDesc* AnimationController::getTrack(uint32_t track) const
{
    return track < mTracks.size() ? &mTracks[track] : nullptr;
}

void AnimationController::advanceTime(double seconds, AnimationCallbackHandler* handler)
{
    if (!std::isfinite(seconds))
        return;
    mTime += seconds;
    for (uint32_t t = 0; t < mTracks.size(); ++t)
    {
        TrackDesc& track = mTracks[t];
        if (!track.enabled)
            continue;
        double from = track.position;
        track.position += seconds * track.speed;
        if (track.set < 0 || handler == nullptr)
            continue;
        const AnimationSet& set = (*mSets)[size_t(track.set)];
        double period = set.period();
        if (set.callbacks.empty() || period <= 0 || track.position <= from)
            continue;
        // Every key whose time, repeated each period, lies in (from, to];
        // a long step reports each key once per period crossed, within reason.
        double to = track.position;
        double firstLoop = std::floor(from / period);
        double lastLoop = std::floor(to / period);
        if (lastLoop - firstLoop > 64)
            firstLoop = lastLoop - 64;
        for (double loop = firstLoop; loop <= lastLoop; ++loop)
        {
            for (const CallbackKey& key : set.callbacks)
            {
                double at = loop * period + key.time / set.ticksPerSecond;
                if (at > from && at <= to)
                    handler->handleCallback(t, key.data);
            }
        }
    }
}

void AnimationController::apply(std::vector<Matrix>* locals) const
{
    struct Blend
    {
        float weight = 0;
        bool anyMatrix = false;
        Vector3 scale, translation;
        Quaternion rotation{0, 0, 0, 0};
        Matrix matrix;
    };
    std::vector<Blend> blends(locals->size());
    for (Blend& blend : blends)
        blend.matrix.m[0][0] = blend.matrix.m[1][1] = blend.matrix.m[2][2] = blend.matrix.m[3][3] = 0;
    bool any = false;
    for (const TrackDesc& track : mTracks)
    {
        if (!track.enabled || track.set < 0)
            continue;
        const AnimationSet& set = (*mSets)[size_t(track.set)];
        double period = set.period();
        double seconds = track.position;
        if (period > 0)
        {
            seconds = std::fmod(seconds, period);
            if (seconds < 0)
                seconds += period;
        }
        else
            seconds = 0;
        double ticks = seconds * set.ticksPerSecond;
        for (const FrameAnimation& animation : set.animations)
        {
            if (animation.frame < 0 || size_t(animation.frame) >= blends.size())
                continue;
            Blend& blend = blends[size_t(animation.frame)];
            FramePose pose = sampleAnimation(animation, ticks);
            float w = track.weight;
            Matrix m = pose.toMatrix();
            for (int r = 0; r < 4; ++r)
            {
                for (int c = 0; c < 4; ++c)
                    blend.matrix.m[r][c] += m.m[r][c] * w;
            }
            if (pose.isMatrix)
                blend.anyMatrix = true;
            else
            {
                blend.scale = blend.scale + pose.scale * w;
                blend.translation = blend.translation + pose.translation * w;
                // Same hemisphere as what is there, so that the sum does not
                // cancel out.
                Quaternion q = pose.rotation;
                if (quaternionDot(q, blend.rotation) < 0)
                    q = {-q.x, -q.y, -q.z, -q.w};
                blend.rotation = {blend.rotation.x + q.x * w, blend.rotation.y + q.y * w,
                                  blend.rotation.z + q.z * w, blend.rotation.w + q.w * w};
            }
            blend.weight += w;
            any = true;
        }
    }
    if (!any)
        return;
    for (size_t i = 0; i < blends.size(); ++i)
    {
        const Blend& blend = blends[i];
        if (!(std::fabs(blend.weight) > 1e-6f))
            continue;
        float share = 1.0f / blend.weight;
        if (blend.anyMatrix || quaternionDot(blend.rotation, blend.rotation) < 1e-12f)
        {
            Matrix m;
            for (int r = 0; r < 4; ++r)
            {
                for (int c = 0; c < 4; ++c)
                    m.m[r][c] = blend.matrix.m[r][c] * share;
            }
            (*locals)[i] = m;
            continue;
        }
        FramePose pose;
        pose.scale = blend.scale * share;
        pose.translation = blend.translation * share;
        pose.rotation = quaternionNormalize(blend.rotation);
        (*locals)[i] = pose.toMatrix();
    }
}

void AnimationController::bindFrames(const std::vector<std::string>& frameNames)
{
    for (AnimationSet& set : *mSets)
    {
        for (FrameAnimation& animation : set.animations)
        {
            animation.frame = -1;
            for (size_t i = 0; i < frameNames.size(); ++i)
            {
                if (frameNames[i] == animation.frameName)
                {
                    animation.frame = int32_t(i);
                    break;
                }
            }
        }
    }
}

} // namespace Platform
