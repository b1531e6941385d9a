#include "Platform/Media/MediaDecoder.h"

#include "Platform/System/Paths.h"

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <cstdio>
#include <filesystem>
#include <limits>
#include <mutex>

namespace Platform
{

namespace
{

constexpr int kIoBufferSize = 4096;
constexpr AVRational kNanoseconds = {1, 1000000000};
constexpr int64_t kDefaultFrameDurationNs = 40000000;

int readMemory(void* opaque, uint8_t* buffer, int size)
{
    if (size <= 0)
        return 0;
    const size_t read = static_cast<MediaMemoryStream*>(opaque)->read(buffer, static_cast<size_t>(size));
    return read == 0 ? AVERROR_EOF : static_cast<int>(read);
}

int64_t seekMemory(void* opaque, int64_t offset, int whence)
{
    auto* stream = static_cast<MediaMemoryStream*>(opaque);
    const int64_t size = static_cast<int64_t>(stream->size());
    whence &= ~AVSEEK_FORCE;
    int64_t base = 0;
    switch (whence)
    {
    case AVSEEK_SIZE:
        return size;
    case SEEK_SET:
        base = 0;
        break;
    case SEEK_CUR:
        base = static_cast<int64_t>(stream->position());
        break;
    case SEEK_END:
        base = size;
        break;
    default:
        return -1;
    }
    if ((offset > 0 && base > size - offset) || base + offset < 0)
        return -1;
    const int64_t target = base + offset;
    if (stream->setPointer(static_cast<uint64_t>(target)) != 0)
        return -1;
    return target;
}

} // namespace

MediaDecoder::MediaDecoder()
{
    // Damaged videos would fill the terminal with FFmpeg's complaints; the
    // player reports what matters through its results.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
}

MediaDecoder::~MediaDecoder()
{
    close();
}

MediaResult MediaDecoder::openFile(const std::string& path)
{
    close();
    mPath = mapPath(path);
    mName = mPath;
    std::error_code error;
    if (!std::filesystem::is_regular_file(mPath, error))
    {
        mPath.clear();
        mName.clear();
        return kMediaFileNotFound;
    }
    const MediaResult result = openInput();
    if (mediaFailed(result))
        close();
    return result;
}

MediaResult MediaDecoder::openMemory(std::shared_ptr<MediaMemoryStream> stream, const std::string& name)
{
    close();
    if (!stream)
        return kMediaInvalidArgument;
    mStream = std::move(stream);
    mName = name;
    const MediaResult result = openInput();
    if (mediaFailed(result))
        close();
    return result;
}

void MediaDecoder::close()
{
    closeInput();
    sws_freeContext(mScaler);
    mScaler = nullptr;
    mStream.reset();
    mPath.clear();
    mName.clear();
    mWidth = mHeight = 0;
    mDurationNs = 0;
    mFrameDurationNs = 0;
    mFramePositionNs = 0;
    mPixels.clear();
    mPixels.shrink_to_fit();
}

void MediaDecoder::closeInput()
{
    avcodec_free_context(&mCodec);
    av_frame_free(&mFrame);
    av_frame_free(&mHeld);
    av_packet_free(&mPacket);
    avformat_close_input(&mFormat);
    if (mIo != nullptr)
    {
        av_freep(&mIo->buffer);
        avio_context_free(&mIo);
    }
    mStreamIndex = -1;
    mDraining = false;
    mFramePending = false;
}

MediaResult MediaDecoder::openInput()
{
    mFormat = avformat_alloc_context();
    mFrame = av_frame_alloc();
    mHeld = av_frame_alloc();
    mPacket = av_packet_alloc();
    if (mFormat == nullptr || mFrame == nullptr || mHeld == nullptr || mPacket == nullptr)
        return kMediaUnknownFormat;

    AVDictionary* options = nullptr;
    if (mStream)
    {
        if (mStream->setPointer(0) != 0)
            return kMediaUnknownFormat;
        auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBufferSize));
        if (buffer == nullptr)
            return kMediaUnknownFormat;
        mIo = avio_alloc_context(buffer, kIoBufferSize, 0, mStream.get(), readMemory, nullptr, seekMemory);
        if (mIo == nullptr)
        {
            av_free(buffer);
            return kMediaUnknownFormat;
        }
        mFormat->pb = mIo;
        mFormat->flags |= AVFMT_FLAG_CUSTOM_IO;
    }
    else
    {
        // Only the file itself: a playlist-like container must not reach out.
        av_dict_set(&options, "protocol_whitelist", "file", 0);
    }
    const std::string url = mStream ? mName : "file:" + mPath;
    // On failure the context is freed (the custom I/O stays ours).
    const int opened = avformat_open_input(&mFormat, url.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0)
        return kMediaUnknownFormat;
    if (avformat_find_stream_info(mFormat, nullptr) < 0)
        return kMediaUnknownFormat;

    const AVCodec* decoder = nullptr;
    const int index = av_find_best_stream(mFormat, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (index == AVERROR_DECODER_NOT_FOUND)
        return kMediaNoDecoder;
    if (index < 0 || decoder == nullptr)
        return kMediaNoVideo;
    mStreamIndex = index;
    for (unsigned i = 0; i < mFormat->nb_streams; ++i)
        mFormat->streams[i]->discard = static_cast<int>(i) == index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;

    const AVStream* stream = mFormat->streams[index];
    const AVCodecParameters* parameters = stream->codecpar;
    if (parameters->width <= 0 || parameters->height <= 0 ||
        static_cast<uint32_t>(parameters->width) > kMaxVideoDimension ||
        static_cast<uint32_t>(parameters->height) > kMaxVideoDimension)
        return kMediaNoVideo;

    mCodec = avcodec_alloc_context3(decoder);
    if (mCodec == nullptr || avcodec_parameters_to_context(mCodec, parameters) < 0)
        return kMediaNoDecoder;
    mCodec->thread_count = 1;
    if (avcodec_open2(mCodec, decoder, nullptr) < 0)
    {
        avcodec_free_context(&mCodec);
        return kMediaNoDecoder;
    }

    const bool first = mWidth == 0;
    mWidth = static_cast<uint32_t>(parameters->width);
    mHeight = static_cast<uint32_t>(parameters->height);
    if (first)
        mPixels.assign(static_cast<size_t>(mWidth) * mHeight * 4, 0);

    AVRational rate = stream->avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0)
        rate = stream->r_frame_rate;
    mFrameDurationNs = kDefaultFrameDurationNs;
    if (rate.num > 0 && rate.den > 0)
    {
        const int64_t duration = av_rescale(1000000000, rate.den, rate.num);
        if (duration > 0 && duration <= 10 * int64_t{1000000000})
            mFrameDurationNs = duration;
    }

    mDurationNs = 0;
    if (mFormat->duration != AV_NOPTS_VALUE && mFormat->duration > 0)
        mDurationNs = av_rescale(mFormat->duration, 1000000000, AV_TIME_BASE);
    else if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        mDurationNs = av_rescale_q(stream->duration, stream->time_base, kNanoseconds);
    if (mDurationNs < 0)
        mDurationNs = 0;
    return kMediaOk;
}

