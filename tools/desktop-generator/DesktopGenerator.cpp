// Makes the launcher's icons from the game's own art, the Lion's token,
// drawn afresh at each size so that the small ones stay sharp:
//   desktop-generator <icons folder> <assets folder> <display font> <serif>
//                     <serif bold> <serif italic> <emoji font>
// writes <icons folder>/<n>x<n>/apps/velmorique.png for the sizes desktops
// look for.
#include "ImageDrawing.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
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
    constexpr int kLion = 6;
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
