#include "Platform/Media/MediaPlayer.h"

#include "Platform/Audio/AudioDevice.h"
#include "Platform/System/Clock.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <system_error>

namespace Platform
{

namespace
{

// The longest the decoding thread sleeps before it reads the clock again:
// a test's manual clock moves without waking it.
constexpr int64_t kPollNs = 5000000;
// One second of sound ahead of the play cursor at most.
constexpr uint32_t kAudioBufferBytes = kMediaAudioRate * kMediaAudioBlock;
// Bytes just ahead of the cursor are left alone: the mixer may be reading them.
constexpr uint32_t kAudioGuardBytes = 4096;

} // namespace

MediaPlayer::MediaPlayer() = default;

MediaPlayer::~MediaPlayer()
{
    close();
}

PlatformResult MediaPlayer::openFile(const std::string& path)
{
    close();
    mDecoder.setAudioWanted(mAudioDevice != nullptr);
    return startPlayer(mDecoder.openFile(path));
}

PlatformResult MediaPlayer::openMemory(const uint8_t* data, size_t size, std::shared_ptr<const void> owner,
                                       const std::string& name)
{
    close();
    if (data == nullptr && size != 0)
        return kMediaInvalidArgument;
    auto stream = std::make_shared<MediaMemoryStream>(data, size, std::move(owner));
    mDecoder.setAudioWanted(mAudioDevice != nullptr);
    return startPlayer(mDecoder.openMemory(std::move(stream), name));
}

PlatformResult MediaPlayer::openMemory(std::vector<uint8_t> bytes, const std::string& name)
{
    close();
    auto stream = std::make_shared<MediaMemoryStream>(std::move(bytes));
    mDecoder.setAudioWanted(mAudioDevice != nullptr);
    return startPlayer(mDecoder.openMemory(std::move(stream), name));
}

PlatformResult MediaPlayer::startPlayer(PlatformResult opened)
{
    if (resultFailed(opened))
        return opened;
    mOpen = true;
    mWidth = mDecoder.width();
    mHeight = mDecoder.height();
    mDurationNs = mDecoder.durationNs();
    mVolume = 0;
    if (mDecoder.hasAudio() && mAudioDevice != nullptr && mAudioDevice->isOpen())
    {
        AudioBufferDesc desc;
        desc.flags = kBufferControlVolume | kBufferControlFrequency;
        desc.bytes = kAudioBufferBytes;
        desc.format = makePcmFormat(2, kMediaAudioRate, 16);
        // Without a buffer the pictures play on in silence.
        if (resultFailed(mAudioDevice->createBuffer(desc, mAudioBuffer)))
            mAudioBuffer.reset();
    }
    mAudioRunning = false;
    mAudioWritten = mAudioPlayed = 0;
    mAudioCursor = 0;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mQuit = false;
        mState = MediaState::Stopped;
        mRate = 1.0;
        mAnchorPositionNs = 0;
        mAnchorClockNs = clockNanoseconds();
        mEndNs = mDurationNs;
        mSeekSerial = mSeekDone = 0;
        mEvents.clear();
        mHasFrame = mCueFrame = mEndOfStream = mCompleteSent = false;
        mLastFrameEndNs = 0;
    }
    try
    {
        mThread = std::thread([this] { run(); });
    }
    catch (const std::system_error&)
    {
        // No thread, no playback: as when the player cannot be built at all.
        mAudioBuffer.reset();
        mDecoder.close();
        mOpen = false;
        mWidth = mHeight = 0;
        mDurationNs = 0;
        return kMediaNoDecoder;
    }
    return kMediaOk;
}

void MediaPlayer::close()
{
    // The sound ends now, not once the decoding thread has finished its step.
    silenceAudio();
    if (mThread.joinable())
    {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mQuit = true;
        }
        mWake.notify_all();
        mThread.join();
    }
    mAudioBuffer.reset();
    mDecoder.close();
    mOpen = false;
    mWidth = mHeight = 0;
    mDurationNs = 0;
    std::lock_guard<std::mutex> lock(mMutex);
    mState = MediaState::Stopped;
    mEvents.clear();
}

void MediaPlayer::setFrameSink(VideoFrameSink* sink)
{
    std::lock_guard<std::mutex> lock(mSinkMutex);
    mSink = sink;
}

int64_t MediaPlayer::streamTimeNsLocked(int64_t now) const
{
    int64_t position = mAnchorPositionNs;
    if (mState == MediaState::Playing)
        position += static_cast<int64_t>(static_cast<double>(now - mAnchorClockNs) * mRate);
    return std::max<int64_t>(position, 0);
}

int64_t MediaPlayer::positionNsLocked(int64_t now) const
{
    const int64_t position = streamTimeNsLocked(now);
    return mEndNs > 0 ? std::min(position, mEndNs) : position;
}

void MediaPlayer::requestSeekLocked(int64_t positionNs)
{
    mAnchorPositionNs = positionNs;
    mAnchorClockNs = clockNanoseconds();
    mSeekTargetNs = positionNs;
    ++mSeekSerial;
}