int64_t MediaDecoder::framePosition(const AVFrame* frame) const
{
    const AVStream* stream = mFormat->streams[mStreamIndex];
    int64_t timestamp = frame->best_effort_timestamp;
    if (timestamp == AV_NOPTS_VALUE)
        return mFramePositionNs + mFrameDurationNs;
    if (stream->start_time != AV_NOPTS_VALUE)
        timestamp -= stream->start_time;
    const int64_t position = av_rescale_q(timestamp, stream->time_base, kNanoseconds);
    return position < 0 ? 0 : position;
}

int MediaDecoder::receiveFrame(AVFrame* frame)
{
    for (;;)
    {
        const int received = avcodec_receive_frame(mCodec, frame);
        if (received == 0)
        {
            if (frame->width > 0 && frame->height > 0 && frame->format != AV_PIX_FMT_NONE)
                return 0;
            av_frame_unref(frame);
            continue;
        }
        if (received != AVERROR(EAGAIN) || mDraining)
            return 1;
        const int read = av_read_frame(mFormat, mPacket);
        if (read < 0)
        {
            // End of the data, or data we cannot read on: what was decoded plays.
            mDraining = true;
            avcodec_send_packet(mCodec, nullptr);
            continue;
        }
        if (mPacket->stream_index == mStreamIndex)
        {
            // A damaged packet is skipped; the decoder picks up at the next one.
            avcodec_send_packet(mCodec, mPacket);
        }
        av_packet_unref(mPacket);
    }
}

