// The data folder the build made holds every file the game loads at start-up,
// in the forms the game reads.
#include "ExpectedFiles.h"
#include "GameDataFiles.h"
#include "Platform/System/Text1252.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

using namespace GameData;

namespace
{

const std::string kImages = "data\\Ressources\\images\\";
const std::string kSkins = "data\\Ressources\\skins\\";

std::optional<Raster::Canvas> picture(const std::string& gamePath)
{
    auto bytes = readRessource(gamePath);
    if (!bytes)
        return std::nullopt;
    return decodePicture(*bytes);
}

// Mean absolute difference of two equally long runs of pixels, colour
// weighted by alpha, 0 to 255.
float difference(const std::vector<Raster::Color>& a, const std::vector<Raster::Color>& b)
{
    float sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += std::fabs(a[i].r * a[i].a - b[i].r * b[i].a) + std::fabs(a[i].g * a[i].a - b[i].g * b[i].a) +
               std::fabs(a[i].b * a[i].a - b[i].b * b[i].a) + std::fabs(a[i].a - b[i].a);
    return a.empty() ? 0 : sum * 255.0f / (4.0f * a.size());
}

std::vector<Raster::Color> row(const Raster::Canvas& c, int y)
{
    std::vector<Raster::Color> out;
    for (int x = 0; x < c.width(); ++x)
        out.push_back(c.colorAt(x, y));
    return out;
}

std::vector<Raster::Color> column(const Raster::Canvas& c, int x)
{
    std::vector<Raster::Color> out;
    for (int y = 0; y < c.height(); ++y)
        out.push_back(c.colorAt(x, y));
    return out;
}

std::map<std::string, std::string> iniLines(const ByteBuffer& bytes, std::vector<std::string>& keysInOrder,
                                            bool& crlf)
{
    std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::map<std::string, std::string> values;
    crlf = true;
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        if (line.empty() || line.back() != '\r')
            crlf = false;
        else
            line.pop_back();
        size_t eq = line.find(" = ");
        if (eq == std::string::npos)
            continue;
        keysInOrder.push_back(line.substr(0, eq));
        values[line.substr(0, eq)] = line.substr(eq + 3);
    }
    return values;
}

} // namespace

