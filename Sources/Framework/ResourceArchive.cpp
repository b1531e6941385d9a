#include "Framework/ResourceArchive.h"

#include "Framework/ErrorText.h"
#include "Framework/SafeFileWriter.h"
#include "Platform/System/Paths.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>

namespace
{
// Smallest records the directory can hold: a folder with an empty name and
// no entries, a file with an empty name.
constexpr uint64_t kMinFolderRecord = 6;
constexpr uint64_t kMinFileRecord = 10;

// The archive's file seen as a stream, so that the directory reader serves
// files and memory alike.
class StdioInputStream final : public InputStream
{
public:
    explicit StdioInputStream(StdioFile& file) : mFile(file), mSize(file.size()) {}
    ErrorCode transfer(void* address, uint32_t byteCount) override
    {
        return mFile.readBytes(address, byteCount);
    }
    ErrorCode seek(uint32_t position) override { return mFile.seek(position); }
    uint32_t tell() override { return mFile.tell(); }
    bool isAtEnd() override { return mFile.tell() >= mSize; }
    uint64_t bytesLeft() override
    {
        uint64_t position = mFile.tell();
        return position < mSize ? mSize - position : 0;
    }

private:
    StdioFile& mFile;
    uint64_t mSize;
};

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
    {
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return true;
}

ErrorCode readName(InputStream& stream, std::string& name)
{
    uint16_t length = 0;
    if (stream.transferValue(length) != ERROR_OK || length > stream.bytesLeft())
        return ERROR_FILEIO_READERROR;
    name.assign(length, '\0');
    if (length != 0 && stream.transfer(name.data(), length) != ERROR_OK)
        return ERROR_FILEIO_READERROR;
    return ERROR_OK;
}

ErrorCode readFolder(InputStream& stream, uint32_t depth, ArchiveFolder& folder)
{
    if (depth > ResourceArchive::kMaxFolderDepth)
        return ERROR_FILEIO_READERROR;
    if (readName(stream, folder.name) != ERROR_OK)
        return ERROR_FILEIO_READERROR;

    uint16_t folderCount = 0;
    if (stream.transferValue(folderCount) != ERROR_OK || folderCount * kMinFolderRecord > stream.bytesLeft())
        return ERROR_FILEIO_READERROR;
    folder.folders.reserve(folderCount);
    for (uint16_t i = 0; i < folderCount; ++i)
    {
        auto child = std::make_unique<ArchiveFolder>();
        if (readFolder(stream, depth + 1, *child) != ERROR_OK)
            return ERROR_FILEIO_READERROR;
        folder.folders.push_back(std::move(child));
    }

    uint16_t fileCount = 0;
    if (stream.transferValue(fileCount) != ERROR_OK || fileCount * kMinFileRecord > stream.bytesLeft())
        return ERROR_FILEIO_READERROR;
    folder.files.resize(fileCount);
    for (ArchiveFileEntry& file : folder.files)
    {
        if (readName(stream, file.name) != ERROR_OK || stream.transferValue(file.offset) != ERROR_OK ||
            stream.transferValue(file.size) != ERROR_OK)
            return ERROR_FILEIO_READERROR;
    }
    return ERROR_OK;
}

// Every file must lie inside the archive, and within what a 32-bit seek can
// reach.
bool filesInside(const ArchiveFolder& folder, uint64_t dataOffset, uint64_t archiveSize)
{
    uint64_t limit = std::min<uint64_t>(archiveSize, std::numeric_limits<uint32_t>::max());
    for (const ArchiveFileEntry& file : folder.files)
    {
        if (dataOffset + file.offset + file.size > limit)
            return false;
    }
    for (const auto& child : folder.folders)
    {
        if (!filesInside(*child, dataOffset, archiveSize))
            return false;
    }
    return true;
}

// Splits off the text up to the next backslash.
std::string_view nextComponent(std::string_view& rest, bool& last)
{
    size_t slash = rest.find('\\');
    last = slash == std::string_view::npos;
    std::string_view component = rest.substr(0, slash);
    rest = last ? std::string_view() : rest.substr(slash + 1);
    return component;
}

const ArchiveFolder* findSubfolder(const ArchiveFolder& folder, std::string_view name)
{
    for (const auto& child : folder.folders)
    {
        if (equalsIgnoreCase(child->name, name))
            return child.get();
    }
    return nullptr;
}
} // namespace

