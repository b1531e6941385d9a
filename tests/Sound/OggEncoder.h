#pragma once
// Encodes a short Ogg Vorbis file for the tests with libvorbisenc: a sine
// tone, one frequency per channel.
#include <cmath>
#include <cstdio>
#include <string>

#include <vorbis/vorbisenc.h>

namespace TestOgg
{

inline bool encodeTone(const std::string& path, int channels, long rate, long frames)
{
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return false;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.3f) != 0)
    {
        std::fclose(out);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    ogg_packet header;
    ogg_packet headerComment;
    ogg_packet headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0)
    {
        std::fwrite(page.header, 1, static_cast<size_t>(page.header_len), out);
        std::fwrite(page.body, 1, static_cast<size_t>(page.body_len), out);
    }

    const long chunk = 1024;
    for (long done = 0; done <= frames;)
    {
        long count = std::min(chunk, frames - done);
        if (count > 0)
        {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (long i = 0; i < count; ++i)
                for (int c = 0; c < channels; ++c)
                    buffer[c][i] = 0.5f * static_cast<float>(std::sin((done + i) * 0.05 * (c + 1)));
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        done += count;
        bool end = false;
        while (vorbis_analysis_blockout(&dsp, &block) == 1)
        {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0)
            {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                {
                    std::fwrite(page.header, 1, static_cast<size_t>(page.header_len), out);
                    std::fwrite(page.body, 1, static_cast<size_t>(page.body_len), out);
                    end = end || ogg_page_eos(&page) != 0;
                }
            }
        }
        if (count == 0 || end)
            break;
    }
    while (ogg_stream_flush(&stream, &page) != 0)
    {
        std::fwrite(page.header, 1, static_cast<size_t>(page.header_len), out);
        std::fwrite(page.body, 1, static_cast<size_t>(page.body_len), out);
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return std::fclose(out) == 0;
}

} // namespace TestOgg
