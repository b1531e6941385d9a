#include "Framework/DiskFile.h"

#include "Framework/Messages.h"
#include "Platform/System/Paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
std::FILE* openMapped(const std::string& name, const char* mode)
{
    const bool reading = mode[0] == 'r';
    const std::string path = reading ? Platform::mapPath(name) : Platform::mapPathForWriting(name);
    // Opened without blocking: a pipe at the name would otherwise hold the
    // program in open until something came to its other end.
    int flags = O_CLOEXEC | O_NONBLOCK;
    if (reading)
        flags |= O_RDONLY;
    else
        flags |= O_WRONLY | O_CREAT | (mode[0] == 'a' ? O_APPEND : O_TRUNC);
    int descriptor = ::open(path.c_str(), flags, 0666);
    if (descriptor < 0)
        return nullptr;
    // Only a file holds data to read; a device may still be written to.
    struct stat st;
    const bool usable =
        ::fstat(descriptor, &st) == 0 && (S_ISREG(st.st_mode) || (!reading && S_ISCHR(st.st_mode)));
    const int blocking = ::fcntl(descriptor, F_GETFL);
    if (!usable || blocking < 0 || ::fcntl(descriptor, F_SETFL, blocking & ~O_NONBLOCK) != 0)
    {
        ::close(descriptor);
        return nullptr;
    }
    std::FILE* file = ::fdopen(descriptor, mode);
    if (file == nullptr)
        ::close(descriptor);
    return file;
}

ErrorCode closeFile(std::FILE*& file)
{
    if (file == nullptr)
        return ERROR_OK;
    bool failed = std::ferror(file) != 0;
    failed = std::fclose(file) != 0 || failed;
    file = nullptr;
    return failed ? ERROR_FILEIO_WRITEERROR : ERROR_OK;
}
} // namespace

// DiskOutputFile

DiskOutputFile::DiskOutputFile(std::string fileName, uint32_t flags)
    : OutputStream(flags), mFileName(std::move(fileName))
{
}

DiskOutputFile::~DiskOutputFile()
{
    close();
}

ErrorCode DiskOutputFile::openWithMode(const char* mode)
{
    if (mFile != nullptr)
        return ERROR_FILEIO_ALREADY_OPEN;
    mFile = openMapped(mFileName, mode);
    return mFile != nullptr ? ERROR_OK : ERROR_FILEIO_INVALIDFILE;
}

ErrorCode DiskOutputFile::open()
{
    return openWithMode("wb");
}

ErrorCode DiskOutputFile::openAppend()
{
    return openWithMode("ab");
}

ErrorCode DiskOutputFile::close()
{
    return closeFile(mFile);
}

ErrorCode DiskOutputFile::transfer(void* address, uint32_t byteCount)
{
    if (mFile == nullptr)
        return ERROR_FILEIO_WRITEERROR;
    if (byteCount == 0)
        return ERROR_OK;
    return std::fwrite(address, 1, byteCount, mFile) == byteCount ? ERROR_OK : ERROR_FILEIO_WRITEERROR;
}

ErrorCode DiskOutputFile::seek(uint32_t position)
{
    if (mFile == nullptr || std::fseek(mFile, static_cast<long>(position), SEEK_SET) != 0)
        return ERROR_FILEIO_READERROR;
    return ERROR_OK;
}

uint32_t DiskOutputFile::tell()
{
    return mFile != nullptr ? static_cast<uint32_t>(std::ftell(mFile)) : 0;
}

bool DiskOutputFile::isAtEnd()
{
    return mFile == nullptr || std::feof(mFile) != 0;
}

// DiskInputFile

DiskInputFile::DiskInputFile(std::string fileName, uint32_t flags)
    : InputStream(flags), mFileName(std::move(fileName))
{
}

DiskInputFile::~DiskInputFile()
{
    close();
}

ErrorCode DiskInputFile::open()
{
    if (mFile != nullptr)
        return ERROR_FILEIO_ALREADY_OPEN;
    mFile = openMapped(mFileName, "rb");
    return mFile != nullptr ? ERROR_OK : ERROR_FILEIO_FILENOTFOUND;
}

ErrorCode DiskInputFile::close()
{
    if (mFile != nullptr)
    {
        std::fclose(mFile);
        mFile = nullptr;
    }
    return ERROR_OK;
}

ErrorCode DiskInputFile::transfer(void* address, uint32_t byteCount)
{
    if (mFile == nullptr)
        return ERROR_FILEIO_READERROR;
    if (byteCount == 0)
        return ERROR_OK;
    return std::fread(address, 1, byteCount, mFile) == byteCount ? ERROR_OK : ERROR_FILEIO_READERROR;
}

ErrorCode DiskInputFile::seek(uint32_t position)
{
    if (mFile == nullptr || std::fseek(mFile, static_cast<long>(position), SEEK_SET) != 0)
        return ERROR_FILEIO_READERROR;
    return ERROR_OK;
}

