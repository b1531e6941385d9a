#include "Engine2DD3D/RenderStateCache.h"

uint32_t RenderStateCache::currentValue(Entry& entry, uint32_t state)
{
    // A change still waiting is what the device is about to hold: reading the
    // device here would cancel it and bring back the old value.
    if (entry.pending)
    {
        return entry.wanted;
    }
    uint32_t value = 0;
    if (mDevice && mDevice->getRenderState(state, &value) == Platform::Gpu::GPU_OK)
    {
        entry.committed = entry.wanted = value;
    }
    return entry.wanted;
}

void RenderStateCache::setState(uint32_t state, uint32_t value)
{
    if (state >= STATE_COUNT)
    {
        return;
    }
    Entry& entry = mEntries[state];
    if (value != currentValue(entry, state))
    {
        mChanged.push_back(state);
        entry.pending = true;
    }
    entry.wanted = value;
}

uint32_t RenderStateCache::getState(uint32_t state)
{
    if (state >= STATE_COUNT)
    {
        return 0;
    }
    return currentValue(mEntries[state], state);
}

void RenderStateCache::flush()
{
    for (uint32_t state : mChanged)
    {
        Entry& entry = mEntries[state];
        if (mDevice)
        {
            mDevice->setRenderState(state, entry.wanted);
        }
        entry.committed = entry.wanted;
        entry.pending = false;
    }
    mChanged.clear();
}

ScopedRenderState::ScopedRenderState(RenderStateCache& cache, uint32_t state, uint32_t value)
    : mCache(cache), mState(state)
{
    if (mState == NO_STATE)
    {
        return;
    }
    mPrevious = mCache.getState(mState);
    mCache.setState(mState, value);
}

ScopedRenderState::~ScopedRenderState()
{
    if (mState != NO_STATE)
    {
        mCache.setState(mState, mPrevious);
    }
}
