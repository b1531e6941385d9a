#include "Engine/Effect2D.h"

#include "Engine/LayerEffect.h"

#include <algorithm>
#include <cmath>

float easeOutWave(float t)
{
    return 1.0f - (1.0f - t) * std::cos(4.712389f * t);
}

size_t Effect2D::addEntry(float from, float to)
{
    mEntries.push_back({from, to, from, 0.0f, 0.0f});
    return mEntries.size() - 1;
}

float Effect2D::ease(float t) const
{
    return t;
}

void Effect2D::update(float milliseconds)
{
    if (!mRunning)
        return;
    mElapsed = std::min(mElapsed + std::max(milliseconds, 0.0f), mEnd);
    for (Entry& entry : mEntries)
    {
        const float local = mElapsed - entry.delay;
        // A stretch of no length is over as soon as it begins.
        float t = entry.duration > 0.0f ? std::clamp(local / entry.duration, 0.0f, 1.0f)
                  : local >= 0.0f       ? 1.0f
                                        : 0.0f;
        // The ends are exact whatever the easing does between them.
        const float share = t <= 0.0f ? 0.0f : t >= 1.0f ? 1.0f : ease(t);
        entry.value = entry.from + (entry.to - entry.from) * share;
    }
    if (mElapsed >= mEnd)
        mRunning = false;
}

void Effect2DInstant::start()
{
    mElapsed = 0.0f;
    mEnd = 0.0f;
    mRunning = false;
    for (Entry& entry : mEntries)
    {
        entry.delay = 0.0f;
        entry.duration = 0.0f;
        entry.value = entry.to;
    }
}

float Effect2DTogether::ease(float t) const
{
    return easeOutSwing(t);
}

void Effect2DTogether::start()
{
    mElapsed = 0.0f;
    mEnd = std::max(mDuration, 0.0f);
    mRunning = true;
    for (Entry& entry : mEntries)
    {
        entry.delay = 0.0f;
        entry.duration = mEnd;
        entry.value = entry.from;
    }
}

void Effect2DCascade::start()
{
    mElapsed = 0.0f;
    mRunning = true;
    mEnd = mDelay * static_cast<float>(mEntries.size()) + mDuration;
    for (size_t i = 0; i < mEntries.size(); ++i)
    {
        mEntries[i].delay = mDelay * static_cast<float>(i);
        mEntries[i].duration = mDuration;
        mEntries[i].value = mEntries[i].from;
    }
}