PlatformResult MediaPlayer::play()
{
    if (!mOpen)
        return kMediaNotOpen;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        const int64_t now = clockNanoseconds();
        if (mState == MediaState::Stopped)
            requestSeekLocked(mAnchorPositionNs);
        else if (mState == MediaState::Paused)
        {
            mAnchorClockNs = now;
        }
        mState = MediaState::Playing;
    }
    mWake.notify_all();
    return kMediaOk;
}

PlatformResult MediaPlayer::pause()
{
    if (!mOpen)
        return kMediaNotOpen;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        const int64_t now = clockNanoseconds();
        if (mState == MediaState::Stopped)
            requestSeekLocked(mAnchorPositionNs);
        else
            mAnchorPositionNs = positionNsLocked(now);
        mState = MediaState::Paused;
    }
    silenceAudio();
    mWake.notify_all();
    return kMediaOk;
}

PlatformResult MediaPlayer::stop()
{
    if (!mOpen)
        return kMediaNotOpen;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mAnchorPositionNs = positionNsLocked(clockNanoseconds());
        mState = MediaState::Stopped;
    }
    silenceAudio();
    mWake.notify_all();
    return kMediaOk;
}

MediaState MediaPlayer::state() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mState;
}

int64_t MediaPlayer::durationMs() const
{
    return mDurationNs / 1000000;
}

int64_t MediaPlayer::positionMs() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return positionNsLocked(clockNanoseconds()) / 1000000;
}

PlatformResult MediaPlayer::setPositionMs(int64_t positionMs)
{
    if (!mOpen)
        return kMediaNotOpen;
    positionMs = std::max<int64_t>(positionMs, 0);
    if (mDurationNs > 0)
        positionMs = std::min(positionMs, mDurationNs / 1000000);
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (mState == MediaState::Stopped)
        {
            // Read when playback starts again.
            mAnchorPositionNs = positionMs * 1000000;
        }
        else
            requestSeekLocked(positionMs * 1000000);
    }
    mWake.notify_all();
    return kMediaOk;
}

PlatformResult MediaPlayer::setRate(double rate)
{
    if (!mOpen)
        return kMediaNotOpen;
    if (!std::isfinite(rate) || rate == 0.0)
        return kMediaInvalidArgument;
    if (rate < 0.0)
        return kMediaNotImplemented;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        const int64_t now = clockNanoseconds();
        mAnchorPositionNs = positionNsLocked(now);
        mAnchorClockNs = now;
        mRate = rate;
        applyAudioRateLocked();
    }
    mWake.notify_all();
    return kMediaOk;
}

double MediaPlayer::rate() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mRate;
}

PlatformResult MediaPlayer::setVolume(int32_t volume)
{
    if (!mOpen)
        return kMediaNotOpen;
    if (volume < -10000 || volume > 0)
        return kMediaInvalidArgument;
    mVolume = volume;
    if (mAudioBuffer)
        mAudioBuffer->setVolume(volume);
    return kMediaOk;
}

PlatformResult MediaPlayer::getVolume(int32_t& volume) const
{
    if (!mOpen)
        return kMediaNotOpen;
    volume = mVolume;
    return kMediaOk;
}

bool MediaPlayer::getEvent(uint32_t& event)
{
    std::lock_guard<std::mutex> lock(mMutex);
    if (mEvents.empty())
        return false;
    event = mEvents.front();
    mEvents.pop_front();
    return true;
}

void MediaPlayer::applyAudioRateLocked()
{
    if (!mAudioBuffer)
        return;
    const double frequency =
        std::min(static_cast<double>(kMediaAudioRate) * mRate, static_cast<double>(kFrequencyMax));
    mAudioBuffer->setFrequency(
        static_cast<uint32_t>(std::max(frequency, static_cast<double>(kFrequencyMin))));
}

bool MediaPlayer::audioWantedLocked() const
{
    return mState == MediaState::Playing && !mCompleteSent && mSeekSerial == mSeekDone;
}

void MediaPlayer::silenceAudio()
{
    // The decoding thread notices the new state on its next turn; until then
    // the buffer would play on. Stopping it here leaves the thread's own
    // bookkeeping alone: it sees a stopped buffer and starts it again when
    // the sound is wanted.
    if (mAudioBuffer)
        mAudioBuffer->stop();
}

void MediaPlayer::restartAudio()
{
    if (!mAudioBuffer)
        return;
    mAudioBuffer->stop();
    mAudioBuffer->setCurrentPosition(0);
    mAudioRunning = false;
    mAudioWritten = mAudioPlayed = 0;
    mAudioCursor = 0;
}