TEST(GameDataManifest, ArchiveHoldsTheResourceFolderFileForFile)
{
    ASSERT_NE(archive(), nullptr) << "data/Ressources.dat does not mount";
    namespace fs = std::filesystem;
    fs::path root = fs::path(dataFolder()) / "Ressources";
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root))
    {
        if (!entry.is_regular_file())
            continue;
        std::string relative = fs::relative(entry.path(), root).string();
        std::replace(relative.begin(), relative.end(), '/', '\\');
        // The program writes the language file beside the archive at its
        // first start; it is not part of the packed data.
        if (relative == "lang.ini")
            continue;
        auto bytes = readRessource("data\\Ressources\\" + relative);
        ASSERT_NE(bytes, nullptr) << relative << " is missing from the archive";
        std::ifstream in(entry.path(), std::ios::binary);
        std::string disk((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(disk.size(), bytes->size()) << relative;
        EXPECT_TRUE(disk.size() == bytes->size() && std::memcmp(disk.data(), bytes->data(), disk.size()) == 0)
            << relative << " differs between the folder and the archive";
        ++files;
    }
    EXPECT_GT(files, 200);
}

TEST(GameDataManifest, EveryImageOfTheTableDecodes)
{
    std::vector<std::string> files = imageFiles();
    files.push_back("selectionCell.png"); // the board's cell marker
    for (const std::string& file : files)
    {
        auto image = picture(kImages + file);
        ASSERT_TRUE(image.has_value()) << file << " is missing or does not decode";
        EXPECT_GT(image->width(), 0) << file;
        EXPECT_GT(image->height(), 0) << file;
    }
}

TEST(GameDataManifest, PicturesHaveTheSizesTheirUsersDrawThemAt)
{
    auto size = [](const std::string& path)
    {
        auto image = picture(path);
        return image ? std::pair<int, int>{image->width(), image->height()} : std::pair<int, int>{0, 0};
    };
    using Size = std::pair<int, int>;
    // Drawn at their natural size over the whole 1024 x 768 window.
    EXPECT_EQ(size(kImages + "fond.jpg"), Size(1024, 768));
    EXPECT_EQ(size(kImages + "TutorialPage1.jpg"), Size(1024, 768));
    EXPECT_EQ(size(kImages + "TutorialPage2.jpg"), Size(1024, 768));
    EXPECT_EQ(size(kSkins + "Default\\cadre.png"), Size(1024, 768));
    // The menu's still picture is stretched over the window like the video.
    Size still = size(kImages + "videoFixe.png");
    EXPECT_EQ(still.first * 3, still.second * 4);
    // The title sits 110 pixels above the main menu's buttons.
    Size title = size(kImages + "VMQ titre.png");
    EXPECT_LE(title.second, 110);
    EXPECT_LE(title.first, 1024);
    // Intro and closing screens are centred in the window; the small logo
    // stands in its lower left corner.
    for (const char* screen : {"logo lorvanta.png", "morvex games logo.jpg", "fin VMQ.jpg"})
    {
        Size s = size(kImages + screen);
        EXPECT_TRUE(s.first > 0 && s.first <= 1024 && s.second > 0 && s.second <= 768) << screen;
    }
    Size logo = size(kImages + "logoLorvanta.png");
    EXPECT_TRUE(logo.first <= 300 && logo.second <= 100);
    // Piece icons: square, all alike.
    Size icon = size(kImages + "Rat-blanc.png");
    EXPECT_EQ(icon.first, icon.second);
    for (size_t id = 3; id <= 18; ++id)
        EXPECT_EQ(size(kImages + imageFiles()[id]), icon) << imageFiles()[id];
    // Image buttons are drawn at their widget's size: menu buttons 208 x 54,
    // board buttons and the help window's "next" button 121 x 64, lift arrows
    // keep 26 x 47 (up, down) and 32 x 32 (left, right).
    for (int n = 1; n <= 11; ++n)
        EXPECT_EQ(size(kSkins + "Default\\boutonMenu" + std::to_string(n) + "Released.png"), Size(208, 54))
            << n;
    for (const char* board : {"angle", "point", "retour", "liste", "bulle"})
        EXPECT_EQ(size(kSkins + "Default\\" + board + "Disabled.png"), Size(121, 64)) << board;
    EXPECT_EQ(size(kSkins + "Default\\boutonTutorialNextReleased.png"), Size(121, 64));
    EXPECT_EQ(size(kSkins + "Default\\LiftButtonUpReleased.png"), Size(26, 47));
    EXPECT_EQ(size(kSkins + "Default\\LiftButtonDownPressed.png"), Size(26, 47));
    EXPECT_EQ(size(kSkins + "Default\\LiftButtonLeftRolledOver.png"), Size(32, 32));
    EXPECT_EQ(size(kSkins + "Default\\LiftButtonRightReleased.png"), Size(32, 32));
}

TEST(GameDataManifest, SkinsIniNamesEveryTextureIdInOrder)
{
    auto bytes = readRessource(kSkins + "skins.ini");
    ASSERT_NE(bytes, nullptr);
    std::vector<std::string> keys;
    bool crlf = false;
    auto values = iniLines(*bytes, keys, crlf);
    EXPECT_TRUE(crlf) << "lines must end in CR LF like the game's own configuration files";
    std::vector<std::string> expected = skinTextureFiles();
    ASSERT_EQ(expected.size(), 197u);
    ASSERT_EQ(keys.size(), expected.size());
    for (size_t id = 0; id < keys.size(); ++id)
    {
        EXPECT_EQ(keys[id].rfind("SKIN_TEX_", 0), 0u) << keys[id];
        EXPECT_EQ(values[keys[id]], expected[id]) << "texture id " << id;
    }
    EXPECT_EQ(keys[0], "SKIN_TEX_FILE_DIR");
    EXPECT_EQ(keys[2], "SKIN_TEX_BACKGROUND");
    EXPECT_EQ(keys[11], "SKIN_TEX_CONTAINER_WINDOW_DEFAULT_BACKGROUND");
    EXPECT_EQ(keys[72], "SKIN_TEX_LIFT_DEFAULT_VERTICAL_CARRET_UP_RELEASED");
    EXPECT_EQ(keys[94], "SKIN_TEX_LIFT_SOUND_VERTICAL_BACKGROUND");
    EXPECT_EQ(keys[98], "SKIN_TEX_CHECKBOX_DEFAULT_CHECKED_PRESSED");
    EXPECT_EQ(keys[159], "SKIN_TEX_BUTTON_BOARD_4_DISABLED");
    EXPECT_EQ(keys[169], "SKIN_TEX_BUTTON_MENU_2_DISABLED");
    EXPECT_EQ(keys[192], "SKIN_TEX_BUTTON_MENU_9_DISABLED");
    EXPECT_EQ(keys[196], "SKIN_TEX_FILE_SAVEGAME");
    EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()).size(), keys.size()) << "a key comes twice";
}

