// Makes the game's images (data\Ressources\images):
//   image-generator <images folder> <assets folder> <display font> <serif>
//                   <serif bold> <serif italic> <emoji font>
// The menu video's still picture, videoFixe.png, comes with the video from
// the video generator.
#include "ImageDrawing.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 8)
    {
        std::fprintf(
            stderr,
            "usage: %s <images folder> <assets folder> <display font> <serif> <serif bold> <serif italic> "
            "<emoji font>\n",
            argv[0]);
        return 2;
    }
    std::string folder = argv[1], assets = argv[2];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    ImageArt art;
    if (!art.load(assets, argv + 3))
        return 1;
    ImageWriter out{folder};
    drawSmallImages(out, art.theme, *art.fonts);
    drawScreens(out, art.theme, *art.fonts);
    drawHelpPages(out, art.theme, *art.fonts, assets + "/help");
    return out.ok ? 0 : 1;
}
