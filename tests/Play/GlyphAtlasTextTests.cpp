// The fonts draw their glyphs from one atlas texture each: the menus' texts
// must look exactly as they did with a texture per glyph.
#include "Journeys.h"
#include "PlayChecks.h"

#include "Engine2DD3D/EngineComponent.h"
#include "Gui/Font.h"
#include "Tarnaveli/MenuVideoWindow.h"
#include "Tarnaveli/WindowMenu.h"
#include "Tarnaveli/WindowOption.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace Play;

namespace
{
// Turns the glyph atlas off for the fonts loaded in its scope.
struct GlyphTexturesOfTheirOwn
{
    GlyphTexturesOfTheirOwn() { BitmapFont::setGlyphAtlasUsed(false); }
    ~GlyphTexturesOfTheirOwn() { BitmapFont::setGlyphAtlasUsed(true); }
};

// The main menu over its still picture (the video stopped, so that two runs
// show the same frame), then the options window over it.
std::vector<Frame> menuFrames(Driver& driver)
{
    std::vector<Frame> frames;
    if (reachMainMenu(driver) == nullptr)
        return frames;
    if (MenuVideoWindow* video = MenuVideoWindow::current(); video != nullptr && video->getVideo() != nullptr)
        video->getVideo()->stop();
    driver.settle(10);
    frames.push_back(driver.readFrame());
    if (fromMainMenu<WindowOption>(driver, WindowMenu::OPTIONS) == nullptr)
        return frames;
    driver.settle(20);
    frames.push_back(driver.readFrame());
    return frames;
}

// Pixels with a channel more than one step apart.
size_t differences(const Frame& a, const Frame& b)
{
    size_t count = 0;
    for (size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i)
        for (int shift = 0; shift < 32; shift += 8)
            if (std::abs(int((a.pixels[i] >> shift) & 0xFF) - int((b.pixels[i] >> shift) & 0xFF)) > 1)
            {
                ++count;
                break;
            }
    return count;
}
} // namespace

TEST(PlayGlyphAtlas, MenuAndOptionsTextsLookAsWithATexturePerGlyph)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    const std::vector<Frame> atlas = menuFrames(driver);
    ASSERT_EQ(atlas.size(), 2u) << "the options window did not open";
    driver.stop();

    std::vector<Frame> own;
    {
        GlyphTexturesOfTheirOwn glyphs;
        Driver again(driver.folder());
        own = menuFrames(again);
    }
    ASSERT_EQ(own.size(), 2u);
    EXPECT_NE(atlas[0].pixels, atlas[1].pixels) << "the options window changed nothing";
    EXPECT_EQ(differences(atlas[0], own[0]), 0u) << "main menu";
    EXPECT_EQ(differences(atlas[1], own[1]), 0u) << "options window";
}
