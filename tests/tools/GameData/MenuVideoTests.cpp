// data\Video\menu.wmv: the menu's background, played in a loop.
#include "GameDataFiles.h"

#include <gtest/gtest.h>

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cmath>
#include <cstring>
#include <vector>

namespace
{

// Decodes every frame of the first video stream as grey levels (the Y plane).
struct DecodedVideo
{
    std::string container;
    AVCodecID codec = AV_CODEC_ID_NONE;
    int width = 0, height = 0;
    double framesPerSecond = 0;
    std::vector<std::vector<uint8_t>> frames;
};

bool decodeAll(const std::string& path, DecodedVideo& video)
{
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0)
        return false;
    bool ok = avformat_find_stream_info(format, nullptr) >= 0;
    int index = ok ? av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0) : -1;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    if (index >= 0)
    {
        video.container = format->iformat->name;
        AVStream* stream = format->streams[index];
        video.codec = stream->codecpar->codec_id;
        video.framesPerSecond =
            av_q2d(stream->avg_frame_rate.num ? stream->avg_frame_rate : stream->r_frame_rate);
        const AVCodec* decoder = avcodec_find_decoder(video.codec);
        codec = decoder ? avcodec_alloc_context3(decoder) : nullptr;
        ok = codec && avcodec_parameters_to_context(codec, stream->codecpar) >= 0 &&
             avcodec_open2(codec, decoder, nullptr) >= 0;
        auto take = [&]
        {
            while (avcodec_receive_frame(codec, frame) >= 0)
            {
                video.width = frame->width, video.height = frame->height;
                std::vector<uint8_t> grey(static_cast<size_t>(frame->width) * frame->height);
                for (int y = 0; y < frame->height; ++y)
                    std::memcpy(&grey[static_cast<size_t>(y) * frame->width],
                                frame->data[0] + y * frame->linesize[0], frame->width);
                video.frames.push_back(std::move(grey));
            }
        };
        while (ok && av_read_frame(format, packet) >= 0)
        {
            if (packet->stream_index == index && avcodec_send_packet(codec, packet) >= 0)
                take();
            av_packet_unref(packet);
        }
        if (ok && avcodec_send_packet(codec, nullptr) >= 0)
            take();
    }
    else
        ok = false;
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    return ok;
}

double meanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += std::abs(int(a[i]) - int(b[i]));
    return sum / a.size();
}

} // namespace

TEST(MenuVideo, IsAnAsfFileWithAWmvStreamThatLoopsSeamlessly)
{
    DecodedVideo video;
    ASSERT_TRUE(decodeAll(GameData::dataFolder() + "/Video/menu.wmv", video)) << "menu.wmv does not open";
    EXPECT_EQ(video.container, "asf");
    EXPECT_TRUE(video.codec == AV_CODEC_ID_WMV2 || video.codec == AV_CODEC_ID_WMV1);
    // Stretched over the 1024 x 768 window: the same shape, at least half the size.
    EXPECT_EQ(video.width * 3, video.height * 4);
    EXPECT_GE(video.width, 512);
    ASSERT_GT(video.framesPerSecond, 0);
    ASSERT_GE(video.frames.size(), static_cast<size_t>(video.framesPerSecond * 5)) << "at least five seconds";
    // Calm motion: neighbouring frames stay close; and the jump from the last
    // frame back to the first is no larger than an ordinary step.
    double largestStep = 0;
    for (size_t i = 1; i < video.frames.size(); ++i)
        largestStep = std::max(largestStep, meanDifference(video.frames[i - 1], video.frames[i]));
    EXPECT_LT(largestStep, 4.0);
    EXPECT_LE(meanDifference(video.frames.back(), video.frames.front()), largestStep * 1.5 + 0.5);
    // And it moves.
    EXPECT_GT(meanDifference(video.frames.front(), video.frames[video.frames.size() / 2]), 0.5);
}