TEST(GameDataManifest, DefaultSkinHoldsEveryTextureAndItsColours)
{
    const ArchiveFolder* skins = archive() ? archive()->findFolder(kSkins) : nullptr;
    ASSERT_NE(skins, nullptr);
    ASSERT_EQ(skins->folders.size(), 1u);
    EXPECT_EQ(skins->folders[0]->name, "Default");
    std::set<std::string> files;
    for (const std::string& file : skinTextureFiles())
        files.insert(file);
    EXPECT_EQ(files.size(), 193u);
    for (const std::string& file : files)
        EXPECT_TRUE(picture(kSkins + "Default\\" + file).has_value())
            << file << " is missing or does not decode";

    auto ini = readRessource(kSkins + "Default\\skin.ini");
    ASSERT_NE(ini, nullptr);
    std::vector<std::string> keys;
    bool crlf = false;
    auto values = iniLines(*ini, keys, crlf);
    EXPECT_TRUE(crlf);
    const std::vector<std::string> expectedKeys = {"SKIN_COLOR_BUTTON_TEXT_RELEASED",
                                                   "SKIN_COLOR_BUTTON_TEXT_PRESSED",
                                                   "SKIN_COLOR_BUTTON_TEXT_ROLLEDOVER",
                                                   "SKIN_COLOR_BUTTON_TEXT_SHADOW",
                                                   "SKIN_COLOR_BUTTON_TEXT_DISABLED",
                                                   "SKIN_COLOR_BUTTON_TEXT_MENU_RELEASED",
                                                   "SKIN_COLOR_BUTTON_TEXT_MENU_PRESSED",
                                                   "SKIN_COLOR_BUTTON_TEXT_MENU_ROLLEDOVER",
                                                   "SKIN_COLOR_BUTTON_TEXT_MENU_SHADOW",
                                                   "SKIN_COLOR_BUTTON_TEXT_MENU_DISABLED",
                                                   "SKIN_COLOR_CHRONO"};
    EXPECT_EQ(keys, expectedKeys);
    const std::regex colour(R"(Color\((\d+),(\d+),(\d+),(\d+)\))");
    for (const auto& [key, value] : values)
    {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(value, match, colour)) << key << " = " << value;
        for (int i = 1; i <= 4; ++i)
            EXPECT_LE(std::stoi(match[i]), 255) << key;
    }
}

