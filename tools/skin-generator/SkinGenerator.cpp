// Makes the skins folder of the game:
//   skin-generator <skins folder> <assets art folder> <menu font>
// writes <skins folder>/skins.ini (every SKIN_TEX_ key with its file name)
// and the skin "Default": every picture the table names, and its skin.ini
// copied from the assets (the colours are a person's choice).
#include "SkinDrawing.h"
#include "SkinTable.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

namespace
{

bool writeSkinsIni(const std::string& path)
{
    // The game's configuration reader and writer use "key = value" lines
    // ending in CR LF.
    std::string text;
    for (const SkinTexture& entry : skinTextureTable())
        text += entry.key + " = " + entry.file + "\r\n";
    std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary);
        out << text;
        if (!out.flush())
            return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::fprintf(stderr, "usage: %s <skins folder> <assets art folder> <menu font>\n", argv[0]);
        return 2;
    }
    std::string skins = argv[1], art = argv[2];
    std::string folder = skins + "/Default";
    std::error_code error;
    std::filesystem::create_directories(folder, error);

    Raster::Palette palette;
    if (!palette.load(art + "/palette.ini"))
        return 1;
    Raster::Theme theme(palette);
    Raster::Typeface menuFace(argv[3]);
    if (!menuFace.valid())
        return 1;
    auto words = Raster::readKeyValues(art + "/menu-buttons.ini");

    SkinWriter out{folder};
    drawBoardOverlay(out, theme);
    drawChineseWindow(out, theme);
    drawSmallWindow(out, theme);
    drawInfotip(out, theme);
    drawContainer(out, theme);
    drawTutorialFrame(out, theme);
    drawSmallButtons(out, theme);
    drawLifts(out, theme);
    drawCheckBoxes(out, theme);
    drawBoardButtons(out, theme);
    drawMenuButtons(out, theme, menuFace, words);
    drawFileIcons(out, theme);

    // Every file the table names must have been drawn.
    std::set<std::string> missing;
    for (const SkinTexture& entry : skinTextureTable())
        if (!std::filesystem::exists(folder + "/" + entry.file))
            missing.insert(entry.file);
    for (const std::string& file : missing)
        std::fprintf(stderr, "skin-generator: nothing draws %s\n", file.c_str());

    bool ok = out.ok && missing.empty() && writeSkinsIni(skins + "/skins.ini");
    std::filesystem::copy_file(art + "/skin.ini", folder + "/skin.ini",
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error)
    {
        std::fprintf(stderr, "skin-generator: cannot copy skin.ini: %s\n", error.message().c_str());
        ok = false;
    }
    return ok ? 0 : 1;
}
