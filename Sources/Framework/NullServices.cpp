#include "Framework/NullServices.h"

#include "Framework/Keys.h"
#include "Platform/Window/Window.h"

void NullCursorManager::update()
{
    Platform::showSystemCursor(true);
}

ErrorCode NullInputManager::init()
{
    mCursor.update();
    buildKeyNames();
    return 0;
}

void NullGuiManager::openIntroScreen(const IntroScreen&, std::function<void()> onEnd)
{
    if (onEnd)
        onEnd();
}

namespace
{
class NullSoundChannel final : public SoundChannel
{
public:
    using SoundChannel::SoundChannel;
    ErrorCode play(const std::string&, int32_t, bool, bool) override { return 0; }
    ErrorCode stopIfPlaying() override { return 0; }
    ErrorCode stop() override { return 0; }
    ErrorCode restart() override { return 0; }
    bool isPlaying() override { return false; }
    ErrorCode setLevel(int32_t) override { return 0; }
    ErrorCode setFrequency(uint32_t) override { return 0; }
    ErrorCode getFrequency(uint32_t& frequency) override
    {
        frequency = 0;
        return 0;
    }
    ErrorCode setPosition(uint32_t) override { return 0; }
    ErrorCode getPosition(uint32_t& samples) override
    {
        samples = 0;
        return 0;
    }
    ErrorCode getLength(uint32_t& samples) override
    {
        samples = 0;
        return 0;
    }
    ErrorCode setReverse(bool) override { return 0; }
};
} // namespace

SoundChannel* NullSoundManager::createChannel()
{
    return new NullSoundChannel(this);
}
