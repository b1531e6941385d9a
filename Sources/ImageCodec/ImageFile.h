#pragma once
// Byte sources and sinks the readers and writers work on: a block of memory
// owned by the file, or a file on disk. Released with destroy();
// ImageFilePtr does that.
#include <cstdint>
#include <cstdio>
#include <memory>

class ImageFile
{
public:
    ImageFile() = default;
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    virtual void destroy() = 0;
    // Bytes really read; fewer than asked at the end of the data.
    virtual size_t read(void* buffer, size_t size) = 0;
    virtual size_t write(const void* buffer, size_t size) = 0;
    // mode 0 from the start, 1 from the current position, 2 from the end.
    virtual bool seek(int64_t position, int mode) = 0;
    virtual int64_t tell() = 0;

protected:
    virtual ~ImageFile() = default;
};

struct ImageFileDeleter
{
    void operator()(ImageFile* file) const
    {
        if (file != nullptr)
            file->destroy();
    }
};
using ImageFilePtr = std::unique_ptr<ImageFile, ImageFileDeleter>;

class MemoryImageFile final : public ImageFile
{
public:
    // Copies the bytes; null when memory is short.
    static MemoryImageFile* create(const void* bytes, size_t size);

    ~MemoryImageFile() override = default;
    void destroy() override { delete this; }
    size_t read(void* buffer, size_t size) override;
    // Grows the capacity by doubling; refuses (0 bytes written) a size that
    // cannot be held instead of wrapping around.
    size_t write(const void* buffer, size_t size) override;
    // A target outside 0..size puts the position at 0 and fails; an unknown
    // mode fails and leaves it.
    bool seek(int64_t position, int mode) override;
    int64_t tell() override { return static_cast<int64_t>(mPosition); }

    const uint8_t* data() const { return mBuffer.get(); }
    size_t size() const { return mSize; }
    size_t capacity() const { return mCapacity; }

private:
    MemoryImageFile() = default;

    std::unique_ptr<uint8_t[]> mBuffer;
    size_t mPosition = 0;
    size_t mSize = 0;
    size_t mCapacity = 0;
};

class StdioImageFile final : public ImageFile
{
public:
    // Opens a Linux path "rb", or "wb" when writeable; null when it fails.
    static StdioImageFile* open(const char* linuxPath, bool writeable);

    void destroy() override;
    size_t read(void* buffer, size_t size) override;
    size_t write(const void* buffer, size_t size) override;
    bool seek(int64_t position, int mode) override;
    int64_t tell() override;
    // Closes the file; false when buffered bytes could not be written out.
    bool close();

private:
    explicit StdioImageFile(std::FILE* file) : mFile(file) {}
    ~StdioImageFile() override;

    std::FILE* mFile;
};
