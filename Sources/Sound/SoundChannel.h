#pragma once
// One playback channel of the sound manager: it holds at most one sound at a
// time. The manager owns its channels; a channel knows its owner, its index
// and the channel group it belongs to (-1 for none).
#include "Framework/ErrorCodes.h"

#include <cstdint>
#include <string>

class SoundManager;

class SoundChannel
{
public:
    explicit SoundChannel(SoundManager& owner) : mOwner(owner) {}
    virtual ~SoundChannel() = default;
    SoundChannel(const SoundChannel&) = delete;
    SoundChannel& operator=(const SoundChannel&) = delete;

    // Level -1 takes the master level, or else the channel's group level.
    virtual ErrorCode play(const std::string& name, int32_t level, bool loop, bool streaming) = 0;
    virtual ErrorCode stopIfPlaying() = 0;
    virtual ErrorCode stop() = 0;
    // Starts every buffer of the sound again from where it is.
    virtual ErrorCode replay() = 0;
    virtual bool isPlaying() = 0;
    virtual ErrorCode setLevel(int32_t level) = 0;
    virtual ErrorCode setFrequency(uint32_t frequency) = 0;
    virtual ErrorCode getFrequency(uint32_t& frequency) = 0;
    // Positions and lengths in samples (frames).
    virtual ErrorCode setPosition(uint32_t samples) = 0;
    virtual ErrorCode getPosition(uint32_t& samples) = 0;
    virtual ErrorCode getLength(uint32_t& samples) = 0;
    virtual ErrorCode setReverse(bool reverse) = 0;

    SoundManager& getOwner() const { return mOwner; }
    int32_t getGroup() const { return mGroup; }
    void setGroup(int32_t group) { mGroup = group; }
    uint32_t getIndex() const { return mIndex; }
    void setIndex(uint32_t index) { mIndex = index; }

private:
    SoundManager& mOwner;
    int32_t mGroup = -1;
    uint32_t mIndex = 0;
};
