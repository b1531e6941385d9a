#pragma once
// The FFmpeg side of the video service: a container opened from a file or
// from memory, its video stream decoded picture by picture into BGRA at the
// video's size, and seeking. Not thread-safe: the player uses it from its
// decoding thread only (after opening it on the caller's thread).
#include "Platform/Media/MediaMemoryStream.h"
#include "Platform/Media/MediaResult.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVIOContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;
struct SwrContext;

namespace Platform
{

// Larger pictures are refused: their frame buffers would be absurd for a game.
inline constexpr uint32_t kMaxVideoDimension = 4096;

// Sound comes out as 16-bit stereo at the game's primary rate.
inline constexpr uint32_t kMediaAudioRate = 22050;
inline constexpr uint32_t kMediaAudioBlock = 4;

class MediaDecoder
{
public:
    MediaDecoder();
    ~MediaDecoder();
    MediaDecoder(const MediaDecoder&) = delete;
    MediaDecoder& operator=(const MediaDecoder&) = delete;

    // Whether the next open decodes the sound track as well (off by default).
    // A sound track without a decoder is left out: the pictures still play.
    void setAudioWanted(bool wanted) { mAudioWanted = wanted; }

    // A file on the disk, by the game's path (mapped to the Linux one).
    PlatformResult openFile(const std::string& path);
    // A video in memory; the name (its extension) helps recognise the format.
    PlatformResult openMemory(std::shared_ptr<MediaMemoryStream> stream, const std::string& name);
    void close();
    bool isOpen() const { return mCodec != nullptr; }

    uint32_t width() const { return mWidth; }
    uint32_t height() const { return mHeight; }
    // 0 when the container does not tell.
    int64_t durationNs() const { return mDurationNs; }
    // The time one picture stays up when the stream does not say otherwise.
    int64_t frameDurationNs() const { return mFrameDurationNs; }

    // Decodes the next picture into pixels(); false at the end of the stream.
    bool decodeNext();
    // Moves to the picture that shows at the position and decodes it into
    // pixels(); past the last picture that last one. False when the stream
    // has no picture at all to show.
    bool seek(int64_t positionNs);

    bool hasAudio() const { return mAudioCodec != nullptr; }
    // Reads ahead until `bytes` of sound wait (or the stream ends); pictures
    // read on the way wait their turn.
    void fillAudio(size_t bytes);
    size_t audioAvailable() const { return mAudio.size() - mAudioRead; }
    // Copies up to `bytes` of waiting sound; returns the bytes copied.
    size_t takeAudio(uint8_t* out, size_t bytes);
    // No more sound will come until the next seek.
    bool audioEnded() const { return mInputEnded && audioAvailable() == 0; }

    // The current picture: BGRA rows top down, pitch() bytes apart (width x
    // 4 or more); null before the first picture.
    const uint8_t* pixels() const { return mScaled[0]; }
    uint32_t pitch() const { return static_cast<uint32_t>(mScaledPitch[0]); }
    int64_t framePositionNs() const { return mFramePositionNs; }
    int64_t frameEndNs() const { return mFramePositionNs + mFrameDurationNs; }

private:
    PlatformResult openInput();
    void closeInput();
    // 0 with a picture in `frame`, 1 at the end of the stream.
    int receiveFrame(AVFrame* frame);
    void convert(const AVFrame* frame);
    int64_t framePosition(const AVFrame* frame) const;
    PlatformResult openAudio();
    // Reads one packet: a picture's is queued, a sound's decoded. False at
    // the end of the input.
    bool readPacket();
    void decodeAudio(const AVPacket* packet);
    void resetStreams(int64_t audioStartNs);

    std::string mPath;
    std::string mName;
    std::shared_ptr<MediaMemoryStream> mStream;

    AVFormatContext* mFormat = nullptr;
    AVIOContext* mIo = nullptr;
    AVCodecContext* mCodec = nullptr;
    AVFrame* mFrame = nullptr;
    AVFrame* mHeld = nullptr;
    AVPacket* mPacket = nullptr;
    SwsContext* mScaler = nullptr;
    uint8_t* mScaled[4] = {};
    int mScaledPitch[4] = {};
    int mStreamIndex = -1;
    // The input has no more packets; the video decoder was told so.
    bool mInputEnded = false;
    bool mDraining = false;
    std::deque<AVPacket*> mVideoPackets;

    bool mAudioWanted = false;
    AVCodecContext* mAudioCodec = nullptr;
    SwrContext* mResampler = nullptr;
    int mAudioIndex = -1;
    std::vector<uint8_t> mAudio;
    size_t mAudioRead = 0;
    // Sound before this time (after a seek) is dropped.
    int64_t mAudioStartNs = 0;
    // What the resampler was set up for.
    int mAudioChannels = 0;
    int mAudioFormat = -1;
    int mAudioInputRate = 0;
    // mFrame holds a picture that seeking read ahead and decodeNext returns.
    bool mFramePending = false;

    uint32_t mWidth = 0;
    uint32_t mHeight = 0;
    int64_t mDurationNs = 0;
    int64_t mFrameDurationNs = 0;
    int64_t mFramePositionNs = 0;
};

} // namespace Platform
