// Draws data-contact-sheet.png in the build folder: a few screens put
// together the way the game lays them out (main menu, board view, dialogs),
// then every picture of the images folder and of the skin, each with its
// name, for a person to review the art at a glance.
#include "ExpectedFiles.h"
#include "GameDataFiles.h"
#include "Platform/System/Text1252.h"

#include <gtest/gtest.h>

#include <map>

using namespace GameData;
using Raster::Canvas;
using Raster::Color;

namespace
{

const std::string kImages = "data\\Ressources\\images\\";
const std::string kSkin = "data\\Ressources\\skins\\Default\\";

class Sheet
{
public:
    Sheet()
    {
        for (size_t i = 0; i < fontFiles().size(); ++i)
        {
            auto bytes = readRessource(kImages + fontFiles()[i]);
            std::string reason;
            if (bytes)
                fonts[i] = BitmapFontFile::parse(bytes->data(), bytes->size(), reason);
        }
    }

    // Fonts by the game's font index: 0 "Arial Narrow 32", 1 "Eras Demi ITC
    // 40", 2 "Arial Narrow 20", 3 "Arial Narrow 24".
    const BitmapFontFile* font(int index) const
    {
        static const int byIndex[] = {2, 3, 0, 1};
        const auto& f = fonts[byIndex[index]];
        return f ? &*f : nullptr;
    }

    Canvas image(const std::string& path)
    {
        auto it = cache.find(path);
        if (it != cache.end())
            return it->second;
        auto bytes = readRessource(path);
        auto decoded = bytes ? decodePicture(*bytes) : std::nullopt;
        Canvas c = decoded.value_or(Canvas(8, 8, {1, 0, 1, 1}));
        cache[path] = c;
        return c;
    }
    Canvas skin(const std::string& file) { return image(kSkin + file); }

