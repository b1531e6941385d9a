#pragma once
// The source of PCM data for the sound buffers: a reader per file format,
// picked by the file's extension, that opens a file from the resource archive
// or the disk and hands out its samples in the format it reports.
#include "Framework/BinaryStream.h"
#include "Framework/ErrorCodes.h"
#include "Platform/Audio/AudioResult.h"
#include "Platform/Audio/WaveFormat.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Results are the sound layer's (Platform::kAudioOk, kAudioFailed, ...).
class SoundFileReader
{
public:
    // Open modes: read, or create a file for writing.
    static constexpr uint32_t kModeRead = 1;
    static constexpr uint32_t kModeWrite = 2;

    SoundFileReader() = default;
    virtual ~SoundFileReader() = default;
    SoundFileReader(const SoundFileReader&) = delete;
    SoundFileReader& operator=(const SoundFileReader&) = delete;

    // `path` is a Linux path. `format` is the format to write (unused for reading).
    virtual Platform::PlatformResult open(const char* path, const Platform::WaveFormat* format,
                                          uint32_t mode) = 0;
    // Reads bytes the caller keeps alive while the reader is open.
    virtual Platform::PlatformResult openMemory(const uint8_t* data, uint32_t size,
                                                const Platform::WaveFormat* format, uint32_t mode) = 0;
    virtual Platform::PlatformResult close() = 0;
    virtual Platform::PlatformResult read(uint8_t* destination, uint32_t count, uint32_t* bytesRead) = 0;
    virtual Platform::PlatformResult write(const uint8_t* source, uint32_t count, uint32_t* bytesWritten) = 0;
    // The PCM data size in bytes.
    virtual uint32_t size() const = 0;
    // Back to the first PCM byte.
    virtual Platform::PlatformResult reset() = 0;
    // Null until opened.
    virtual const Platform::WaveFormat* format() const = 0;

    // An Ogg Vorbis reader for names ending exactly in ".ogg", a WAVE reader
    // for every other name.
    static std::unique_ptr<SoundFileReader> create(const std::string& name);

    // Opens the game's file name: from the resource archive when it holds
    // the file (the reader keeps the bytes), else from the disk below the
    // program's folder (or the name itself when it is a drive path).
    Platform::PlatformResult openByName(const std::string& name, const Platform::WaveFormat* format,
                                        uint32_t mode);

protected:
    // The game's name of the sound being opened by name (empty otherwise):
    // the name the program's own sounds are registered under.
    std::string mGameName;

private:
    std::unique_ptr<ByteBuffer> mArchiveBytes;
};

// How the sound readers reach the resource archives: the function answers a
// non-zero code on failure, else 0 with the file's bytes, or 0 and no bytes
// when the disk should be tried. Without one installed, the application's
// file lookup (readDataFromArchives) answers; tests install their own.
using SoundArchiveReader =
    std::function<ErrorCode(const std::string& name, std::unique_ptr<ByteBuffer>& bytes)>;
void setSoundArchiveReader(SoundArchiveReader reader);