ErrorCode ResourceArchive::readDirectory(InputStream& stream, uint64_t archiveSize,
                                         std::unique_ptr<ArchiveFolder>& root, uint32_t& dataOffset)
{
    root.reset();
    auto folder = std::make_unique<ArchiveFolder>();
    if (readFolder(stream, 0, *folder) != ERROR_OK)
        return ERROR_FILEIO_READERROR;
    uint32_t offset = stream.tell();
    if (!filesInside(*folder, offset, archiveSize))
        return ERROR_FILEIO_READERROR;
    root = std::move(folder);
    dataOffset = offset;
    return ERROR_OK;
}

ErrorCode ResourceArchive::open(const std::string& path)
{
    mRoot.reset();
    mFile.reset();
    mDataOffset = 0;

    auto file = std::make_unique<StdioFile>(path);
    if (ErrorCode error = file->openRead())
    {
        // A file that cannot be opened has been named to the player already.
        noteErrorFile(path);
        noteErrorShown(error);
        return error;
    }
    StdioInputStream stream(*file);
    std::unique_ptr<ArchiveFolder> root;
    uint32_t dataOffset = 0;
    if (ErrorCode error = readDirectory(stream, file->size(), root, dataOffset))
    {
        noteErrorFile(path);
        return error;
    }
    mRoot = std::move(root);
    mFile = std::move(file);
    mDataOffset = dataOffset;
    return ERROR_OK;
}

bool ResourceArchive::covers(std::string_view path) const
{
    if (!mRoot)
        return false;
    const std::string& rootName = mRoot->name;
    return path.size() > rootName.size() && equalsIgnoreCase(path.substr(0, rootName.size()), rootName) &&
           path[rootName.size()] == '\\';
}

const ArchiveFileEntry* ResourceArchive::findFile(std::string_view path) const
{
    if (!covers(path))
        return nullptr;
    std::string_view rest = path.substr(mRoot->name.size() + 1);
    const ArchiveFolder* folder = mRoot.get();
    for (;;)
    {
        bool last = false;
        std::string_view component = nextComponent(rest, last);
        if (last)
        {
            for (const ArchiveFileEntry& file : folder->files)
            {
                if (equalsIgnoreCase(file.name, component))
                    return &file;
            }
            return nullptr;
        }
        folder = findSubfolder(*folder, component);
        if (folder == nullptr)
            return nullptr;
    }
}

std::unique_ptr<ByteBuffer> ResourceArchive::readFile(std::string_view path)
{
    const ArchiveFileEntry* entry = findFile(path);
    if (entry == nullptr || !mFile)
        return nullptr;
    // Offsets were checked against the archive's size when it was opened.
    std::lock_guard lock(mReadMutex);
    if (mFile->seek(mDataOffset + entry->offset) != ERROR_OK)
        return nullptr;
    auto buffer = std::make_unique<ByteBuffer>(entry->size);
    for (uint32_t done = 0; done < entry->size;)
    {
        uint32_t block = std::min(kReadBlockSize, entry->size - done);
        if (mFile->readBytes(buffer->data() + done, block) != ERROR_OK)
            return nullptr;
        done += block;
    }
    return buffer;
}

const ArchiveFolder* ResourceArchive::findFolder(std::string_view path) const
{
    std::string withSlash(path);
    if (withSlash.empty() || withSlash.back() != '\\')
        withSlash += '\\';
    if (!covers(withSlash))
        return nullptr;
    std::string_view rest = std::string_view(withSlash).substr(mRoot->name.size() + 1);
    const ArchiveFolder* folder = mRoot.get();
    while (!rest.empty())
    {
        bool last = false;
        std::string_view component = nextComponent(rest, last);
        if (last)
            return nullptr; // something follows the last backslash
        folder = findSubfolder(*folder, component);
        if (folder == nullptr)
            return nullptr;
    }
    return folder;
}

// Building