void MediaDecoder::convert(const AVFrame* frame)
{
    const auto format = static_cast<AVPixelFormat>(frame->format);
    mScaler = sws_getCachedContext(mScaler, frame->width, frame->height, format, static_cast<int>(mWidth),
                                   static_cast<int>(mHeight), AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr,
                                   nullptr);
    if (mScaler == nullptr)
        return;
    uint8_t* destination[4] = {mPixels.data(), nullptr, nullptr, nullptr};
    int pitch[4] = {static_cast<int>(mWidth * 4), 0, 0, 0};
    sws_scale(mScaler, frame->data, frame->linesize, 0, frame->height, destination, pitch);
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(format);
    if (descriptor == nullptr || (descriptor->flags & AV_PIX_FMT_FLAG_ALPHA) != 0)
    {
        // The texture is opaque whatever the source carried.
        for (size_t i = 3; i < mPixels.size(); i += 4)
            mPixels[i] = 0xFF;
    }
}

bool MediaDecoder::decodeNext()
{
    if (!isOpen())
        return false;
    if (!mFramePending && receiveFrame(mFrame) != 0)
        return false;
    mFramePending = false;
    mFramePositionNs = framePosition(mFrame);
    convert(mFrame);
    av_frame_unref(mFrame);
    return true;
}

bool MediaDecoder::seek(int64_t positionNs)
{
    if (!isOpen())
        return false;
    if (positionNs < 0)
        positionNs = 0;
    const AVStream* stream = mFormat->streams[mStreamIndex];
    // Rounded down: the seek must land at or before the picture that shows.
    int64_t timestamp = av_rescale_q_rnd(positionNs, kNanoseconds, stream->time_base, AV_ROUND_DOWN);
    if (stream->start_time != AV_NOPTS_VALUE)
        timestamp += stream->start_time;
    bool sought = av_seek_frame(mFormat, mStreamIndex, timestamp, AVSEEK_FLAG_BACKWARD) >= 0;
    if (sought)
    {
        avcodec_flush_buffers(mCodec);
        mDraining = false;
    }
    else
    {
        // A container that cannot seek is read again from its start.
        closeInput();
        if (mediaFailed(openInput()))
        {
            closeInput();
            return false;
        }
    }

    // Decode up to the picture that covers the position; past the last
    // picture, the last one stays.
    av_frame_unref(mHeld);
    av_frame_unref(mFrame);
    mFramePending = false;
    bool held = false;
    int64_t heldPosition = 0;
    while (receiveFrame(mFrame) == 0)
    {
        const int64_t position = framePosition(mFrame);
        if (held && position > positionNs)
        {
            // Already the next picture: it plays next.
            mFramePending = true;
            break;
        }
        av_frame_unref(mHeld);
        av_frame_move_ref(mHeld, mFrame);
        held = true;
        heldPosition = position;
        if (position + mFrameDurationNs > positionNs)
            break;
    }
    if (!held)
        return false;
    mFramePositionNs = heldPosition;
    convert(mHeld);
    av_frame_unref(mHeld);
    return true;
}

} // namespace Platform