TEST(GameDataManifest, NinePartFramesFitTheirLookMarginsAndJoinWithoutSeams)
{
    for (const FrameLook& look : frameLooks())
    {
        SCOPED_TRACE(look.prefix);
        auto part = [&](const char* name)
        {
            auto image = picture(kSkins + "Default\\" + look.prefix + name + ".png");
            EXPECT_TRUE(image.has_value()) << name;
            return image.value_or(Raster::Canvas(1, 1));
        };
        Raster::Canvas left = part("BordureGauche"), right = part("BordureDroite");
        Raster::Canvas top = part("BordureHaut"), bottom = part("BordureBas");
        Raster::Canvas topLeft = part("CoinHautGauche"), topRight = part("CoinHautDroit");
        Raster::Canvas bottomLeft = part("CoinBasGauche"), bottomRight = part("CoinBasDroit");
        // Each part has the size of the margins it fills.
        EXPECT_EQ(left.width(), look.left);
        EXPECT_EQ(right.width(), look.right);
        EXPECT_EQ(top.height(), look.top);
        EXPECT_EQ(bottom.height(), look.bottom);
        EXPECT_EQ(std::make_pair(topLeft.width(), topLeft.height()), std::make_pair(look.left, look.top));
        EXPECT_EQ(std::make_pair(topRight.width(), topRight.height()), std::make_pair(look.right, look.top));
        EXPECT_EQ(std::make_pair(bottomLeft.width(), bottomLeft.height()),
                  std::make_pair(look.left, look.bottom));
        EXPECT_EQ(std::make_pair(bottomRight.width(), bottomRight.height()),
                  std::make_pair(look.right, look.bottom));
        // Borders are stretched along their length: they must not change along it.
        for (int y = 1; y < left.height(); ++y)
        {
            EXPECT_LT(difference(row(left, 0), row(left, y)), 1.0f);
            EXPECT_LT(difference(row(right, 0), row(right, y)), 1.0f);
        }
        for (int x = 1; x < top.width(); ++x)
        {
            EXPECT_LT(difference(column(top, 0), column(top, x)), 1.0f);
            EXPECT_LT(difference(column(bottom, 0), column(bottom, x)), 1.0f);
        }
        // Where a corner meets a border, the edge pixels continue each other.
        const float seam = 3.0f;
        EXPECT_LT(difference(row(topLeft, topLeft.height() - 1), row(left, 0)), seam);
        EXPECT_LT(difference(row(bottomLeft, 0), row(left, 0)), seam);
        EXPECT_LT(difference(row(topRight, topRight.height() - 1), row(right, 0)), seam);
        EXPECT_LT(difference(row(bottomRight, 0), row(right, 0)), seam);
        EXPECT_LT(difference(column(topLeft, topLeft.width() - 1), column(top, 0)), seam);
        EXPECT_LT(difference(column(topRight, 0), column(top, 0)), seam);
        EXPECT_LT(difference(column(bottomLeft, bottomLeft.width() - 1), column(bottom, 0)), seam);
        EXPECT_LT(difference(column(bottomRight, 0), column(bottom, 0)), seam);
    }
}

TEST(GameDataManifest, RepeatedBackgroundsTileWithoutSeams)
{
    for (const FrameLook& look : frameLooks())
    {
        if (!look.tiled)
            continue;
        SCOPED_TRACE(look.prefix);
        auto tile = picture(kSkins + "Default\\" + look.prefix + "Fond.png");
        ASSERT_TRUE(tile.has_value());
        // The step from the last column to the first must look like any
        // step between neighbouring columns (and the same for rows).
        float typical = 0;
        for (int x = 1; x < tile->width(); ++x)
            typical = std::max(typical, difference(column(*tile, x - 1), column(*tile, x)));
        EXPECT_LE(difference(column(*tile, tile->width() - 1), column(*tile, 0)), typical * 1.5f + 0.5f);
        typical = 0;
        for (int y = 1; y < tile->height(); ++y)
            typical = std::max(typical, difference(row(*tile, y - 1), row(*tile, y)));
        EXPECT_LE(difference(row(*tile, tile->height() - 1), row(*tile, 0)), typical * 1.5f + 0.5f);
    }
}

namespace
{
// First and last rows of a glyph that hold ink; (-1, -1) when it has none.
std::pair<int, int> inkRows(const BitmapFontFile& font, unsigned char code)
{
    const auto& glyph = font.glyphs[code];
    int first = -1, last = -1;
    for (uint32_t y = 0; y < font.height; ++y)
        for (uint32_t x = 0; x < glyph.width; ++x)
            if (glyph.pixels[y * glyph.width + x] > 96)
            {
                if (first < 0)
                    first = static_cast<int>(y);
                last = static_cast<int>(y);
            }
    return {first, last};
}
} // namespace