namespace
{
struct BuildFile
{
    std::string name;
    std::string diskPath;
    uint32_t offset = 0;
    uint32_t size = 0;
};

struct BuildFolder
{
    std::string name;
    std::string diskPath;
    std::vector<BuildFolder> folders;
    std::vector<BuildFile> files;
};

bool isExcluded(const std::string& name, const std::vector<std::string>& excluded)
{
    size_t dot = name.rfind('.');
    std::string_view extension =
        dot == std::string::npos ? std::string_view() : std::string_view(name).substr(dot);
    for (const std::string& entry : excluded)
    {
        if (!extension.empty() && equalsIgnoreCase(extension, entry))
            return true;
    }
    return false;
}

// Subfolders first, each scanned whole, then the folder's own files: the
// data part follows the same order.
ErrorCode scanFolder(BuildFolder& folder, const std::vector<std::string>& excluded, uint64_t& nextOffset,
                     uint32_t depth)
{
    if (depth > ResourceArchive::kMaxFolderDepth)
        return ERROR_INVALID;
    std::vector<Platform::DirectoryEntry> entries = Platform::listDirectory(folder.diskPath);
    for (const Platform::DirectoryEntry& entry : entries)
    {
        if (!entry.isDirectory)
            continue;
        BuildFolder child{entry.name, folder.diskPath + "/" + entry.diskName, {}, {}};
        if (ErrorCode error = scanFolder(child, excluded, nextOffset, depth + 1))
            return error;
        folder.folders.push_back(std::move(child));
    }
    for (const Platform::DirectoryEntry& entry : entries)
    {
        if (entry.isDirectory || isExcluded(entry.name, excluded))
            continue;
        BuildFile file{entry.name, folder.diskPath + "/" + entry.diskName, 0, 0};
        std::error_code error;
        uint64_t size = std::filesystem::file_size(file.diskPath, error);
        if (error)
            return ERROR_FILEIO_READERROR;
        if (nextOffset + size > std::numeric_limits<uint32_t>::max())
            return ERROR_INVALID;
        file.offset = static_cast<uint32_t>(nextOffset);
        file.size = static_cast<uint32_t>(size);
        nextOffset += size;
        folder.files.push_back(std::move(file));
    }
    if (folder.folders.size() > 0xFFFF || folder.files.size() > 0xFFFF)
        return ERROR_INVALID;
    return ERROR_OK;
}

ErrorCode writeName(StdioFile& out, const std::string& name)
{
    if (name.size() > 0xFFFF)
        return ERROR_INVALID;
    if (ErrorCode error = out.writeU16(static_cast<uint16_t>(name.size())))
        return error;
    return out.writeBytes(name.data(), static_cast<uint32_t>(name.size()));
}

ErrorCode writeFolderRecord(StdioFile& out, const BuildFolder& folder)
{
    if (ErrorCode error = writeName(out, folder.name))
        return error;
    if (ErrorCode error = out.writeU16(static_cast<uint16_t>(folder.folders.size())))
        return error;
    for (const BuildFolder& child : folder.folders)
    {
        if (ErrorCode error = writeFolderRecord(out, child))
            return error;
    }
    if (ErrorCode error = out.writeU16(static_cast<uint16_t>(folder.files.size())))
        return error;
    for (const BuildFile& file : folder.files)
    {
        if (ErrorCode error = writeName(out, file.name))
            return error;
        if (ErrorCode error = out.writeU32(file.offset))
            return error;
        if (ErrorCode error = out.writeU32(file.size))
            return error;
    }
    return ERROR_OK;
}

ErrorCode copyFileBytes(StdioFile& out, const BuildFile& file)
{
    std::FILE* in = std::fopen(file.diskPath.c_str(), "rb");
    if (in == nullptr)
        return ERROR_FILEIO_FILENOTFOUND;
    std::vector<uint8_t> block(ResourceArchive::kReadBlockSize);
    ErrorCode result = ERROR_OK;
    for (uint32_t done = 0; done < file.size && result == ERROR_OK;)
    {
        uint32_t count = std::min<uint32_t>(ResourceArchive::kReadBlockSize, file.size - done);
        if (std::fread(block.data(), 1, count, in) != count)
            result = ERROR_FILEIO_READERROR; // the file shrank while we packed it
        else
            result = out.writeBytes(block.data(), count);
        done += count;
    }
    std::fclose(in);
    return result;
}

ErrorCode copyFolderBytes(StdioFile& out, const BuildFolder& folder)
{
    for (const BuildFolder& child : folder.folders)
    {
        if (ErrorCode error = copyFolderBytes(out, child))
            return error;
    }
    for (const BuildFile& file : folder.files)
    {
        if (ErrorCode error = copyFileBytes(out, file))
            return error;
    }
    return ERROR_OK;
}
} // namespace

ErrorCode buildResourceArchive(const std::string& outputPath, const std::string& sourceFolder,
                               std::string rootName, const std::vector<std::string>& excludedExtensions)
{
    if (!rootName.empty() && rootName.back() == '\\')
        rootName.pop_back();
    std::string source = Platform::mapPath(sourceFolder);
    while (source.size() > 1 && (source.back() == '/' || source.back() == '\\'))
        source.pop_back();
    std::error_code fsError;
    if (!std::filesystem::is_directory(source, fsError))
        return ERROR_FILEIO_FILENOTFOUND;

    BuildFolder root{rootName, source, {}, {}};
    uint64_t dataSize = 0;
    if (ErrorCode error = scanFolder(root, excludedExtensions, dataSize, 0))
        return error;

    return writeFileSafely(outputPath,
                           [&root](StdioFile& out)
                           {
                               if (ErrorCode error = writeFolderRecord(out, root))
                                   return error;
                               return copyFolderBytes(out, root);
                           });
}
