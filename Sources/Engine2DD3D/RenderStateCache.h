#pragma once
// The one path through which the engines set render states: a change is
// remembered and sent to the device at the next flush, just before a draw,
// and only when it differs from what the device holds. Effects may set
// states on the device behind the cache's back, so a state without a change
// waiting is always read from the device again. Owned by the 2D engine;
// main thread only.
#include "Platform/Gpu/Device.h"

#include <array>
#include <cstdint>
#include <vector>

class RenderStateCache
{
public:
    static constexpr uint32_t STATE_COUNT = 210;

    RenderStateCache() = default;
    RenderStateCache(const RenderStateCache&) = delete;
    RenderStateCache& operator=(const RenderStateCache&) = delete;

    void setDevice(Platform::Gpu::Device* device) { mDevice = device; }
    Platform::Gpu::Device* getDevice() const { return mDevice; }

    // States outside 0..STATE_COUNT - 1 are ignored.
    void setState(uint32_t state, uint32_t value);
    // The value the device will hold after the next flush: the waiting value
    // when there is one, else the device's. 0 for states outside the table.
    uint32_t getState(uint32_t state);
    // Sends every waiting change in the order it was made.
    void flush();

    // For tests: the numbers waiting for the next flush, repeats included.
    const std::vector<uint32_t>& changedStates() const { return mChanged; }

private:
    struct Entry
    {
        uint32_t committed = 0;
        uint32_t wanted = 0;
        bool pending = false;
    };

    uint32_t currentValue(Entry& entry, uint32_t state);

    std::array<Entry, STATE_COUNT> mEntries{};
    std::vector<uint32_t> mChanged;
    Platform::Gpu::Device* mDevice = nullptr;
};

// Sets a state for the lifetime of the object and puts the value it had
// back at the end. The state number NO_STATE sets and restores nothing.
class ScopedRenderState
{
public:
    static constexpr uint32_t NO_STATE = 0x7FFFFFFF;

    ScopedRenderState(RenderStateCache& cache, uint32_t state, uint32_t value);
    ~ScopedRenderState();
    ScopedRenderState(const ScopedRenderState&) = delete;
    ScopedRenderState& operator=(const ScopedRenderState&) = delete;

private:
    RenderStateCache& mCache;
    uint32_t mState;
    uint32_t mPrevious = 0;
};
