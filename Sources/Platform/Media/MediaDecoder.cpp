#include "Platform/Media/MediaDecoder.h"

#include "Platform/System/Paths.h"

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstdio>
#include <cstring>
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
// Read-ahead for the sound never queues more pictures than this.
constexpr size_t kMaxQueuedPackets = 512;
// Decoded sound waiting to be played: a minute at most.
constexpr size_t kMaxAudioBytes = size_t{60} * kMediaAudioRate * kMediaAudioBlock;

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

PlatformResult MediaDecoder::openFile(const std::string& path)
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
    const PlatformResult result = openInput();
    if (resultFailed(result))
        close();
    return result;
}

PlatformResult MediaDecoder::openMemory(std::shared_ptr<MediaMemoryStream> stream, const std::string& name)
{
    close();
    if (!stream)
        return kMediaInvalidArgument;
    mStream = std::move(stream);
    mName = name;
    const PlatformResult result = openInput();
    if (resultFailed(result))
        close();
    return result;
}

void MediaDecoder::close()
{
    closeInput();
    sws_freeContext(mScaler);
    mScaler = nullptr;
    av_freep(&mScaled[0]);
    mScaledPitch[0] = 0;
    mStream.reset();
    mPath.clear();
    mName.clear();
    mAudioStartNs = 0;
    mWidth = mHeight = 0;
    mDurationNs = 0;
    mFrameDurationNs = 0;
    mFramePositionNs = 0;
}

void MediaDecoder::closeInput()
{
    for (AVPacket*& packet : mVideoPackets)
        av_packet_free(&packet);
    mVideoPackets.clear();
    avcodec_free_context(&mAudioCodec);
    swr_free(&mResampler);
    mAudioIndex = -1;
    mAudio.clear();
    mAudioRead = 0;
    mInputEnded = false;
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

PlatformResult MediaDecoder::openInput()
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
    if (mAudioWanted)
        openAudio();
    for (unsigned i = 0; i < mFormat->nb_streams; ++i)
    {
        const bool used = static_cast<int>(i) == index || static_cast<int>(i) == mAudioIndex;
        mFormat->streams[i]->discard = used ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }

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

    mWidth = static_cast<uint32_t>(parameters->width);
    mHeight = static_cast<uint32_t>(parameters->height);

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

PlatformResult MediaDecoder::openAudio()
{
    const AVCodec* decoder = nullptr;
    const int index = av_find_best_stream(mFormat, AVMEDIA_TYPE_AUDIO, -1, mStreamIndex, &decoder, 0);
    if (index < 0 || decoder == nullptr)
        return kMediaNoDecoder;
    const AVCodecParameters* parameters = mFormat->streams[index]->codecpar;
    if (parameters->sample_rate <= 0 || parameters->sample_rate > 384000 ||
        parameters->ch_layout.nb_channels <= 0 || parameters->ch_layout.nb_channels > 16)
        return kMediaNoDecoder;
    AVCodecContext* codec = avcodec_alloc_context3(decoder);
    bool opened = codec != nullptr && avcodec_parameters_to_context(codec, parameters) >= 0;
    if (opened)
    {
        codec->thread_count = 1;
        opened = avcodec_open2(codec, decoder, nullptr) >= 0;
    }
    if (!opened)
    {
        avcodec_free_context(&codec);
        return kMediaNoDecoder;
    }
    AVChannelLayout input = {};
    if (codec->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&input, codec->ch_layout.nb_channels);
    else if (av_channel_layout_copy(&input, &codec->ch_layout) < 0)
        av_channel_layout_default(&input, codec->ch_layout.nb_channels);
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    SwrContext* resampler = nullptr;
    const bool ready = swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_S16, kMediaAudioRate, &input,
                                           codec->sample_fmt, codec->sample_rate, 0, nullptr) >= 0 &&
                       swr_init(resampler) >= 0;
    av_channel_layout_uninit(&input);
    if (!ready)
    {
        swr_free(&resampler);
        avcodec_free_context(&codec);
        return kMediaNoDecoder;
    }
    mAudioCodec = codec;
    mResampler = resampler;
    mAudioIndex = index;
    mAudioChannels = codec->ch_layout.nb_channels;
    mAudioFormat = codec->sample_fmt;
    mAudioInputRate = codec->sample_rate;
    return kMediaOk;
}

bool MediaDecoder::readPacket()
{
    if (mInputEnded)
        return false;
    if (av_read_frame(mFormat, mPacket) < 0)
    {
        // End of the data, or data we cannot read on: what was decoded plays.
        mInputEnded = true;
        if (mAudioCodec != nullptr)
            decodeAudio(nullptr);
        return false;
    }
    if (mPacket->stream_index == mStreamIndex)
    {
        AVPacket* queued = av_packet_alloc();
        if (queued != nullptr)
        {
            av_packet_move_ref(queued, mPacket);
            mVideoPackets.push_back(queued);
        }
    }
    else if (mPacket->stream_index == mAudioIndex && mAudioCodec != nullptr)
        decodeAudio(mPacket);
    av_packet_unref(mPacket);
    return true;
}

