#pragma once
// A 2D engine for widget tests whose images and moving sheets remember what
// they were given, textures of a chosen size, and a font that has a picture
// per character.
#include "../Engine/FakeResource.h"
#include "Gui/TimeDisplay.h"
#include "GuiTestSupport.h"

#include <map>

class DrawnProbeImage final : public Image2D
{
public:
    DrawnProbeImage(float x, float y, Texture* texture, uint32_t flags, float width, float height,
                    uint32_t color, RenderList* renderList)
        : Image2D(x, y, texture, flags, width, height, color, renderList)
    {
        if (texture != nullptr)
            setTexture(texture);
    }
    ErrorCode draw() override
    {
        ++draws;
        return 0;
    }
    ErrorCode update() override { return 0; }
    int draws = 0;
};

class DrawnProbeSheet final : public SheetMove
{
public:
    void update(float t) override { progress = t; }
    void draw() override { ++draws; }
    float progress = -1.0f;
    int draws = 0;
};

class DrawnProbeEngine2D final : public StubEngine2D
{
public:
    std::unique_ptr<Image2D> createImage(float x, float y, Texture* texture, uint32_t flags, float width,
                                         float height, uint32_t color, RenderList* list) override
    {
        auto image = std::make_unique<DrawnProbeImage>(x, y, texture, flags, width, height, color, list);
        images.push_back(image.get());
        return image;
    }
    std::unique_ptr<SheetMove> createGridSheetMove() override
    {
        auto sheet = std::make_unique<DrawnProbeSheet>();
        lastSheet = sheet.get();
        return sheet;
    }
    uint32_t getOpeningEffectCount() override { return 0; }

    // Not owned: the widgets own their images.
    std::vector<DrawnProbeImage*> images;
    DrawnProbeSheet* lastSheet = nullptr;
};

// Installs the drawing engine in the application (replacing the silent one).
inline DrawnProbeEngine2D& useDrawingEngine(GuiTestApplication& app)
{
    auto engine = std::make_unique<DrawnProbeEngine2D>();
    DrawnProbeEngine2D& result = *engine;
    app.setService(std::move(engine));
    return result;
}

inline std::unique_ptr<FakeResource> makeTexture(uint32_t width, uint32_t height)
{
    return std::make_unique<FakeResource>(nullptr, width, height, uint16_t{0x300});
}

// A font with one picture per character on a shared texture: digits are
// digitWidth wide, the colon colonWidth, everything pictureHeight high;
// characters outside the map have no picture (code 0 is the default one).
class DrawnPictureFont final : public Font, public CharPictureSource
{
public:
    DrawnPictureFont(int32_t digitWidth, int32_t colonWidth, int32_t pictureHeight, int32_t spacing)
        : mTexture(makeTexture(256, 256)), mSpacing(spacing)
    {
        for (uint8_t c = '0'; c <= '9'; ++c)
            pictures[c] = {mTexture.get(), (c - '0') * digitWidth, 0, digitWidth, pictureHeight};
        pictures[':'] = {mTexture.get(), 200, 0, colonWidth, pictureHeight};
        pictures[0] = {mTexture.get(), 0, 100, 5, pictureHeight};
    }
    bool isLoaded() const override { return true; }
    ErrorCode load() override { return 0; }
    std::unique_ptr<Text2D> createText(int32_t x, int32_t y, int32_t width, const std::string& text,
                                       uint32_t color, int32_t size, uint32_t) override
    {
        return std::make_unique<FakeText>(x, y, width, text, color, size > 0 ? size : 11);
    }
    bool hasChar(uint8_t c) override { return pictures.count(c) != 0; }
    int32_t getLineHeight() const override { return 11; }
    CharPicture getCharPicture(uint8_t code) override
    {
        auto found = pictures.find(code);
        return found != pictures.end() ? found->second : CharPicture{};
    }
    int32_t getLetterSpacing() override { return mSpacing; }

    std::map<uint8_t, CharPicture> pictures;

private:
    std::unique_ptr<FakeResource> mTexture;
    int32_t mSpacing;
};