TEST(GameDataManifest, FontsKeepAccentsAndDescendersInsideTheirHeight)
{
    for (const std::string& file : fontFiles())
    {
        auto bytes = readRessource(kImages + file);
        ASSERT_NE(bytes, nullptr);
        std::string reason;
        auto font = BitmapFontFile::parse(bytes->data(), bytes->size(), reason);
        ASSERT_TRUE(font.has_value()) << reason;
        // The accent of É stands clear above the E; the cedilla of ç and the
        // tail of g go below the c; neither is cut at the glyph's edge.
        auto capital = inkRows(*font, 'E'), accented = inkRows(*font, 0xC9);
        EXPECT_LE(accented.first, capital.first - 2) << file;
        EXPECT_GT(accented.first, 0) << file << ": the accent touches the top";
        auto plain = inkRows(*font, 'c'), cedilla = inkRows(*font, 0xE7), tail = inkRows(*font, 'g');
        EXPECT_GE(cedilla.second, plain.second + 2) << file;
        EXPECT_GE(tail.second, plain.second + 2) << file;
        EXPECT_LT(tail.second, static_cast<int>(font->height) - 0) << file;
    }
}

TEST(GameDataManifest, FontsFollowTheBitmapFontRules)
{
    const int heights[] = {20, 24, 32, 40};
    for (size_t i = 0; i < fontFiles().size(); ++i)
    {
        SCOPED_TRACE(fontFiles()[i]);
        auto bytes = readRessource(kImages + fontFiles()[i]);
        ASSERT_NE(bytes, nullptr);
        std::string reason;
        auto font = BitmapFontFile::parse(bytes->data(), bytes->size(), reason);
        ASSERT_TRUE(font.has_value()) << reason;
        EXPECT_EQ(font->height, static_cast<uint32_t>(heights[i]))
            << "the line height is the size in the name";
        EXPECT_TRUE(font->glyphs[0].present) << "glyph 0 is the default glyph";
        for (const auto& glyph : font->glyphs)
        {
            if (glyph.present)
            {
                EXPECT_GT(glyph.width, 0u);
            }
        }
    }
}

TEST(GameDataManifest, FontsCoverEveryCharacterOfTheFrenchTexts)
{
    std::ifstream in(VELMORIQUE_FRENCH_TEXTS);
    ASSERT_TRUE(in.good());
    std::set<unsigned char> used;
    std::string line;
    while (std::getline(in, line))
    {
        std::string text = Platform::utf8ToCp1252(line);
        // A character without a Windows-1252 form would come out as '?'.
        EXPECT_EQ(std::count(text.begin(), text.end(), '?'), std::count(line.begin(), line.end(), '?'))
            << line;
        for (unsigned char c : text)
            used.insert(c);
    }
    ASSERT_TRUE(used.count(0x92) && used.count(0x9C) && used.count(0xAB) && used.count(':'));
    for (const std::string& file : fontFiles())
    {
        auto bytes = readRessource(kImages + file);
        ASSERT_NE(bytes, nullptr);
        std::string reason;
        auto font = BitmapFontFile::parse(bytes->data(), bytes->size(), reason);
        ASSERT_TRUE(font.has_value()) << reason;
        for (unsigned char c : used)
        {
            const auto& glyph = font->glyphs[c];
            ASSERT_TRUE(glyph.present) << file << " has no glyph for code " << int(c);
            bool inked =
                std::any_of(glyph.pixels.begin(), glyph.pixels.end(), [](uint8_t p) { return p > 128; });
            EXPECT_EQ(inked, c != ' ' && c != 0xA0) << file << " code " << int(c);
        }
        // Every printable Windows-1252 code, so that any text of lang.ini shows.
        for (int c = 0x20; c < 0x100; ++c)
        {
            if (c != 0x7F && Platform::cp1252ToCodePoint(static_cast<unsigned char>(c)) != 0)
            {
                EXPECT_TRUE(font->glyphs[c].present) << file << " code " << c;
            }
        }
    }
}