uint32_t DiskInputFile::tell()
{
    return mFile != nullptr ? static_cast<uint32_t>(std::ftell(mFile)) : 0;
}

bool DiskInputFile::isAtEnd()
{
    return mFile == nullptr || std::feof(mFile) != 0;
}

uint64_t DiskInputFile::bytesLeft()
{
    if (mFile == nullptr)
        return 0;
    struct stat st;
    long position = std::ftell(mFile);
    if (::fstat(fileno(mFile), &st) != 0 || position < 0 || st.st_size < position)
        return 0;
    return static_cast<uint64_t>(st.st_size - position);
}

ErrorCode DiskInputFile::readLine(std::string& line)
{
    line.clear();
    for (;;)
    {
        char c;
        if (transfer(&c, 1) != ERROR_OK)
        {
            if (!line.empty())
                return ERROR_OK; // a last line without a line feed
            return isAtEnd() ? ERROR_FILEIO_EOF : ERROR_FILEIO_READERROR;
        }
        if (c == '\n')
            return ERROR_OK;
        if (c != '\r')
            line += c;
    }
}

// StdioFile

StdioFile::StdioFile(std::string fileName) : mFileName(std::move(fileName)) {}

StdioFile::~StdioFile()
{
    close();
}

ErrorCode StdioFile::openRead()
{
    if (mFile != nullptr)
        return ERROR_FILEIO_ALREADY_OPEN;
    mFile = openMapped(mFileName, "rb");
    if (mFile == nullptr)
    {
        showMessage("Fichier '%s' introuvable", mFileName.c_str());
        return ERROR_FILEIO_FILENOTFOUND;
    }
    return ERROR_OK;
}

ErrorCode StdioFile::openWrite()
{
    if (mFile != nullptr)
        return ERROR_FILEIO_ALREADY_OPEN;
    mFile = openMapped(mFileName, "wb");
    return mFile != nullptr ? ERROR_OK : ERROR_FILEIO_INVALIDFILE;
}

ErrorCode StdioFile::openAppend()
{
    if (mFile != nullptr)
        return ERROR_FILEIO_ALREADY_OPEN;
    mFile = openMapped(mFileName, "ab");
    return mFile != nullptr ? ERROR_OK : ERROR_FILEIO_INVALIDFILE;
}

ErrorCode StdioFile::openWriteNew()
{
    if (mFile != nullptr)
        return ERROR_FILEIO_ALREADY_OPEN;
    const std::string path = Platform::mapPath(mFileName);
    int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (descriptor < 0)
        return ERROR_FILEIO_INVALIDFILE;
    mFile = ::fdopen(descriptor, "wb");
    if (mFile == nullptr)
    {
        ::close(descriptor);
        return ERROR_FILEIO_INVALIDFILE;
    }
    return ERROR_OK;
}

ErrorCode StdioFile::sync()
{
    if (mFile == nullptr || std::fflush(mFile) != 0 || ::fsync(::fileno(mFile)) != 0)
        return ERROR_FILEIO_WRITEERROR;
    return ERROR_OK;
}

ErrorCode StdioFile::close()
{
    return closeFile(mFile);
}

ErrorCode StdioFile::seek(uint32_t position)
{
    if (mFile == nullptr || std::fseek(mFile, static_cast<long>(position), SEEK_SET) != 0)
        return ERROR_FILEIO_READERROR;
    return ERROR_OK;
}

uint32_t StdioFile::tell()
{
    return mFile != nullptr ? static_cast<uint32_t>(std::ftell(mFile)) : 0;
}

ErrorCode StdioFile::readBytes(void* address, uint32_t byteCount)
{
    if (mFile == nullptr)
        return ERROR_FILEIO_READERROR;
    if (byteCount == 0)
        return ERROR_OK;
    return std::fread(address, 1, byteCount, mFile) == byteCount ? ERROR_OK : ERROR_FILEIO_READERROR;
}

ErrorCode StdioFile::writeBytes(const void* address, uint32_t byteCount)
{
    if (mFile == nullptr)
        return ERROR_FILEIO_WRITEERROR;
    if (byteCount == 0)
        return ERROR_OK;
    return std::fwrite(address, 1, byteCount, mFile) == byteCount ? ERROR_OK : ERROR_FILEIO_WRITEERROR;
}

ErrorCode StdioFile::readU32(uint32_t& value)
{
    return readBytes(&value, sizeof value);
}

ErrorCode StdioFile::readU16(uint16_t& value)
{
    return readBytes(&value, sizeof value);
}

ErrorCode StdioFile::writeU32(uint32_t value)
{
    return writeBytes(&value, sizeof value);
}

ErrorCode StdioFile::writeU16(uint16_t value)
{
    return writeBytes(&value, sizeof value);
}

uint64_t StdioFile::size()
{
    struct stat st;
    if (mFile == nullptr || ::fstat(fileno(mFile), &st) != 0 || st.st_size < 0)
        return 0;
    return static_cast<uint64_t>(st.st_size);
}
