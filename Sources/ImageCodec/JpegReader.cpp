// JPEG through libjpeg, fed from an ImageFile in 4096-byte blocks. libjpeg's
// fatal errors jump back to the setjmp in decode(), which keeps everything it
// allocates in a state struct outside its frame; the caller frees it.
#include "ImageCodec/ImageCodecs.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace
{
constexpr size_t kBlockSize = 4096;
// A progressive file is decoded into whole-image coefficient buffers that
// libjpeg zero-fills before reading a byte of pixel data: a header claiming
// 16384 x 16384 would cost gigabytes. Past this much, libjpeg fails (it has
// no backing store), which is far beyond any image the game uses.
constexpr long kMaxDecoderMemory = 256L * 1024 * 1024;
const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

struct Source
{
    jpeg_source_mgr manager;
    ImageFile* file;
    // Set once the data ran out and the decoder was handed an end-of-image
    // marker of our own: whatever it decodes after that is made up.
    bool ranOut;
    JOCTET buffer[kBlockSize];
};

struct ErrorHandler
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    // The compressed data of a scan ended before the image did: libjpeg
    // goes on with made-up pixels, as for a cut file.
    bool dataMissing;
};

void initSource(j_decompress_ptr) {}

boolean fillInputBuffer(j_decompress_ptr info)
{
    auto* source = reinterpret_cast<Source*>(info->src);
    const size_t count = source->file->read(source->buffer, kBlockSize);
    if (count < 1)
    {
        // Ending the stream with a marker lets libjpeg stop cleanly.
        source->ranOut = true;
        source->manager.next_input_byte = kEndOfImage;
        source->manager.bytes_in_buffer = sizeof kEndOfImage;
        return TRUE;
    }
    source->manager.next_input_byte = source->buffer;
    source->manager.bytes_in_buffer = count;
    return TRUE;
}

void skipInputData(j_decompress_ptr info, long count)
{
    auto* source = reinterpret_cast<Source*>(info->src);
    if (count <= 0)
        return;
    while (static_cast<size_t>(count) > source->manager.bytes_in_buffer)
    {
        count -= static_cast<long>(source->manager.bytes_in_buffer);
        fillInputBuffer(info);
        if (source->ranOut)
            return;
    }
    source->manager.next_input_byte += count;
    source->manager.bytes_in_buffer -= static_cast<size_t>(count);
}

void termSource(j_decompress_ptr) {}

void errorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorHandler*>(info->err)->jump, 1);
}

void outputMessage(j_common_ptr) {}

void emitMessage(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code == JWRN_HIT_MARKER)
        reinterpret_cast<ErrorHandler*>(info->err)->dataMissing = true;
}

struct JpegState
{
    jpeg_decompress_struct info;
    ErrorHandler error;
    Source source;
    ImageBuffer* image = nullptr;
    bool created = false;

    ~JpegState()
    {
        if (created)
            jpeg_destroy_decompress(&info);
        if (image != nullptr)
            image->destroy();
    }
};

bool decode(JpegState& state, ImageFile& file)
{
    if (setjmp(state.error.jump))
        return false;
    jpeg_decompress_struct& info = state.info;
    info.err = jpeg_std_error(&state.error.manager);
    state.error.manager.error_exit = errorExit;
    state.error.manager.output_message = outputMessage;
    state.error.manager.emit_message = emitMessage;
    state.error.dataMissing = false;
    jpeg_create_decompress(&info);
    state.created = true;
    info.mem->max_memory_to_use = kMaxDecoderMemory;

    state.source.file = &file;
    state.source.ranOut = false;
    state.source.manager.init_source = initSource;
    state.source.manager.fill_input_buffer = fillInputBuffer;
    state.source.manager.skip_input_data = skipInputData;
    state.source.manager.resync_to_restart = jpeg_resync_to_restart;
    state.source.manager.term_source = termSource;
    state.source.manager.next_input_byte = nullptr;
    state.source.manager.bytes_in_buffer = 0;
    info.src = &state.source.manager;

    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    // Sizes are checked before the decoder allocates for the image.
    if (checkedImageBytes(info.image_width, info.image_height, 3) == 0)
        return false;
    if (!jpeg_start_decompress(&info) || state.source.ranOut || state.error.dataMissing)
        return false;
    if (info.output_components != 1 && info.output_components != 3)
        return false;
    state.image = ImageBuffer::create(static_cast<int32_t>(info.output_width),
                                      static_cast<int32_t>(info.output_height), PIXEL_FORMAT_R8G8B8, false);
    if (state.image == nullptr)
        return false;
    const size_t rowBytes = state.image->rowBytes();
    JSAMPARRAY grey = info.output_components == 1
                          ? (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                      info.output_width, 1)
                          : nullptr;
    while (info.output_scanline < info.output_height)
    {
        uint8_t* row = state.image->getPixels() + info.output_scanline * rowBytes;
        JSAMPROW target = grey != nullptr ? grey[0] : row;
        if (jpeg_read_scanlines(&info, &target, 1) != 1)
            return false;
        // A cut file still yields rows of filler; stop at the first one.
        if (state.source.ranOut || state.error.dataMissing)
            return false;
        if (grey != nullptr)
        {
            for (JDIMENSION x = 0; x < info.output_width; ++x)
                row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = grey[0][x];
        }
    }
    jpeg_finish_decompress(&info);
    return !state.source.ranOut && !state.error.dataMissing;
}
} // namespace

DecodedImage* ImageCodecs::readJpeg(ImageFile& file)
{
    JpegState state;
    if (!decode(state, file))
        return nullptr;
    DecodedImage* image = state.image;
    state.image = nullptr;
    return image;
}
