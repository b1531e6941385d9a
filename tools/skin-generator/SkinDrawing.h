#pragma once
// Drawing of the skin "Default": each family of skin textures has one
// function that writes its files through the writer.
#include "raster/Theme.h"

#include <map>
#include <string>

struct SkinWriter
{
    std::string folder;
    bool ok = true;
    int count = 0;
    void save(const Raster::Canvas& canvas, const std::string& file)
    {
        ok = Raster::writePng(canvas, folder + "/" + file) && ok;
        ++count;
    }
};

void drawChineseWindow(SkinWriter& out, const Raster::Theme& theme);
void drawSmallWindow(SkinWriter& out, const Raster::Theme& theme);
void drawInfotip(SkinWriter& out, const Raster::Theme& theme);
void drawContainer(SkinWriter& out, const Raster::Theme& theme);
void drawTutorialFrame(SkinWriter& out, const Raster::Theme& theme);

void drawBoardOverlay(SkinWriter& out, const Raster::Theme& theme);
void drawSmallButtons(SkinWriter& out, const Raster::Theme& theme);
void drawLifts(SkinWriter& out, const Raster::Theme& theme);
void drawCheckBoxes(SkinWriter& out, const Raster::Theme& theme);
void drawBoardButtons(SkinWriter& out, const Raster::Theme& theme);
void drawMenuButtons(SkinWriter& out, const Raster::Theme& theme, Raster::Typeface& face,
                     const std::map<std::string, std::string>& words);
void drawFileIcons(SkinWriter& out, const Raster::Theme& theme);
