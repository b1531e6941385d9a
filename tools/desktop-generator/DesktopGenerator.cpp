// Makes the launcher's icons from the game's own art, the Lion's token,
// drawn afresh at each size so that the small ones stay sharp:
//   desktop-generator <icons folder> <assets folder> <display font> <serif>
//                     <serif bold> <serif italic> <emoji font>
// writes <icons folder>/<n>x<n>/apps/velmorique.png for the sizes desktops
// look for;
//   desktop-generator --program-icon <source> <assets folder> <fonts as above>
// writes the same picture at the window icon's size as a C++ source, the
// program's own icon resource.
#include "ImageDrawing.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace
{
constexpr int kLion = 6;
constexpr int kProgramIconSize = 48;

bool writeProgramIcon(const Raster::Canvas& icon, const std::string& path)
{
    const std::vector<uint8_t> rgba = icon.toRgba8();
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary);
        out << "// Made by desktop-generator from the launcher's art; do not edit.\n"
               "#include \"Tarnaveli/GameIcon.h\"\n\n"
               "const int kGameIconSize = "
            << icon.width() << ";\nconst unsigned char kGameIconPixels[] = {";
        for (size_t i = 0; i < rgba.size(); ++i)
            out << (i % 16 == 0 ? "\n    " : " ") << static_cast<int>(rgba[i]) << ",";
        out << "\n};\n";
        if (!out)
        {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    return !error;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 9 && std::string(argv[1]) == "--program-icon")
    {
        ImageArt art;
        if (!art.load(argv[3], argv + 4))
            return 1;
        return writeProgramIcon(pieceIcon(art.theme, *art.fonts, kLion, 0, kProgramIconSize), argv[2]) ? 0
                                                                                                       : 1;
    }
    if (argc != 8)
    {
        std::fprintf(stderr,
                     "usage: %s <icons folder> <assets folder> <display font> <serif> <serif bold> "
                     "<serif italic> <emoji font>\n",
                     argv[0]);
        return 2;
    }
    const std::string folder = argv[1], assets = argv[2];
    ImageArt art;
    if (!art.load(assets, argv + 3))
        return 1;
    bool ok = true;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
    {
        const std::string sized = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path apps = std::filesystem::path(folder) / sized / "apps";
        std::error_code error;
        std::filesystem::create_directories(apps, error);
        ok = Raster::writePng(pieceIcon(art.theme, *art.fonts, kLion, 0, size),
                              (apps / "velmorique.png").string()) &&
             ok;
    }
    return ok ? 0 : 1;
}
