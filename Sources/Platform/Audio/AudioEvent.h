#pragma once
// Events signalled by the mixer when a buffer's play cursor passes one of its
// notification positions, and waited on by the sound manager's refill thread.
// Setting an event takes no lock, so that the audio callback may do it.
#include <atomic>
#include <cstddef>

namespace Platform
{

class AudioEvent
{
public:
    explicit AudioEvent(bool initiallySet = false, bool autoReset = true);
    AudioEvent(const AudioEvent&) = delete;
    AudioEvent& operator=(const AudioEvent&) = delete;

    void set();
    void reset() { mSet.store(false); }
    bool isSet() const { return mSet.load(); }
    // True when the event was set; an auto-reset event is cleared by it.
    bool tryWait();

    // Blocks until one of the events is set and returns its index (the first
    // set one in list order, cleared when auto-reset). When idle is given it is
    // true exactly while the caller sleeps with none of the events set, which
    // lets tests wait until a waiting thread has handled every signal.
    static size_t waitAny(AudioEvent* const* events, size_t count, std::atomic<bool>* idle = nullptr);

private:
    std::atomic<bool> mSet;
    const bool mAutoReset;
};

} // namespace Platform
