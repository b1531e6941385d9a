#pragma once
// The video service: one video opened from a file or from memory, decoded on
// a thread of its own and handed picture by picture, when due, to a frame
// sink. Play, pause, stop, seeking, a forward rate, duration, position, state
// and the end-of-stream event, as the game's video texture drives them each
// frame. Pacing reads the program's clock (Platform/System/Clock.h), so a test
// installs a ManualClock and moves time itself.
//
// The sound track, when an audio device is given, streams into a looping
// secondary buffer of that device that the decoding thread keeps filled; it
// runs on the device's own time beside the pictures' clock.
//
// The decoding thread only decodes into its own buffers, fills the sound
// buffer, calls the sink and queues events under a lock; every other call
// comes from the owner's thread.
#include "Platform/Audio/AudioBuffer.h"
#include "Platform/Media/MediaDecoder.h"
#include "Platform/Media/MediaResult.h"
#include "Platform/Media/VideoFrameSink.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Platform
{

class AudioDevice;

// The game's own numbering of the player's state.
enum class MediaState : uint32_t
{
    Stopped = 0,
    Playing = 1,
    Paused = 2
};

// Events taken with getEvent.
inline constexpr uint32_t kMediaEventComplete = 1;

class MediaPlayer
{
public:
    MediaPlayer();
    ~MediaPlayer();
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;

    // Sound tracks of the videos opened from now on play on this device (null:
    // no sound). The device must stay open while a video is.
    void setAudioDevice(AudioDevice* device) { mAudioDevice = device; }
    // The open video's sound track plays.
    bool hasAudio() const { return mAudioBuffer != nullptr; }

    // Opening closes any previous video; the new one is stopped at 0.
    // A file by the game's path (kMediaFileNotFound when it is not there).
    PlatformResult openFile(const std::string& path);
    // Bytes in memory, kept alive by `owner` until the player closes (the
    // resource archive's buffer: hand it over in a shared_ptr). The name's
    // extension helps recognise the container.
    PlatformResult openMemory(const uint8_t* data, size_t size, std::shared_ptr<const void> owner,
                              const std::string& name);
    PlatformResult openMemory(std::vector<uint8_t> bytes, const std::string& name);
    void close();
    bool isOpen() const { return mOpen; }

    // The sink receives pictures on the decoding thread. After this returns
    // the previous sink is no longer called (null: no pictures are handed out).
    void setFrameSink(VideoFrameSink* sink);

    // From stopped, playing and pausing start at the current position; pausing
    // shows the picture at that position.
    PlatformResult play();
    PlatformResult pause();
    // Stops where it is (the position stays; set it to 0 to rewind).
    PlatformResult stop();
    MediaState state() const;

    int64_t durationMs() const;
    int64_t positionMs() const;
    // Clamped to 0..duration. The picture at the new position shows at once
    // when paused, as soon as it is decoded when playing.
    PlatformResult setPositionMs(int64_t positionMs);

    // Forward rates only (above 0): a negative rate gives kMediaNotImplemented
    // and the caller emulates it by seeking.
    PlatformResult setRate(double rate);
    double rate() const;
    bool canPlayBackwards() const { return false; }

    uint32_t videoWidth() const { return mWidth; }
    uint32_t videoHeight() const { return mHeight; }

    // Hundredths of a decibel, -10000..0, applied to the sound track (kept
    // when there is none).
    PlatformResult setVolume(int32_t volume);
    PlatformResult getVolume(int32_t& volume) const;

    // Takes the oldest queued event without waiting; false when none.
    bool getEvent(uint32_t& event);

private:
    PlatformResult startPlayer(PlatformResult opened);
    void run();
    // Where playback stands, unbounded (it paces the pictures) and as reported
    // (not past the end).
    int64_t streamTimeNsLocked(int64_t now) const;
    int64_t positionNsLocked(int64_t now) const;
    void requestSeekLocked(int64_t positionNs);
    void deliver(std::unique_lock<std::mutex>& lock);
    // Decoding thread: keeps the sound buffer filled while it should run,
    // stops it otherwise.
    void serviceAudio(bool run);
    // Whether the sound track should be heard now. mMutex held.
    bool audioWantedLocked() const;
    void restartAudio();
    // Owner's thread: stops the sound at once on pause, stop and close.
    void silenceAudio();
    void applyAudioRateLocked();

    MediaDecoder mDecoder;
    bool mOpen = false;
    uint32_t mWidth = 0;
    uint32_t mHeight = 0;
    int64_t mDurationNs = 0;
    int32_t mVolume = 0;

    AudioDevice* mAudioDevice = nullptr;
    std::unique_ptr<AudioBuffer> mAudioBuffer;
    // Decoding thread only: bytes written to and played from the buffer since
    // the last restart, and the play cursor last seen.
    bool mAudioRunning = false;
    uint64_t mAudioWritten = 0;
    uint64_t mAudioPlayed = 0;
    uint32_t mAudioCursor = 0;

    std::mutex mSinkMutex;
    VideoFrameSink* mSink = nullptr;

    mutable std::mutex mMutex;
    std::condition_variable mWake;
    std::thread mThread;
    bool mQuit = false;
    MediaState mState = MediaState::Stopped;
    double mRate = 1.0;
    // Playing, the position moves from the anchor with the clock at the rate.
    int64_t mAnchorPositionNs = 0;
    int64_t mAnchorClockNs = 0;
    // The end of the last picture once the stream's end is known, else the
    // duration: the position goes no further.
    int64_t mEndNs = 0;
    uint64_t mSeekSerial = 0;
    uint64_t mSeekDone = 0;
    int64_t mSeekTargetNs = 0;
    std::deque<uint32_t> mEvents;
    // The decoding thread's view of the stream.
    bool mHasFrame = false;
    bool mCueFrame = false;
    bool mEndOfStream = false;
    bool mCompleteSent = false;
    int64_t mLastFrameEndNs = 0;
};

} // namespace Platform
