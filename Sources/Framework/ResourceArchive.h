#pragma once
// The resource archive: one file that stands in for a folder of data files
// ("data\Ressources.dat" for "data\Ressources"). Layout, little-endian, no
// header: the root folder record (u16 name length, name, u16 subfolder count,
// subfolders written recursively, u16 file count, files: u16 name length,
// name, u32 offset, u32 size), then the bytes of every file back to back.
// Offsets count from the first byte after the directory.
//
// The directory comes from a file and is not trusted: nesting is capped and
// every file must lie inside the archive, or nothing is mounted.
#include "Framework/BinaryStream.h"
#include "Framework/DiskFile.h"

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

struct ArchiveFileEntry
{
    std::string name;
    uint32_t offset = 0;
    uint32_t size = 0;
};

struct ArchiveFolder
{
    std::string name;
    std::vector<std::unique_ptr<ArchiveFolder>> folders; // in file order
    std::vector<ArchiveFileEntry> files;                 // in file order
};

class ResourceArchive
{
public:
    // Folders deeper than this below the root make the directory invalid.
    static constexpr uint32_t kMaxFolderDepth = 64;
    // Files are read in blocks of this size.
    static constexpr uint32_t kReadBlockSize = 16384;

    ResourceArchive() = default;
    ResourceArchive(const ResourceArchive&) = delete;
    ResourceArchive& operator=(const ResourceArchive&) = delete;

    // Opens the archive (relative paths are below the program's folder) and
    // reads its directory: 17 (with a message) when the file is missing, 14
    // when the directory is short, inconsistent or names bytes the file does
    // not hold. On failure nothing stays mounted.
    ErrorCode open(const std::string& path);

    // Whether the path lies in the folder the archive stands for: it starts
    // with the root name (any letter case) followed by a backslash.
    bool covers(std::string_view path) const;
    // The entry of a covered path, folders and name compared in any letter
    // case; null when absent.
    const ArchiveFileEntry* findFile(std::string_view path) const;
    bool hasFile(std::string_view path) const { return findFile(path) != nullptr; }
    // The file's bytes (an empty buffer for a 0-byte file); null when the file
    // is absent or cannot be read whole.
    std::unique_ptr<ByteBuffer> readFile(std::string_view path);
    // The folder node of a covered folder path (with or without the trailing
    // backslash); null when absent.
    const ArchiveFolder* findFolder(std::string_view path) const;

    const ArchiveFolder* root() const { return mRoot.get(); }
    uint32_t dataOffset() const { return mDataOffset; }

    // Reads a directory from the stream's position: the root folder and the
    // position of the data part. Every file must end at or before
    // archiveSize. 14 when anything is wrong; root stays null then.
    static ErrorCode readDirectory(InputStream& stream, uint64_t archiveSize,
                                   std::unique_ptr<ArchiveFolder>& root, uint32_t& dataOffset);

private:
    std::unique_ptr<ArchiveFolder> mRoot;
    std::unique_ptr<StdioFile> mFile;
    uint32_t mDataOffset = 0;
    std::mutex mReadMutex;
};

// Packs a folder of the disk into an archive whose root stands for rootName
// ("data\Ressources"). Folders and files are taken in name order, so the same
// tree always gives the same bytes; files whose extension is in the excluded
// list (".txt", any letter case) are left out. Paths are Linux paths (a
// relative one is below the program's folder). The archive is written to a
// temporary file and renamed into place. 13 when the output cannot be
// created, 1 when the tree does not fit the format (names over 65535 bytes,
// more than 65535 entries in a folder, files over 4 GiB in all), 14 and 15 on
// read and write errors, 17 for a missing source folder.
ErrorCode buildResourceArchive(const std::string& outputPath, const std::string& sourceFolder,
                               std::string rootName, const std::vector<std::string>& excludedExtensions = {});
