#pragma once
// Timed 2D effects: a list of values, each travelling from a start to an
// end value over its own stretch of the effect's time, read by whoever
// animates something with them (a position, an alpha, a scale). The three
// kinds differ in how the stretches are laid out: all at once
// (Effect2DInstant), all together over one duration (Effect2DTogether), or
// one after another with a fixed delay between their starts
// (Effect2DCascade).
#include <cstddef>
#include <cstdint>
#include <vector>

// 1 - (1 - t) cos(3 pi / 2 t): 0 at 0, 1 at 1, overshooting 1 twice on the way
// (easeOutSwing's livelier sibling).
float easeOutWave(float t);

class Effect2D
{
public:
    struct Entry
    {
        float from;
        float to;
        // Where the entry is now.
        float value;
        // Its stretch of the effect's time, in milliseconds.
        float delay;
        float duration;
    };
    static_assert(sizeof(Entry) == 20);

    virtual ~Effect2D() = default;

    // Lays the entries' stretches out and sets every value to its start;
    // the effect then runs.
    virtual void start() = 0;
    // Advances by the milliseconds and moves each value along its stretch.
    // Nothing once the effect has ended.
    virtual void update(float milliseconds);

    // A new entry at its start value; its index.
    size_t addEntry(float from, float to);
    const std::vector<Entry>& getEntries() const { return mEntries; }
    float getValue(size_t index) const { return index < mEntries.size() ? mEntries[index].value : 0.0f; }
    float getElapsed() const { return mElapsed; }
    float getEnd() const { return mEnd; }
    bool isRunning() const { return mRunning; }

protected:
    // The eased share of the way (0 to 1) at linear progress t.
    virtual float ease(float t) const;

    std::vector<Entry> mEntries;
    float mElapsed = 0.0f;
    float mEnd = 0.0f;
    bool mRunning = false;
};

// Every value at its end as soon as the effect starts.
class Effect2DInstant final : public Effect2D
{
public:
    Effect2DInstant() = default;
    void start() override;
};

// Every value travels at once over the same duration, with easeOutSwing.
class Effect2DTogether final : public Effect2D
{
public:
    explicit Effect2DTogether(float duration) : mDuration(duration) {}
    void start() override;

protected:
    float ease(float t) const override;

private:
    float mDuration;
};

// Entry i sets off i x delay milliseconds after the start and travels for
// the duration, with easeOutWave; the effect ends with the last one.
class Effect2DCascade final : public Effect2D
{
public:
    Effect2DCascade(float delay, float duration) : mDelay(delay), mDuration(duration) {}
    void start() override;

protected:
    float ease(float t) const override { return easeOutWave(t); }

private:
    float mDelay;
    float mDuration;
};
