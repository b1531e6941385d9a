#pragma once
// Drawing of the game's images (data\Ressources\images): cursor and caret,
// intro and closing screens, title, board background, piece icons, markers,
// help pages and logos.
#include "raster/Theme.h"

#include <array>
#include <map>
#include <memory>
#include <string>

struct ImageFonts
{
    Raster::Typeface display; // URW Gothic Demi: titles
    Raster::Typeface serif;   // C059: help text
    Raster::Typeface serifBold;
    Raster::Typeface serifItalic;
    Raster::Typeface emoji; // Noto Color Emoji: the animals
    ImageFonts(const std::string& d, const std::string& s, const std::string& sb, const std::string& si,
               const std::string& e)
        : display(d), serif(s), serifBold(sb), serifItalic(si), emoji(e)
    {
    }
    bool valid() const
    {
        return display.valid() && serif.valid() && serifBold.valid() && serifItalic.valid() && emoji.valid();
    }
};

// What the drawing programs take from their command line: the palette of
// <assets folder>/art and the five fonts, given in ImageFonts' order.
struct ImageArt
{
    Raster::Palette palette;
    Raster::Theme theme{palette};
    std::unique_ptr<ImageFonts> fonts;
    // False when the palette or a font does not load.
    bool load(const std::string& assets, char* const fontFiles[5])
    {
        if (!palette.load(assets + "/art/palette.ini"))
            return false;
        fonts = std::make_unique<ImageFonts>(fontFiles[0], fontFiles[1], fontFiles[2], fontFiles[3],
                                             fontFiles[4]);
        return fonts->valid();
    }
};

struct ImageWriter
{
    std::string folder;
    bool ok = true;
    void png(const Raster::Canvas& canvas, const std::string& file)
    {
        ok = Raster::writePng(canvas, folder + "/" + file) && ok;
    }
    void jpeg(const Raster::Canvas& canvas, const std::string& file)
    {
        ok = Raster::writeJpeg(canvas, folder + "/" + file, 90) && ok;
    }
};

// The eight animals by rank (0 Rat to 7 Elephant).
constexpr std::array<const char*, 8> kAnimalFiles = {"Rat",      "Chat",  "Loup", "Chien",
                                                     "Panthere", "Tigre", "Lion", "Elephant"};
constexpr std::array<const char*, 8> kAnimalNames = {"Rat",      "Chat",  "Loup", "Chien",
                                                     "Panthère", "Tigre", "Lion", "Éléphant"};

// A piece token: the animal on an ivory (side 0) or ebony (side 1) disc.
Raster::Canvas pieceIcon(const Raster::Theme& theme, ImageFonts& fonts, int rank, int side, int size);
// The board seen from above, cell size given; the pieces at their opening
// cells when withPieces is set.
Raster::Canvas boardDiagram(const Raster::Theme& theme, ImageFonts& fonts, int cell, bool withPieces);

void drawSmallImages(ImageWriter& out, const Raster::Theme& theme, ImageFonts& fonts);
void drawScreens(ImageWriter& out, const Raster::Theme& theme, ImageFonts& fonts);
void drawHelpPages(ImageWriter& out, const Raster::Theme& theme, ImageFonts& fonts,
                   const std::string& helpFolder);
