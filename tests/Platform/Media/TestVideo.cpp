#include "TestVideo.h"

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <climits>
#include <cmath>
#include <fstream>
#include <iterator>

namespace TestVideo
{

namespace
{

const uint32_t kPalette[10] = {0xE01010, 0x10E010, 0x1010E0, 0xE0E010, 0x10E0E0,
                               0xE010E0, 0xF0F0F0, 0x202020, 0xF08000, 0x808080};

struct Yuv
{
    uint8_t y, u, v;
};

Yuv toYuv(uint32_t rgb)
{
    const double r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    const double y = 16 + (65.481 * r + 128.553 * g + 24.966 * b) / 255;
    const double u = 128 + (-37.797 * r - 74.203 * g + 112.0 * b) / 255;
    const double v = 128 + (112.0 * r - 93.786 * g - 18.214 * b) / 255;
    return {static_cast<uint8_t>(y + 0.5), static_cast<uint8_t>(u + 0.5), static_cast<uint8_t>(v + 0.5)};
}

bool writePackets(AVCodecContext* codec, AVStream* stream, AVFormatContext* output, const AVFrame* frame)
{
    if (avcodec_send_frame(codec, frame) < 0)
        return false;
    AVPacket* packet = av_packet_alloc();
    bool ok = true;
    while (avcodec_receive_packet(codec, packet) == 0)
    {
        // Without it the last picture has no length and some containers cut it.
        if (packet->duration == 0)
            packet->duration = 1;
        av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
        packet->stream_index = stream->index;
        if (av_interleaved_write_frame(output, packet) < 0)
            ok = false;
    }
    av_packet_free(&packet);
    return ok;
}

} // namespace

uint32_t frameColour(int index)
{
    return kPalette[index % 10];
}

int nearestFrame(const uint8_t* bgra)
{
    int best = -1;
    int bestDistance = INT_MAX;
    for (int i = 0; i < 10; ++i)
    {
        const int dr = static_cast<int>((kPalette[i] >> 16) & 0xFF) - bgra[2];
        const int dg = static_cast<int>((kPalette[i] >> 8) & 0xFF) - bgra[1];
        const int db = static_cast<int>(kPalette[i] & 0xFF) - bgra[0];
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance)
        {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

// The tone's samples from `first` on, into an audio frame of the encoder's format.
void fillTone(AVFrame* frame, int64_t first)
{
    const auto format = static_cast<AVSampleFormat>(frame->format);
    const int channels = frame->ch_layout.nb_channels;
    for (int i = 0; i < frame->nb_samples; ++i)
    {
        const double value = 0.25 * std::sin(2.0 * M_PI * 440.0 * static_cast<double>(first + i) / 22050.0);
        for (int c = 0; c < channels; ++c)
        {
            if (format == AV_SAMPLE_FMT_FLTP)
                reinterpret_cast<float*>(frame->extended_data[c])[i] = static_cast<float>(value);
            else if (format == AV_SAMPLE_FMT_S16)
                reinterpret_cast<int16_t*>(frame->data[0])[i * channels + c] =
                    static_cast<int16_t>(value * 32767);
            else if (format == AV_SAMPLE_FMT_S16P)
                reinterpret_cast<int16_t*>(frame->extended_data[c])[i] = static_cast<int16_t>(value * 32767);
        }
    }
}

std::vector<uint8_t> encode(const Recipe& recipe, const std::string& path)
{
    AVFormatContext* output = nullptr;
    if (avformat_alloc_output_context2(&output, nullptr, recipe.container.c_str(), path.c_str()) < 0)
        return {};
    const AVCodec* encoder = avcodec_find_encoder_by_name(recipe.codec.c_str());
    AVStream* stream = avformat_new_stream(output, nullptr);
    AVCodecContext* codec = encoder != nullptr ? avcodec_alloc_context3(encoder) : nullptr;
    bool ok = codec != nullptr && stream != nullptr;
    if (ok)
    {
        codec->width = recipe.width;
        codec->height = recipe.height;
        codec->time_base = {1, recipe.framesPerSecond};
        codec->framerate = {recipe.framesPerSecond, 1};
        codec->pix_fmt =
            (recipe.codec == "mjpeg" || recipe.codec == "ljpeg") ? AV_PIX_FMT_YUVJ420P : AV_PIX_FMT_YUV420P;
        codec->gop_size = recipe.keyInterval;
        codec->max_b_frames = 0;
        codec->bit_rate = 400000;
        codec->flags |= AV_CODEC_FLAG_QSCALE;
        codec->global_quality = FF_QP2LAMBDA * 2;
        codec->thread_count = 1;
        if (output->oformat->flags & AVFMT_GLOBALHEADER)
            codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        ok = avcodec_open2(codec, encoder, nullptr) >= 0 &&
             avcodec_parameters_from_context(stream->codecpar, codec) >= 0;
        stream->time_base = codec->time_base;
    }
    AVStream* audioStream = nullptr;
    AVCodecContext* audio = nullptr;
    AVFrame* audioFrame = nullptr;
    if (ok && !recipe.audioCodec.empty())
    {
        const AVCodec* audioEncoder = avcodec_find_encoder_by_name(recipe.audioCodec.c_str());
        audioStream = avformat_new_stream(output, nullptr);
        audio = audioEncoder != nullptr ? avcodec_alloc_context3(audioEncoder) : nullptr;
        ok = audio != nullptr && audioStream != nullptr;
        if (ok)
        {
            audio->sample_fmt =
                audioEncoder->sample_fmts != nullptr ? audioEncoder->sample_fmts[0] : AV_SAMPLE_FMT_S16;
            audio->sample_rate = 22050;
            audio->ch_layout = AV_CHANNEL_LAYOUT_STEREO;
            audio->bit_rate = 64000;
            audio->time_base = {1, 22050};
            if (output->oformat->flags & AVFMT_GLOBALHEADER)
                audio->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
            ok = avcodec_open2(audio, audioEncoder, nullptr) >= 0 &&
                 avcodec_parameters_from_context(audioStream->codecpar, audio) >= 0;
            audioStream->time_base = audio->time_base;
            audioFrame = av_frame_alloc();
            audioFrame->format = audio->sample_fmt;
            audioFrame->sample_rate = 22050;
            av_channel_layout_copy(&audioFrame->ch_layout, &audio->ch_layout);
            audioFrame->nb_samples = audio->frame_size > 0 ? audio->frame_size : 1024;
            ok = ok && av_frame_get_buffer(audioFrame, 0) >= 0;
        }
    }
    ok = ok && avio_open(&output->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0;
    ok = ok && avformat_write_header(output, nullptr) >= 0;
    int64_t audioSamples = 0;
    AVFrame* frame = av_frame_alloc();
    if (ok)
    {
        frame->format = codec->pix_fmt;
        frame->width = recipe.width;
        frame->height = recipe.height;
        ok = av_frame_get_buffer(frame, 0) >= 0;
    }
    for (int i = 0; ok && i < recipe.frames; ++i)
    {
        ok = av_frame_make_writable(frame) >= 0;
        Yuv yuv = toYuv(frameColour(i));
        if (codec->pix_fmt == AV_PIX_FMT_YUVJ420P)
        {
            // Full-range samples.
            const uint32_t rgb = frameColour(i);
            const double r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
            yuv = {static_cast<uint8_t>(0.299 * r + 0.587 * g + 0.114 * b + 0.5),
                   static_cast<uint8_t>(128 - 0.168736 * r - 0.331264 * g + 0.5 * b + 0.5),
                   static_cast<uint8_t>(128 + 0.5 * r - 0.418688 * g - 0.081312 * b + 0.5)};
        }
        for (int y = 0; y < recipe.height; ++y)
            for (int x = 0; x < recipe.width; ++x)
                frame->data[0][y * frame->linesize[0] + x] = yuv.y;
        for (int y = 0; y < (recipe.height + 1) / 2; ++y)
            for (int x = 0; x < (recipe.width + 1) / 2; ++x)
            {
                frame->data[1][y * frame->linesize[1] + x] = yuv.u;
                frame->data[2][y * frame->linesize[2] + x] = yuv.v;
            }
        frame->pts = i;
        ok = ok && writePackets(codec, stream, output, frame);
        // The sound up to the end of this picture.
        while (ok && audio != nullptr && audioSamples < int64_t{22050} * (i + 1) / recipe.framesPerSecond)
        {
            ok = av_frame_make_writable(audioFrame) >= 0;
            fillTone(audioFrame, audioSamples);
            audioFrame->pts = audioSamples;
            audioSamples += audioFrame->nb_samples;
            ok = ok && writePackets(audio, audioStream, output, audioFrame);
        }
    }
    ok = ok && writePackets(codec, stream, output, nullptr);
    if (audio != nullptr)
        ok = ok && writePackets(audio, audioStream, output, nullptr);
    ok = ok && av_write_trailer(output) >= 0;
    av_frame_free(&frame);
    av_frame_free(&audioFrame);
    avcodec_free_context(&codec);
    avcodec_free_context(&audio);
    if (output->pb != nullptr)
        avio_closep(&output->pb);
    avformat_free_context(output);
    return ok ? readFile(path) : std::vector<uint8_t>{};
}

std::vector<uint8_t> encodeWithoutDecoder(const std::string& path)
{
    AVFormatContext* output = nullptr;
    if (avformat_alloc_output_context2(&output, nullptr, "asf", path.c_str()) < 0)
        return {};
    AVStream* stream = avformat_new_stream(output, nullptr);
    bool ok = stream != nullptr;
    if (ok)
    {
        stream->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
        stream->codecpar->codec_id = AV_CODEC_ID_AVS2;
        stream->codecpar->width = 64;
        stream->codecpar->height = 48;
        stream->time_base = {1, 10};
    }
    ok = ok && avio_open(&output->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0;
    ok = ok && avformat_write_header(output, nullptr) >= 0;
    AVPacket* packet = av_packet_alloc();
    for (int i = 0; ok && i < 3; ++i)
    {
        ok = av_new_packet(packet, 64) >= 0;
        if (!ok)
            break;
        for (int j = 0; j < 64; ++j)
            packet->data[j] = static_cast<uint8_t>(j * 37 + i);
        packet->pts = packet->dts = av_rescale_q(i, {1, 10}, stream->time_base);
        packet->flags = AV_PKT_FLAG_KEY;
        packet->stream_index = 0;
        ok = av_interleaved_write_frame(output, packet) >= 0;
    }
    av_packet_free(&packet);
    ok = ok && av_write_trailer(output) >= 0;
    if (output->pb != nullptr)
        avio_closep(&output->pb);
    avformat_free_context(output);
    return ok ? readFile(path) : std::vector<uint8_t>{};
}

std::vector<uint8_t> encodeSoundOnly(const std::string& path)
{
    const uint32_t rate = 8000;
    const uint32_t dataBytes = rate * 2;
    std::vector<uint8_t> bytes;
    auto put32 = [&](uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto put16 = [&](uint16_t v)
    {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto tag = [&](const char* t)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(t[i]));
    };
    tag("RIFF");
    put32(36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    tag("data");
    put32(dataBytes);
    bytes.resize(bytes.size() + dataBytes, 0);
    writeFile(path, bytes);
    return bytes;
}

std::vector<uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace TestVideo
