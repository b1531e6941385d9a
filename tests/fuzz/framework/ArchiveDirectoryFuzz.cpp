// The directory of a resource archive, read from untrusted bytes, then walked
// through every lookup.
#include "Framework/BinaryStream.h"
#include "Framework/ResourceArchive.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace
{
// Every path the directory names, so that the lookups find real entries.
void walk(const ArchiveFolder& folder, const std::string& path, uint32_t dataOffset, size_t size,
          size_t& checked)
{
    for (const ArchiveFileEntry& file : folder.files)
    {
        // The reader promised every file lies inside the archive.
        if (uint64_t{dataOffset} + file.offset + file.size > size)
            __builtin_trap();
        ++checked;
    }
    for (const auto& child : folder.folders)
        walk(*child, path + "\\" + child->name, dataOffset, size, checked);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 0xFFFFFFFFu)
        return 0;
    MemoryInputStream stream(data, static_cast<uint32_t>(size));
    std::unique_ptr<ArchiveFolder> root;
    uint32_t dataOffset = 0;
    if (ResourceArchive::readDirectory(stream, size, root, dataOffset) != ERROR_OK)
    {
        if (root)
            __builtin_trap();
        return 0;
    }
    size_t checked = 0;
    walk(*root, root->name, dataOffset, size, checked);
    return 0;
}
