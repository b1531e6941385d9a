#include "Framework/FileLookup.h"

#include "Framework/DiskFile.h"
#include "Framework/FileUtilities.h"

#include <atomic>

namespace
{
std::atomic<FileLookup*> gActiveLookup{nullptr};
}

FileLookup* activeFileLookup()
{
    return gActiveLookup.load();
}

void setActiveFileLookup(FileLookup* lookup)
{
    gActiveLookup.store(lookup);
}

void FileLookup::addArchive(std::unique_ptr<ResourceArchive> archive)
{
    if (archive)
        mArchives.push_back(std::move(archive));
}

ErrorCode FileLookup::readFromArchives(const std::string& path, std::unique_ptr<ByteBuffer>& bytes)
{
    bytes.reset();
    for (const auto& archive : mArchives)
    {
        if (!archive->covers(path))
            continue;
        if (!archive->hasFile(path))
            return mArchiveOnly ? ERROR_FILENOTFOUND : ERROR_OK;
        bytes = archive->readFile(path);
        // A file the directory names but that cannot be read whole is damage,
        // not absence.
        return bytes ? ERROR_OK : ERROR_FILEIO_READERROR;
    }
    return ERROR_OK;
}

ErrorCode FileLookup::openFile(const std::string& path, std::unique_ptr<InputStream>& stream, uint32_t flags)
{
    stream.reset();
    std::unique_ptr<ByteBuffer> bytes;
    if (ErrorCode error = readFromArchives(path, bytes))
        return error;
    if (bytes)
    {
        stream = std::make_unique<ArchiveInputStream>(std::move(bytes), flags);
        return ERROR_OK;
    }
    auto file = std::make_unique<DiskInputFile>(path, flags);
    if (ErrorCode error = file->open())
        return error;
    stream = std::move(file);
    return ERROR_OK;
}

bool FileLookup::fileExists(const std::string& path) const
{
    for (const auto& archive : mArchives)
    {
        if (!archive->covers(path))
            continue;
        if (archive->hasFile(path))
            return true;
        if (mArchiveOnly)
            return false;
    }
    return diskFileExists(path);
}

ErrorCode readDataFromArchives(const std::string& path, std::unique_ptr<ByteBuffer>& bytes)
{
    if (FileLookup* lookup = activeFileLookup())
        return lookup->readFromArchives(path, bytes);
    bytes.reset();
    return ERROR_OK;
}

ErrorCode openDataFile(const std::string& path, std::unique_ptr<InputStream>& stream, uint32_t flags)
{
    if (FileLookup* lookup = activeFileLookup())
        return lookup->openFile(path, stream, flags);
    FileLookup diskOnly;
    return diskOnly.openFile(path, stream, flags);
}

bool dataFileExists(const std::string& path)
{
    if (FileLookup* lookup = activeFileLookup())
        return lookup->fileExists(path);
    return diskFileExists(path);
}