TEST(GameDataManifest, ButtonStatesLookDifferent)
{
    // Every look state must be told apart at a glance: each pair of state
    // pictures of a button differs clearly.
    std::vector<std::pair<std::string, std::vector<std::string>>> families;
    auto add = [&](const std::string& prefix, bool disabled)
    {
        std::vector<std::string> states = {"Pressed", "Released", "RolledOver"};
        if (disabled)
            states.push_back("Disabled");
        families.push_back({prefix, states});
    };
    for (const char* button :
         {"ComboBoxButton", "boutonTutorialNext", "LiftButtonUp", "LiftButtonDown", "LiftButtonLeft",
          "LiftButtonRight", "LiftSonsCarret", "videoControlButton1", "videoControlButton5"})
        add(button, false);
    for (const char* board : {"angle", "point", "retour", "liste", "bulle"})
        add(board, true);
    for (int n = 1; n <= 11; ++n)
        add("boutonMenu" + std::to_string(n), n == 3 || n == 4 || n == 10);
    families.push_back({"checkBox",
                        {"CheckedPressed", "UncheckedPressed", "CheckedReleased", "UncheckedReleased",
                         "CheckedRolledOver", "UncheckedRolledOver"}});
    families.push_back({"checkboxHard",
                        {"CheckedPressed", "UncheckedPressed", "CheckedReleased", "UncheckedReleased",
                         "CheckedRolledOver", "UncheckedRolledOver"}});
    for (const auto& [prefix, states] : families)
    {
        std::vector<Raster::Canvas> pictures;
        for (const std::string& state : states)
        {
            auto image = picture(kSkins + "Default\\" + prefix + state + ".png");
            ASSERT_TRUE(image.has_value()) << prefix << state;
            pictures.push_back(*image);
        }
        for (size_t a = 0; a < pictures.size(); ++a)
            for (size_t b = a + 1; b < pictures.size(); ++b)
            {
                ASSERT_EQ(pictures[a].width(), pictures[b].width()) << prefix;
                ASSERT_EQ(pictures[a].height(), pictures[b].height()) << prefix;
                float sum = 0;
                for (int y = 0; y < pictures[a].height(); ++y)
                    sum += difference(row(pictures[a], y), row(pictures[b], y));
                EXPECT_GT(sum / pictures[a].height(), 2.0f) << prefix << states[a] << " and " << states[b];
            }
    }
}

TEST(GameDataManifest, HelpPagesLeaveTheCornerOfTheNextButtonFree)
{
    // The help window puts its 121 x 64 button at (880, 671) over both pages:
    // no writing may lie under it.
    for (const char* page : {"TutorialPage1.jpg", "TutorialPage2.jpg"})
    {
        auto image = picture(kImages + page);
        ASSERT_TRUE(image.has_value());
        float darkest = 1;
        for (int y = 671; y < 671 + 64; ++y)
            for (int x = 880; x < 880 + 121; ++x)
            {
                Raster::Color c = image->colorAt(x, y);
                darkest = std::min(darkest, 0.3f * c.r + 0.59f * c.g + 0.11f * c.b);
            }
        EXPECT_GT(darkest, 0.4f) << page;
    }
}

TEST(GameDataManifest, OverlayAndCursorFitHowTheGameDrawsThem)
{
    // cadre.png is drawn over the whole 3D board view: its middle must be
    // clear so that the board shows through.
    auto overlay = picture(kSkins + "Default\\cadre.png");
    ASSERT_TRUE(overlay.has_value());
    float alpha = 0;
    int count = 0;
    for (int y = 200; y < 660; y += 2)
        for (int x = 150; x < 874; x += 2, ++count)
            alpha += overlay->colorAt(x, y).a;
    EXPECT_LT(alpha / count, 0.02f);
    // Behind the clock and the turn label (white text at (465, 117) and
    // (465, 145), 108 x 24) the overlay is solid and dark.
    for (int y = 117; y < 169; y += 4)
        for (int x = 465; x < 573; x += 4)
        {
            Raster::Color c = overlay->colorAt(x, y);
            EXPECT_GT(c.a, 0.9f) << x << "," << y;
            EXPECT_LT(0.3f * c.r + 0.59f * c.g + 0.11f * c.b, 0.5f) << x << "," << y;
        }
    // The cursor's hot spot is its top-left pixel: the arrow's tip is there.
    auto cursor = picture(kImages + "mouse.png");
    ASSERT_TRUE(cursor.has_value());
    EXPECT_GT(cursor->colorAt(1, 1).a, 0.5f);
    EXPECT_LT(cursor->colorAt(cursor->width() - 2, 1).a, 0.1f);
}

