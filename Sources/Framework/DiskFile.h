#pragma once
// Streams over files on disk, and the plain stdio file holder used by the
// resource archive and the configuration writer. Names are the game's paths
// (relative to the program's folder, backslashes allowed).
#include "Framework/BinaryStream.h"

#include <cstdio>
#include <string>

class DiskOutputFile : public OutputStream
{
public:
    explicit DiskOutputFile(std::string fileName, uint32_t flags = 0);
    ~DiskOutputFile() override;

    ErrorCode open();
    ErrorCode openAppend();
    // 15 when buffered bytes could not be written out: a failed save is never
    // reported as success.
    ErrorCode close();
    ErrorCode transfer(void* address, uint32_t byteCount) override;
    ErrorCode seek(uint32_t position) override;
    uint32_t tell() override;
    bool isAtEnd() override;
    bool isOpen() const { return mFile != nullptr; }

private:
    ErrorCode openWithMode(const char* mode);
    std::FILE* mFile = nullptr;
    std::string mFileName;
};

class DiskInputFile : public InputStream
{
public:
    explicit DiskInputFile(std::string fileName, uint32_t flags = 0);
    ~DiskInputFile() override;

    ErrorCode open();
    ErrorCode close();
    ErrorCode transfer(void* address, uint32_t byteCount) override;
    ErrorCode seek(uint32_t position) override;
    uint32_t tell() override;
    bool isAtEnd() override;
    uint64_t bytesLeft() override;
    bool isOpen() const { return mFile != nullptr; }
    // One line without its line feed; carriage returns dropped. 19 at the end
    // of the file, 14 on a read error.
    ErrorCode readLine(std::string& line);

private:
    std::FILE* mFile = nullptr;
    std::string mFileName;
};

class StdioFile
{
public:
    explicit StdioFile(std::string fileName);
    virtual ~StdioFile();
    StdioFile(const StdioFile&) = delete;
    StdioFile& operator=(const StdioFile&) = delete;

    ErrorCode openRead();
    ErrorCode openWrite();
    ErrorCode openAppend();
    // Creates the file for writing; 13 when something already stands at the
    // name (a link included: it is never followed) or it cannot be created.
    ErrorCode openWriteNew();
    // Pushes what was written down to the disk; 15 when it could not be.
    ErrorCode sync();
    // 15 when buffered bytes could not be written out.
    ErrorCode close();
    bool isOpen() const { return mFile != nullptr; }

    ErrorCode seek(uint32_t position);
    uint32_t tell();
    ErrorCode readU32(uint32_t& value);
    ErrorCode readU16(uint16_t& value);
    ErrorCode writeU32(uint32_t value);
    ErrorCode writeU16(uint16_t value);
    ErrorCode readBytes(void* address, uint32_t byteCount);
    ErrorCode writeBytes(const void* address, uint32_t byteCount);
    // Size of the open file in bytes.
    uint64_t size();
    const std::string& fileName() const { return mFileName; }

protected:
    std::FILE* mFile = nullptr;
    std::string mFileName;
};
