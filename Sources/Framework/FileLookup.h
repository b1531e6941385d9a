#pragma once
// How the program finds its data files: the mounted resource archives first,
// then the disk (relative paths below the program's folder). The application
// base owns one FileLookup and publishes it while it lives, so that code below
// it (configuration files, images, sounds) looks files up the same way.
#include "Framework/ResourceArchive.h"

#include <memory>
#include <string>
#include <vector>

class FileLookup
{
public:
    FileLookup() = default;
    FileLookup(const FileLookup&) = delete;
    FileLookup& operator=(const FileLookup&) = delete;

    void addArchive(std::unique_ptr<ResourceArchive> archive);
    const std::vector<std::unique_ptr<ResourceArchive>>& archives() const { return mArchives; }
    void clearArchives() { mArchives.clear(); }

    // Archive only: a path that a mounted archive covers but lacks is not
    // looked for on the disk. On by default, as the game runs.
    void setArchiveOnly(bool archiveOnly) { mArchiveOnly = archiveOnly; }
    bool isArchiveOnly() const { return mArchiveOnly; }

    // The first archive that covers the path decides: its bytes and 0, or 11
    // when it lacks the file in archive-only mode. 0 without bytes when the
    // disk should be tried.
    ErrorCode readFromArchives(const std::string& path, std::unique_ptr<ByteBuffer>& bytes);
    // A stream on the file: over the archive's bytes, or an open disk file.
    // The disk's open error (17 for a missing file) is returned otherwise.
    ErrorCode openFile(const std::string& path, std::unique_ptr<InputStream>& stream, uint32_t flags = 0);
    bool fileExists(const std::string& path) const;

private:
    std::vector<std::unique_ptr<ResourceArchive>> mArchives;
    bool mArchiveOnly = true;
};

// The lookup of the running application, or null before it exists and after
// it has gone.
FileLookup* activeFileLookup();
void setActiveFileLookup(FileLookup* lookup);

// The same three lookups through the active lookup, or on the disk alone
// while there is none (before the application exists, in tools and tests).
ErrorCode readDataFromArchives(const std::string& path, std::unique_ptr<ByteBuffer>& bytes);
ErrorCode openDataFile(const std::string& path, std::unique_ptr<InputStream>& stream, uint32_t flags = 0);
bool dataFileExists(const std::string& path);
