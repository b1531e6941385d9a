// Makes the menu background video and its still picture:
//   video-generator <video file> <still picture> <palette> <seconds> <frames per second> <width> <height>
// The video is an ASF file holding one WMV stream (FFmpeg's wmv2 encoder):
// the landscape of the menus with its mist drifting, one whole loop long,
// so that restarting it at its end shows no jump. The still picture is the
// first frame, drawn at 1024 x 768, shown while the video is stopped.
extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include "raster/Landscape.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{

struct Encoder
{
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* scaler = nullptr;

    ~Encoder()
    {
        sws_freeContext(scaler);
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&codec);
        if (format)
        {
            if (format->pb)
                avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }

    bool fail(const char* what)
    {
        std::fprintf(stderr, "video-generator: %s\n", what);
        return false;
    }

    bool open(const std::string& path, int width, int height, int fps)
    {
        if (avformat_alloc_output_context2(&format, nullptr, "asf", path.c_str()) < 0 || !format)
            return fail("no ASF muxer");
        const AVCodec* wmv = avcodec_find_encoder_by_name("wmv2");
        if (!wmv)
            wmv = avcodec_find_encoder_by_name("wmv1");
        if (!wmv)
            return fail("no WMV encoder in this libavcodec");
        stream = avformat_new_stream(format, nullptr);
        codec = avcodec_alloc_context3(wmv);
        if (!stream || !codec)
            return fail("out of memory");
        codec->width = width;
        codec->height = height;
        codec->pix_fmt = AV_PIX_FMT_YUV420P;
        codec->time_base = AVRational{1, fps};
        codec->framerate = AVRational{fps, 1};
        codec->gop_size = fps * 2;
        codec->bit_rate = 2500000;
        // A fixed quantiser keeps the calm gradients of the sky clean.
        codec->flags |= AV_CODEC_FLAG_QSCALE;
        codec->global_quality = FF_QP2LAMBDA * 3;
        if (format->oformat->flags & AVFMT_GLOBALHEADER)
            codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (avcodec_open2(codec, wmv, nullptr) < 0)
            return fail("cannot open the WMV encoder");
        if (avcodec_parameters_from_context(stream->codecpar, codec) < 0)
            return fail("cannot set the stream parameters");
        stream->time_base = codec->time_base;
        if (avio_open(&format->pb, path.c_str(), AVIO_FLAG_WRITE) < 0)
            return fail("cannot create the video file");
        if (avformat_write_header(format, nullptr) < 0)
            return fail("cannot write the ASF header");
        frame = av_frame_alloc();
        packet = av_packet_alloc();
        if (!frame || !packet)
            return fail("out of memory");
        frame->format = codec->pix_fmt;
        frame->width = width;
        frame->height = height;
        if (av_frame_get_buffer(frame, 0) < 0)
            return fail("out of memory");
        scaler = sws_getContext(width, height, AV_PIX_FMT_RGBA, width, height, AV_PIX_FMT_YUV420P,
                                SWS_BICUBIC, nullptr, nullptr, nullptr);
        return scaler != nullptr || fail("no colour converter");
    }

    bool drain()
    {
        while (true)
        {
            int result = avcodec_receive_packet(codec, packet);
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
                return true;
            if (result < 0)
                return fail("encoding failed");
            av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            if (av_interleaved_write_frame(format, packet) < 0)
                return fail("cannot write a packet");
        }
    }

    bool encode(const std::vector<uint8_t>& rgba, int64_t index)
    {
        if (av_frame_make_writable(frame) < 0)
            return fail("frame not writable");
        const uint8_t* source[1] = {rgba.data()};
        int stride[1] = {frame->width * 4};
        sws_scale(scaler, source, stride, 0, frame->height, frame->data, frame->linesize);
        frame->pts = index;
        if (avcodec_send_frame(codec, frame) < 0)
            return fail("cannot send a frame");
        return drain();
    }

    bool finish()
    {
        if (avcodec_send_frame(codec, nullptr) < 0 || !drain())
            return fail("cannot flush the encoder");
        return av_write_trailer(format) == 0 || fail("cannot write the ASF index");
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 8)
    {
        std::fprintf(stderr,
                     "usage: %s <video file> <still picture> <palette> <seconds> <fps> <width> <height>\n",
                     argv[0]);
        return 2;
    }
    std::string videoPath = argv[1], stillPath = argv[2];
    int seconds = std::atoi(argv[4]), fps = std::atoi(argv[5]), width = std::atoi(argv[6]),
        height = std::atoi(argv[7]);
    if (seconds < 1 || fps < 1 || width < 16 || height < 16 || width % 2 || height % 2)
    {
        std::fprintf(stderr, "video-generator: bad length, rate or size\n");
        return 2;
    }
    Raster::Palette palette;
    if (!palette.load(argv[3]))
        return 1;
    Raster::Theme theme(palette);

    // The still picture first: the first frame at the game's size.
    {
        Raster::Landscape big(1024, 768, theme);
        Raster::Canvas still;
        big.render(still, 0.0f);
        if (!Raster::writePng(still, stillPath))
            return 1;
    }

    std::string temporary = videoPath + ".part.wmv";
    bool ok = true;
    {
        Encoder encoder;
        ok = encoder.open(temporary, width, height, fps);
        Raster::Landscape land(width, height, theme);
        Raster::Canvas picture;
        const int frames = seconds * fps;
        for (int i = 0; ok && i < frames; ++i)
        {
            land.render(picture, static_cast<float>(i) / frames);
            ok = encoder.encode(picture.toRgba8(), i);
        }
        ok = ok && encoder.finish();
    }
    if (ok && std::rename(temporary.c_str(), videoPath.c_str()) != 0)
        ok = false;
    if (!ok)
    {
        std::remove(temporary.c_str());
        std::fprintf(stderr, "video-generator: cannot write %s\n", videoPath.c_str());
        return 1;
    }
    return 0;
}
