// Packs a folder into a resource archive:
//   archive-builder <folder> <archive> <root name> [excluded extension...]
// The root name is the path the archive stands for, as the game writes it
// ("data\Ressources"; slashes are turned into backslashes). Entries are taken
// in name order, so the same tree always gives the same archive.
#include "Framework/ErrorCodes.h"
#include "Framework/ResourceArchive.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 4)
    {
        std::fprintf(stderr, "usage: %s <folder> <archive> <root name> [excluded extension...]\n", argv[0]);
        return 2;
    }
    std::error_code error;
    std::string folder = std::filesystem::absolute(argv[1], error).string();
    std::string archive = std::filesystem::absolute(argv[2], error).string();
    if (error)
    {
        std::fprintf(stderr, "archive-builder: %s\n", error.message().c_str());
        return 1;
    }
    std::string rootName = argv[3];
    std::replace(rootName.begin(), rootName.end(), '/', '\\');
    std::vector<std::string> excluded(argv + 4, argv + argc);

    ErrorCode result = buildResourceArchive(archive, folder, rootName, excluded);
    if (result != ERROR_OK)
    {
        std::fprintf(stderr, "archive-builder: packing %s into %s failed with error %u\n", argv[1], argv[2],
                     static_cast<unsigned>(result));
        return 1;
    }
    return 0;
}
