// Text that must read on what the skin puts behind it: chat lines on the
// chat list, selected text over its selection box. Contrast is measured as
// the ratio of relative luminances (sRGB), against the mean colour of the
// picture the build generates, tinted as the widget draws it.
#include "ImageCodec/DecodedImage.h"
#include "ImageCodec/ImageLibrary.h"
#include "Platform/System/Paths.h"
#include "Tarnaveli/ChatPanel.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/StartupTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace
{
struct Colour
{
    double r, g, b;
};

double channel(double value)
{
    double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const Colour& c)
{
    return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
}

double contrast(const Colour& a, const Colour& b)
{
    double la = luminance(a);
    double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Colour argb(uint32_t c)
{
    return {double((c >> 16) & 0xFF), double((c >> 8) & 0xFF), double(c & 0xFF)};
}

// The mean colour of a generated picture's opaque texels, times a tint.
Colour meanColour(const std::string& gamePath, uint32_t tint)
{
    Platform::setProgramDirectory(std::string(VELMORIQUE_BUILD_DIR) + "/");
    DecodedImagePtr image(openImageByName(gamePath.c_str(), IMAGE_FORMAT_AUTODETECT));
    EXPECT_NE(image, nullptr) << gamePath;
    if (image == nullptr)
        return {};
    image.reset(convertImage(image.release(), PIXEL_FORMAT_R8G8B8A8));
    Colour sum{0, 0, 0};
    double count = 0;
    const uint8_t* p = image->getPixels();
    for (int32_t i = 0; i < image->getWidth() * image->getHeight(); ++i, p += 4)
    {
        if (p[3] < 128)
            continue;
        sum.r += p[0];
        sum.g += p[1];
        sum.b += p[2];
        ++count;
    }
    EXPECT_GT(count, 0) << gamePath;
    if (count == 0)
        return {};
    Colour t = argb(tint);
    return {sum.r / count * t.r / 255, sum.g / count * t.g / 255, sum.b / count * t.b / 255};
}

std::string skinPicture(uint32_t id)
{
    for (const SkinTextureEntry& entry : skinTextureTable())
        if (entry.id == id)
            return "data\\Ressources\\skins\\Default\\" + entry.file;
    return {};
}
} // namespace

TEST(ReadableText, ChatLinesOfEveryKindReadOnTheChatList)
{
    // The lists' background picture (the default list look's content frame).
    const Colour background = meanColour(skinPicture(38), ChatPanel::kListTint);
    for (uint32_t line : {ChatPanel::kRemoteColor, ChatPanel::kLocalColor, GameScreen::kChatLogColor})
        EXPECT_GE(contrast(argb(line), background), 3.0) << std::hex << line;
}

TEST(ReadableText, SelectedTextReadsOnItsSelectionBox)
{
    // Black field and list text turns white over the caret's picture.
    const Colour box =
        meanColour(std::string("data\\Ressources\\images\\") + imageFiles()[IMAGE_CURSOR], 0xFFFFFFFF);
    EXPECT_GE(contrast(argb(0xFF000000 ^ 0x00FFFFFF), box), 3.0);
}