void MediaPlayer::serviceAudio(bool run)
{
    if (!mAudioBuffer)
        return;
    if (!run)
    {
        if (mAudioRunning)
            mAudioBuffer->stop();
        mAudioRunning = false;
        return;
    }
    const uint32_t size = mAudioBuffer->size();
    uint32_t cursor = 0;
    mAudioBuffer->getCurrentPosition(&cursor, nullptr);
    mAudioPlayed += (cursor + size - mAudioCursor) % size;
    mAudioCursor = cursor;
    // Behind the cursor: what it played meanwhile is lost, writing resumes there.
    if (mAudioPlayed > mAudioWritten)
        mAudioWritten = mAudioPlayed;
    const uint64_t pending = mAudioWritten - mAudioPlayed;
    if (pending + kAudioGuardBytes < size)
    {
        const uint32_t room =
            (size - static_cast<uint32_t>(pending) - kAudioGuardBytes) / kMediaAudioBlock * kMediaAudioBlock;
        mDecoder.fillAudio(room);
        uint32_t bytes = static_cast<uint32_t>(std::min<size_t>(room, mDecoder.audioAvailable()));
        // After the last sound, silence, so that the looping buffer does not
        // play old sound again.
        if (mDecoder.audioEnded())
            bytes = room;
        AudioLockRegions regions;
        if (bytes != 0 &&
            !resultFailed(mAudioBuffer->lock(static_cast<uint32_t>(mAudioWritten % size), bytes, regions)))
        {
            const size_t first = mDecoder.takeAudio(regions.first, regions.firstBytes);
            std::memset(regions.first + first, 0, regions.firstBytes - first);
            if (regions.second != nullptr)
            {
                const size_t second = mDecoder.takeAudio(regions.second, regions.secondBytes);
                std::memset(regions.second + second, 0, regions.secondBytes - second);
            }
            mAudioBuffer->unlock(regions);
            mAudioWritten += bytes;
        }
    }
    uint32_t status = 0;
    mAudioBuffer->getStatus(status);
    if (!mAudioRunning || (status & kStatusPlaying) == 0)
    {
        mAudioBuffer->play(kPlayLooping);
        mAudioRunning = true;
    }
}

void MediaPlayer::deliver(std::unique_lock<std::mutex>& lock)
{
    mHasFrame = false;
    mCueFrame = false;
    mLastFrameEndNs = mDecoder.frameEndNs();
    if (mEndOfStream || mLastFrameEndNs > mEndNs)
        mEndNs = std::max(mEndNs, mLastFrameEndNs);
    VideoFrame frame;
    frame.pixels = mDecoder.pixels();
    frame.width = mWidth;
    frame.height = mHeight;
    frame.pitch = mDecoder.pitch();
    frame.positionMs = mDecoder.framePositionNs() / 1000000;
    // The pixels belong to this thread until the next decode: the owner's
    // calls need not wait for the sink.
    lock.unlock();
    {
        std::lock_guard<std::mutex> sinkLock(mSinkMutex);
        if (mSink != nullptr)
            mSink->renderFrame(frame);
    }
    lock.lock();
}

void MediaPlayer::run()
{
    std::unique_lock<std::mutex> lock(mMutex);
    while (!mQuit)
    {
        if (mAudioBuffer)
        {
            const bool run = audioWantedLocked();
            lock.unlock();
            serviceAudio(run);
            lock.lock();
            if (mQuit)
                break;
        }
        // A pause or stop that came while the sound was being serviced found
        // no one waiting: the sound is brought in line before sleeping.
        if (mAudioBuffer && mAudioRunning && !audioWantedLocked())
            continue;
        if (mState == MediaState::Stopped)
        {
            mWake.wait(lock);
            continue;
        }
        if (mSeekSerial != mSeekDone)
        {
            const uint64_t serial = mSeekSerial;
            const int64_t target = mSeekTargetNs;
            lock.unlock();
            restartAudio();
            const bool found = mDecoder.seek(target);
            lock.lock();
            mSeekDone = serial;
            mHasFrame = found;
            mCueFrame = found;
            mEndOfStream = !found;
            mCompleteSent = false;
            continue;
        }
        if (!mHasFrame && !mEndOfStream)
        {
            lock.unlock();
            const bool found = mDecoder.decodeNext();
            lock.lock();
            if (mSeekSerial != mSeekDone)
                continue;
            mHasFrame = found;
            if (!found)
            {
                mEndOfStream = true;
                mEndNs = std::max(mEndNs, mLastFrameEndNs);
            }
            continue;
        }
        if (mState == MediaState::Paused)
        {
            if (mHasFrame && mCueFrame)
                deliver(lock);
            else
                mWake.wait(lock);
            continue;
        }

        const int64_t now = clockNanoseconds();
        const int64_t position = streamTimeNsLocked(now);
        int64_t due = 0;
        if (mHasFrame)
        {
            if (mCueFrame || mDecoder.framePositionNs() <= position)
            {
                deliver(lock);
                continue;
            }
            due = mDecoder.framePositionNs();
        }
        else if (!mCompleteSent)
        {
            if (position >= mEndNs)
            {
                mEvents.push_back(kMediaEventComplete);
                mCompleteSent = true;
                continue;
            }
            due = mEndNs;
        }
        else
        {
            mWake.wait(lock);
            continue;
        }
        const auto wait =
            std::min<int64_t>(static_cast<int64_t>(static_cast<double>(due - position) / mRate), kPollNs);
        mWake.wait_for(lock, std::chrono::nanoseconds(std::max<int64_t>(wait, 100000)));
    }
}

} // namespace Platform