void MediaDecoder::decodeAudio(const AVPacket* packet)
{
    // A damaged packet is skipped like a picture's.
    if (avcodec_send_packet(mAudioCodec, packet) < 0 && packet != nullptr)
        return;
    const AVStream* stream = mFormat->streams[mAudioIndex];
    while (avcodec_receive_frame(mAudioCodec, mFrame) == 0)
    {
        // The resampler reads as many planes as it was set up for: a frame
        // whose layout changed in damaged data is dropped, as is sound far
        // beyond what the buffer could ever hold ahead.
        if (mFrame->nb_samples <= 0 || mFrame->ch_layout.nb_channels != mAudioChannels ||
            mFrame->format != mAudioFormat || mFrame->sample_rate != mAudioInputRate ||
            audioAvailable() > kMaxAudioBytes)
        {
            av_frame_unref(mFrame);
            continue;
        }
        const int capacity = swr_get_out_samples(mResampler, mFrame->nb_samples);
        if (capacity <= 0)
        {
            av_frame_unref(mFrame);
            continue;
        }
        // Samples before the seek position are dropped.
        int64_t drop = 0;
        if (mFrame->best_effort_timestamp != AV_NOPTS_VALUE)
        {
            int64_t timestamp = mFrame->best_effort_timestamp;
            if (stream->start_time != AV_NOPTS_VALUE)
                timestamp -= stream->start_time;
            const int64_t startNs = av_rescale_q(timestamp, stream->time_base, kNanoseconds);
            if (startNs < mAudioStartNs)
                drop = av_rescale(mAudioStartNs - startNs, kMediaAudioRate, 1000000000);
        }
        const size_t old = mAudio.size();
        mAudio.resize(old + static_cast<size_t>(capacity) * kMediaAudioBlock);
        uint8_t* out = mAudio.data() + old;
        const int converted =
            swr_convert(mResampler, &out, capacity, const_cast<const uint8_t**>(mFrame->extended_data),
                        mFrame->nb_samples);
        size_t kept = converted > 0 ? static_cast<size_t>(converted) : 0;
        size_t dropped = static_cast<size_t>(std::min<int64_t>(drop, static_cast<int64_t>(kept)));
        if (dropped != 0)
            std::memmove(out, out + dropped * kMediaAudioBlock, (kept - dropped) * kMediaAudioBlock);
        mAudio.resize(old + (kept - dropped) * kMediaAudioBlock);
        av_frame_unref(mFrame);
    }
}

void MediaDecoder::fillAudio(size_t bytes)
{
    while (mAudioCodec != nullptr && audioAvailable() < bytes && mVideoPackets.size() < kMaxQueuedPackets &&
           readPacket())
    {
    }
}

size_t MediaDecoder::takeAudio(uint8_t* out, size_t bytes)
{
    const size_t count = std::min(bytes, audioAvailable());
    if (count != 0)
        std::memcpy(out, mAudio.data() + mAudioRead, count);
    mAudioRead += count;
    if (mAudioRead == mAudio.size())
    {
        mAudio.clear();
        mAudioRead = 0;
    }
    else if (mAudioRead > 65536 && mAudioRead * 2 > mAudio.size())
    {
        mAudio.erase(mAudio.begin(), mAudio.begin() + static_cast<std::ptrdiff_t>(mAudioRead));
        mAudioRead = 0;
    }
    return count;
}

void MediaDecoder::resetStreams(int64_t audioStartNs)
{
    for (AVPacket*& packet : mVideoPackets)
        av_packet_free(&packet);
    mVideoPackets.clear();
    avcodec_flush_buffers(mCodec);
    mDraining = false;
    mInputEnded = false;
    mAudio.clear();
    mAudioRead = 0;
    mAudioStartNs = audioStartNs;
    if (mAudioCodec != nullptr)
    {
        avcodec_flush_buffers(mAudioCodec);
        // Drops what the resampler still holds from before.
        swr_close(mResampler);
        swr_init(mResampler);
    }
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
        if (!mVideoPackets.empty())
        {
            AVPacket* packet = mVideoPackets.front();
            mVideoPackets.pop_front();
            // A damaged packet is skipped; the decoder picks up at the next one.
            avcodec_send_packet(mCodec, packet);
            av_packet_free(&packet);
            continue;
        }
        if (!readPacket() && mVideoPackets.empty())
        {
            mDraining = true;
            avcodec_send_packet(mCodec, nullptr);
        }
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
    // The scaler's vector code writes whole blocks past the end of a row: it
    // gets an aligned picture with padded rows (and a row more), which is
    // the picture handed out, rows and pitch as they are.
    if (mScaled[0] == nullptr)
    {
        const int size = av_image_alloc(mScaled, mScaledPitch, static_cast<int>(mWidth),
                                        static_cast<int>(mHeight) + 1, AV_PIX_FMT_BGRA, 64);
        if (size < 0)
        {
            mScaled[0] = nullptr;
            mScaledPitch[0] = 0;
            return;
        }
        // Nothing decoded yet reads as transparent black, not as old heap.
        std::memset(mScaled[0], 0, static_cast<size_t>(size));
    }
    if (sws_scale(mScaler, frame->data, frame->linesize, 0, frame->height, mScaled, mScaledPitch) <= 0)
        return;
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(format);
    if (descriptor == nullptr || (descriptor->flags & AV_PIX_FMT_FLAG_ALPHA) != 0)
    {
        // The texture is opaque whatever the source carried.
        for (uint32_t y = 0; y < mHeight; ++y)
        {
            uint8_t* row = mScaled[0] + static_cast<size_t>(y) * mScaledPitch[0];
            for (uint32_t x = 0; x < mWidth; ++x)
                row[x * 4 + 3] = 0xFF;
        }
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
    const bool sought = av_seek_frame(mFormat, mStreamIndex, timestamp, AVSEEK_FLAG_BACKWARD) >= 0;
    if (!sought)
    {
        // A container that cannot seek is read again from its start.
        closeInput();
        if (resultFailed(openInput()))
        {
            closeInput();
            return false;
        }
    }
    resetStreams(positionNs);

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
