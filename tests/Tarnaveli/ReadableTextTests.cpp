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

double luminance(const Colour& c)
{
    auto linear = [](double v)
    { return v / 255 <= 0.03928 ? v / 255 / 12.92 : std::pow((v / 255 + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

double contrast(uint32_t text, const Colour& back)
{
    double a = luminance({double((text >> 16) & 0xFF), double((text >> 8) & 0xFF), double(text & 0xFF)});
    double b = luminance(back);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The mean colour of a picture the build generates, times a tint.
Colour meanColour(const std::string& gamePath, uint32_t tint)
{
    Platform::setProgramDirectory(std::string(VELMORIQUE_BUILD_DIR) + "/");
    DecodedImagePtr image(
        convertImage(openImageByName(gamePath.c_str(), IMAGE_FORMAT_AUTODETECT), PIXEL_FORMAT_R8G8B8A8));
    EXPECT_NE(image, nullptr) << gamePath;
    double sum[3] = {0, 0, 0};
    const int32_t count = image != nullptr ? image->getWidth() * image->getHeight() : 0;
    for (int32_t i = 0; i < count; ++i)
        for (int c = 0; c < 3; ++c)
            sum[c] += image->getPixels()[4 * i + c];
    auto mean = [&](int c, int shift)
    { return count == 0 ? 0.0 : sum[c] / count * ((tint >> shift) & 0xFF) / 255; };
    return {mean(0, 16), mean(1, 8), mean(2, 0)};
}
} // namespace

TEST(ReadableText, ChatLinesOfEveryKindReadOnTheChatList)
{
    // The lists' background picture (the default list look's content frame).
    std::string picture;
    for (const SkinTextureEntry& entry : skinTextureTable())
        if (entry.id == 38)
            picture = "data\\Ressources\\skins\\Default\\" + entry.file;
    const Colour background = meanColour(picture, ChatPanel::kListTint);
    for (uint32_t line : {ChatPanel::kRemoteColor, ChatPanel::kLocalColor, GameScreen::kChatLogColor})
        EXPECT_GE(contrast(line, background), 3.0) << std::hex << line;
}

TEST(ReadableText, SelectedTextReadsOnItsSelectionBox)
{
    // Black field and list text turns white over the caret's picture.
    const Colour box =
        meanColour(std::string("data\\Ressources\\images\\") + imageFiles()[IMAGE_CURSOR], 0xFFFFFFFF);
    EXPECT_GE(contrast(0xFF000000 ^ 0x00FFFFFF, box), 3.0);
}