    void text(Canvas& c, int fontIndex, int x, int y, const std::string& utf8, Color color)
    {
        if (const BitmapFontFile* f = font(fontIndex))
            f->draw(c, x, y, Platform::utf8ToCp1252(utf8), color);
    }
    void centredText(Canvas& c, int fontIndex, int x, int y, int width, const std::string& utf8, Color color)
    {
        if (const BitmapFontFile* f = font(fontIndex))
        {
            std::string t = Platform::utf8ToCp1252(utf8);
            f->draw(c, x + (width - f->measure(t)) / 2, y, t, color);
        }
    }
    // Word wrap as the game's text objects do it; returns the height used.
    int wrappedText(Canvas& c, int fontIndex, int x, int y, int width, const std::string& utf8, Color color)
    {
        const BitmapFontFile* f = font(fontIndex);
        if (!f)
            return 0;
        std::string t = Platform::utf8ToCp1252(utf8), line, word;
        int lineY = y;
        auto flush = [&]
        {
            f->draw(c, x, lineY, line, color);
            lineY += static_cast<int>(f->height + f->lineSpacing);
            line.clear();
        };
        size_t start = 0;
        while (start <= t.size())
        {
            size_t end = t.find(' ', start);
            word = t.substr(start, end == std::string::npos ? std::string::npos : end - start);
            std::string candidate = line.empty() ? word : line + " " + word;
            if (!line.empty() && f->measure(candidate) > width)
            {
                flush();
                candidate = word;
            }
            line = candidate;
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
        if (!line.empty())
            flush();
        return lineY - y;
    }

    // The nine-image layout of a container look over (x, y, w, h).
    void frame(Canvas& c, const FrameLook& look, int x, int y, int w, int h)
    {
        auto part = [&](const char* name) { return skin(look.prefix + name + ".png"); };
        int L = look.left, T = look.top, R = look.right, B = look.bottom;
        Canvas background = part("Fond");
        if (look.tiled)
        {
            for (int ty = y + T; ty < y + h - B; ty += background.height())
                for (int tx = x + L; tx < x + w - R; tx += background.width())
                {
                    int cw = std::min(background.width(), x + w - R - tx),
                        ch = std::min(background.height(), y + h - B - ty);
                    c.draw(background.crop(0, 0, cw, ch), tx, ty);
                }
        }
        else
            c.drawScaled(background, x + L, y + T, w - L - R, h - T - B);
        c.drawScaled(part("BordureGauche"), x, y + T, L, h - T - B);
        c.drawScaled(part("BordureDroite"), x + w - R, y + T, R, h - T - B);
        c.drawScaled(part("BordureHaut"), x + L, y, w - L - R, T);
        c.drawScaled(part("BordureBas"), x + L, y + h - B, w - L - R, B);
        c.draw(part("CoinHautGauche"), x, y);
        c.draw(part("CoinHautDroit"), x + w - R, y);
        c.draw(part("CoinBasGauche"), x, y + h - B);
        c.draw(part("CoinBasDroit"), x + w - R, y + h - B);
    }

    std::array<std::optional<BitmapFontFile>, 4> fonts;
    std::map<std::string, Canvas> cache;
};

const FrameLook& look(const std::string& prefix)
{
    for (const FrameLook& l : frameLooks())
        if (l.prefix == prefix)
            return l;
    return frameLooks().front();
}

const Color kInk = Color::rgb(0x2B160A);
const Color kWhite = {1, 1, 1, 1};

// The main menu over the menu video's still picture.
Canvas mainMenu(Sheet& s)
{
    Canvas c(1024, 768);
    c.drawScaled(s.image(kImages + "videoFixe.png"), 0, 0, 1024, 768);
    Canvas logo = s.image(kImages + "logoLorvanta.png");
    c.draw(logo, 4, 768 - logo.height() - 4);
    const int windowY = (768 - (8 * 62 + 40 + 6)) / 2;
    Canvas title = s.image(kImages + "VMQ titre.png");
    c.draw(title, (1024 - title.width()) / 2, windowY - 110);
    const char* states[] = {"Released", "RolledOver", "Released", "Released",
                            "Pressed",  "Released",   "Released", "Released"};
    for (int i = 0; i < 8; ++i)
        c.draw(s.skin("boutonMenu" + std::to_string(i + 1) + states[i] + ".png"), (1024 - 208) / 2,
               windowY + 40 + 6 + i * 62);
    // An infotip under the hovered button.
    const FrameLook& tip = look("infotip");
    s.frame(c, tip, 620, windowY + 46 + 62 + 40, 260, 24 + 6);
    s.text(c, 2, 624, windowY + 46 + 62 + 44, "Joue une partie contre l'ordinateur", kInk);
    return c;
}

// The board view: background, a picture of the board where the 3D scene
// goes, the overlay, title, clock, turn label, buttons, tutorial advisor.
Canvas boardView(Sheet& s)
{
    Canvas c(1024, 768);
    c.draw(s.image(kImages + "fond.jpg"), 0, 0);
    Canvas board = s.image(kImages + "TNV Plateau Alone.jpg");
    c.drawScaled(board.crop(18, 40, 476, 320), 140, 200, 744, 470, 0.9f);
    c.drawScaled(s.skin("cadre.png"), 0, 0, 1024, 768);
    Canvas title = s.image(kImages + "VMQ titre.png");
    c.draw(title, (1024 - title.width()) / 2, 2);
    s.centredText(c, 3, 465, 117, 108, "0:04:27", kWhite);
    s.centredText(c, 3, 465, 145, 108, "Tour : Blanc", kWhite);
    const char* buttons[] = {"angleRolledOver", "pointReleased", "retourDisabled", "listePressed"};
    for (int i = 0; i < 4; ++i)
        c.draw(s.skin(std::string(buttons[i]) + ".png"), 240 + 141 * i, 690);
    const FrameLook& tutor = look("cadreTutorial");
    int h = 8 + 76 + 34 + 80;
    s.frame(c, tutor, 0, 0, 200 + 8 + 16, h);
    s.wrappedText(c, 2, 8, 76, 200, "C’est à vous de jouer ! Dégagez le passage pour les pièces d’attaque.",
                  kWhite);
    return c;
}

// Dialogs on the menu picture: a message box in the large frame, the
// options' controls, a chat window in the small frame.
Canvas dialogs(Sheet& s)
{
    Canvas c(1024, 768);
    c.drawScaled(s.image(kImages + "videoFixe.png"), 0, 0, 1024, 768);
    const FrameLook& big = look("fenetreChinoise");
    const int clientW = 450, clientH = 40 + 16 + 56 + 16 + 24;
    const int w = clientW + big.left + big.right, h = clientH + big.top + big.bottom;
    const int x = (1024 - w) / 2, y = 10;
    s.frame(c, big, x, y, w, h);
    int cx = x + big.left, cy = y + big.top;
    s.centredText(c, 1, cx, cy, clientW, "Tutorial", kInk);
    s.wrappedText(c, 3, cx, cy + 56, clientW,
                  "Il s'agit de votre première partie. Désirez-vous suivre le tutorial ?", kInk);
    s.centredText(c, 3, cx + clientW / 2 - 100, cy + clientH - 24, 100, "OK", Color::rgb(0x186E4E));
    s.centredText(c, 3, cx + clientW / 2, cy + clientH - 24, 100, "Non", kInk);

    // Controls of the options window on a small window.
    const FrameLook& small = look("fenetrePetite");
    int sx = 40, sy = 440, sw = 520, sh = 300;
    s.frame(c, small, sx, sy, sw, sh);
    int ix = sx + small.left + 8, iy = sy + small.top + 8;
    const char* boxes[] = {"checkBoxCheckedReleased", "checkBoxUncheckedRolledOver",
                           "checkBoxCheckedPressed"};
    const char* labels[] = {"Bruitages", "Musique", "Infobulles"};
    for (int i = 0; i < 3; ++i)
    {
        c.drawScaled(s.skin(std::string(boxes[i]) + ".png"), ix, iy + i * 34, 24, 24);
        s.text(c, 3, ix + 30, iy + i * 34, labels[i], kInk);
    }
    c.draw(s.skin("LiftSonsBackground.png"), ix + 150, iy);
    c.draw(s.skin("LiftSonsCarretReleased.png"), ix + 150 + 100, iy);
    // A combo box: arrow button (look 4) and its bordered text box.
    const FrameLook& box = look("container");
    c.drawScaled(s.skin("LiftButtonDownReleased.png"), ix + 150, iy + 50, 32, 32);
    s.frame(c, box, ix + 182, iy + 50, 200, 32);
    s.text(c, 3, ix + 188, iy + 54, "Ordinateur", kInk);
    // Difficulty selector.
    const char* levels[] = {"checkboxEasyUncheckedReleased", "checkboxMediumCheckedReleased",
                            "checkboxHardUncheckedRolledOver"};
    for (int i = 0; i < 3; ++i)
        c.drawScaled(s.skin(std::string(levels[i]) + ".png"), ix + 150 + i * 53, iy + 100, 44, 44);
    // A list with its lift and selection.
    s.frame(c, box, ix, iy + 150, 440, 100);
    const char* rows[] = {"1   Lucie     0:12:40   48", "2   Bastien   0:15:02   61",
                          "3   Inès      0:19:55   70"};
    c.drawScaled(s.skin("containerLiftSelection.png"), ix + 4, iy + 154 + 24, 405, 24);
    for (int i = 0; i < 3; ++i)
        s.text(c, 3, ix + 10, iy + 154 + i * 24, rows[i], kInk);
    int lx = ix + 440 - 4 - 27, ly = iy + 154, lh = 92;
    c.drawScaled(s.skin("LiftButtonUpReleased.png"), lx, ly, 27, 27 * 47 / 26.0f);
    c.drawScaled(s.skin("LiftButtonDownReleased.png"), lx, ly + lh - 48, 27, 27 * 47 / 26.0f);
    (void)lh;
    // A tall lift beside the list: track and carret in three pieces each.
    int tx = ix + 452, ty = iy + 150, th = 230;
    c.drawScaled(s.skin("LiftButtonUpReleased.png"), tx, ty, 27, 27 * 47 / 26.0f);
    c.drawScaled(s.skin("LiftButtonDownRolledOver.png"), tx, ty + th - 48, 27, 27 * 47 / 26.0f);
    c.draw(s.skin("LiftVerticalBackgroundUp.png"), tx, ty + 49);
    c.drawScaled(s.skin("LiftVerticalBackgroundMiddle.png"), tx, ty + 63, 27, th - 98 - 28);
    c.draw(s.skin("LiftVerticalBackgroundDown.png"), tx, ty + th - 49 - 14);
    c.draw(s.skin("LiftVerticalCarretUpReleased.png"), tx, ty + 80);
    c.drawScaled(s.skin("LiftVerticalCarretMiddleReleased.png"), tx, ty + 90, 27, 40);
    c.draw(s.skin("LiftVerticalCarretDownReleased.png"), tx, ty + 130);
    // And a horizontal one under the controls.
    int hx = ix + 150, hy = iy + 20;
    c.drawScaled(s.skin("LiftButtonLeftReleased.png"), hx + 200, hy, 27, 27);
    c.draw(s.skin("LiftHorizontalBackgroundUp.png"), hx + 227, hy);
    c.drawScaled(s.skin("LiftHorizontalBackgroundMiddle.png"), hx + 241, hy, 60, 27);
    c.draw(s.skin("LiftHorizontalBackgroundDown.png"), hx + 301, hy);
    c.draw(s.skin("LiftHorizontalCarretUpRolledOver.png"), hx + 250, hy);
    c.drawScaled(s.skin("LiftHorizontalCarretMiddleRolledOver.png"), hx + 260, hy, 20, 27);
    c.draw(s.skin("LiftHorizontalCarretDownRolledOver.png"), hx + 280, hy);
    c.drawScaled(s.skin("LiftButtonRightReleased.png"), hx + 315, hy, 27, 27);
    // Progression bar.
    s.frame(c, box, ix, iy + 262, 300, 24);
    c.drawScaled(s.skin("progLeft.png"), ix + 4, iy + 266, 8, 16);
    c.drawScaled(s.skin("progMiddle.png"), ix + 12, iy + 266, 180, 16);
    c.drawScaled(s.skin("progRight.png"), ix + 192, iy + 266, 8, 16);
    for (int i = 0; i < 5; ++i)
        c.draw(s.skin("videoControlButton" + std::to_string(i + 1) + "Released.png"), ix + 310 + i * 34,
               iy + 258);

    // Chat window.
    int chx = 600, chy = 440, chw = 300 + small.left + small.right, chh = 200 + small.top + small.bottom;
    s.frame(c, small, chx, chy, chw, chh);
    c.draw(s.skin("LiftButtonDownReleased.png").crop(0, 0, 26, 47), chx + small.left + 300 - 32,
           chy + small.top);
    s.text(c, 3, chx + small.left + 4, chy + small.top + 40, "Lucie : bonne partie !", kInk);
    s.text(c, 3, chx + small.left + 4, chy + small.top + 66, "Bastien : merci, à toi !", kInk);
    c.draw(s.skin("fileDir.png"), chx + small.left + 4, chy + small.top + 110);
    c.draw(s.skin("fileSavegame.png"), chx + small.left + 40, chy + small.top + 110);
    c.draw(s.skin("boutonTutorialNextReleased.png"), chx + small.left + 100, chy + small.top + 110);
    return c;
}

// Pictures in a grid, each shrunk to fit its cell, with its name under it.
int grid(Sheet& s, Canvas& sheet, int top, const std::string& folder, const std::vector<std::string>& files,
         int cellW, int cellH)
{
    const int columns = sheet.width() / cellW;
    int index = 0;
    for (const std::string& file : files)
    {
        Canvas picture = s.image(folder + file);
        int col = index % columns, line = index / columns;
        int x = col * cellW, y = top + line * (cellH + 22);
        // A checkerboard shows transparency.
        sheet.fill(
            x + 2, y + 2, x + cellW - 2, y + cellH - 2, [](float, float) { return -1.0f; },
            [](float px, float py)
            {
                bool dark = (static_cast<int>(px) / 8 + static_cast<int>(py) / 8) % 2;
                return dark ? Color{0.55f, 0.55f, 0.58f, 1} : Color{0.7f, 0.7f, 0.73f, 1};
            });
        float scale =
            std::min({1.0f * (cellW - 8) / picture.width(), 1.0f * (cellH - 8) / picture.height(), 2.0f});
        float w = picture.width() * scale, h = picture.height() * scale;
        sheet.drawScaled(picture, x + (cellW - w) / 2, y + (cellH - h) / 2, w, h);
        // The name, shortened from the front until it fits its cell.
        std::string label = file;
        const BitmapFontFile* f = s.font(2);
        for (size_t cut = 1; f && cut < file.size() && f->measure(Platform::utf8ToCp1252(label)) > cellW - 8;
             ++cut)
            label = "…" + file.substr(cut);
        s.text(sheet, 2, x + 4, y + cellH, label, kWhite);
        ++index;
    }
    return top + ((index + columns - 1) / columns) * (cellH + 22);
}

} // namespace

TEST(GameDataContactSheet, DrawsEveryPictureOnOneSheet)
{
    ASSERT_NE(archive(), nullptr);
    Sheet s;
    ASSERT_NE(s.font(2), nullptr);
    std::vector<std::string> images = imageFiles();
    images.push_back("selectionCell.png");
    std::vector<std::string> skinFiles;
    for (const std::string& file : skinTextureFiles())
        if (std::find(skinFiles.begin(), skinFiles.end(), file) == skinFiles.end())
            skinFiles.push_back(file);

    const int width = 2 * 1024 + 3 * 16;
    const int imageRows = (static_cast<int>(images.size()) + 7) / 8;
    const int skinRows = (static_cast<int>(skinFiles.size()) + 9) / 10;
    const int height = 16 + 2 * (768 + 16) + 40 + imageRows * (220 + 22) + 40 + skinRows * (110 + 22) + 16;
    Canvas sheet(width, height, Color::rgb(0x202024));
    sheet.draw(mainMenu(s), 16, 16);
    sheet.draw(boardView(s), 16 + 1024 + 16, 16);
    sheet.draw(dialogs(s), 16, 16 + 768 + 16);
    // The two help pages, half size, beside the dialogs.
    sheet.drawScaled(s.image(kImages + "TutorialPage1.jpg"), 16 + 1024 + 16, 16 + 768 + 16, 512, 384);
    sheet.drawScaled(s.image(kImages + "TutorialPage2.jpg"), 16 + 1024 + 16 + 512, 16 + 768 + 16, 512, 384);
    sheet.drawScaled(s.image(kImages + "fin VMQ.jpg"), 16 + 1024 + 16, 16 + 768 + 16 + 384, 512, 384);
    sheet.drawScaled(s.image(kImages + "morvex games logo.jpg"), 16 + 1024 + 16 + 512, 16 + 768 + 16 + 384,
                     512, 288);
    // Font samples.
    int fy = 16 + 768 + 16 + 384 + 300;
    for (int f = 0; f < 4; ++f)
    {
        s.text(sheet, f, 16 + 1024 + 16 + 520, fy, "Éléphant « Œuvre » cœur’s 0:12:34", kWhite);
        fy += static_cast<int>(s.font(f)->height) + 2;
    }
    int y = 16 + 2 * (768 + 16) + 16;
    s.text(sheet, 1, 16, y - 8, "data\\Ressources\\images", kWhite);
    y = grid(s, sheet, y + 36, kImages, images, width / 8, 220);
    s.text(sheet, 1, 16, y + 8, "data\\Ressources\\skins\\Default", kWhite);
    grid(s, sheet, y + 52, kSkin, skinFiles, width / 10, 110);
    EXPECT_TRUE(Raster::writePng(sheet, VELMORIQUE_CONTACT_SHEET));
}