TEST(GameDataManifest, HelpStatesTheRuleTheGamePlaysForASideWithoutAMove)
{
    // The game ends there and then: the side to move with no legal move
    // loses. No menu entry lets a player resign.
    const char* source = std::getenv("VELMORIQUE_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    std::ifstream in(std::string(source) + "/assets/help/page2.txt");
    ASSERT_TRUE(in.good());
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t section = text.find("## Quand on ne peut plus jouer");
    ASSERT_NE(section, std::string::npos);
    std::string paragraph = text.substr(section, text.find("\n#", section + 1) - section);
    EXPECT_NE(paragraph.find("perd la partie"), std::string::npos) << paragraph;
    EXPECT_EQ(paragraph.find("abandonner"), std::string::npos) << paragraph;
    EXPECT_EQ(paragraph.find("ne termine pas"), std::string::npos) << paragraph;
}

TEST(GameDataManifest, TutorialAdvisorsTopIsPlainScrollWithoutATitleBand)
{
    // The advisor has no title: below its rod, the top border is the scroll
    // itself, not a coloured band left empty.
    auto top = picture(kSkins + "Default\\cadreTutorialBordureHaut.png");
    auto middle = picture(kSkins + "Default\\cadreTutorialFond.png");
    ASSERT_TRUE(top.has_value() && middle.has_value());
    std::vector<Raster::Color> scroll = column(*middle, 0);
    for (int y = 24; y < top->height(); ++y)
        EXPECT_LT(difference({top->colorAt(0, y)}, {scroll[static_cast<size_t>(y) % scroll.size()]}), 3.0f)
            << "row " << y;
}

TEST(GameDataManifest, LargeDialogsKeepTheirRoofOnScreenAndTheirBaseOffTheLogo)
{
    // The tallest dialogs (400 client pixels, the saved-games, join and
    // waiting windows) come out 775 high and are centred 3 pixels above the
    // screen; at 775 wide their frame starts 124 pixels in, where the
    // publisher's logo (180 x 56 at 4 pixels from the corner) lies under it.
    for (const char* part : {"CoinHautGauche", "BordureHaut", "CoinHautDroit"})
    {
        auto image = picture(kSkins + "Default\\fenetreChinoise" + std::string(part) + ".png");
        ASSERT_TRUE(image.has_value()) << part;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < image->width(); ++x)
                ASSERT_LT(image->colorAt(x, y).a, 0.1f) << part << " (" << x << ", " << y << ")";
    }
    auto corner = picture(kSkins + "Default\\fenetreChinoiseCoinBasGauche.png");
    ASSERT_TRUE(corner.has_value());
    // What the logo shows, in the corner part's coordinates: the dialog
    // spans x 124..899 and y -3..772.
    auto logo = picture(kImages + "logoLorvanta.png");
    ASSERT_TRUE(logo.has_value());
    int shownRight = 0;
    for (int y = 0; y < logo->height(); ++y)
        for (int x = 0; x < logo->width(); ++x)
            if (logo->colorAt(x, y).a > 0.1f)
                shownRight = std::max(shownRight, x + 1);
    const int cornerTop = 772 - corner->height();
    const int logoTop = 768 - 4 - logo->height() - cornerTop, logoBottom = 768 - 4 - cornerTop;
    const int logoRight = 4 + shownRight - 124;
    for (int y = std::max(0, logoTop); y < std::min(logoBottom, corner->height()); ++y)
        for (int x = 0; x < logoRight; ++x)
            ASSERT_LT(corner->colorAt(x, y).a, 0.6f) << "(" << x << ", " << y << ")";
}
