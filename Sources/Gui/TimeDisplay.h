#pragma once
// A clock drawn as digit pictures, h:mm:ss or mm:ss: each character is the
// font's own picture for it, scaled to the clock's inner height and centred in
// a slot as wide as the widest digit, so the clock does not jitter as the
// digits change. It can follow a timer by itself.
#include "Engine/Image2D.h"
#include "Framework/Timer.h"
#include "Gui/Container.h"
#include "Gui/Text.h"

#include <array>
#include <memory>
#include <string>

// One character's picture: a rectangle of texels of a texture.
struct CharPicture
{
    Texture* texture = nullptr;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// A font that hands out its character pictures as rectangles of shared
// textures; the bitmap fonts of the font table give one texture per glyph
// instead, which the clock reads directly.
class CharPictureSource
{
public:
    virtual ~CharPictureSource() = default;
    // A picture of zero size when the font has none for that code.
    virtual CharPicture getCharPicture(uint8_t code) = 0;
};

class TimeDisplay : public Container
{
public:
    static constexpr int CHAR_COUNT = 8;

    // A null font is font 0 of the application's font table; the timer, when
    // given, is followed each frame and stays the caller's.
    TimeDisplay(const Rect& rect, Timer* timer, uint32_t color, Font* font, uint32_t lookId);
    ~TimeDisplay() override;

    ErrorCode render() override;
    void updateLayout() override;
    void animate() override;
    void setRenderList(RenderList* list) override;
    void setColor(uint32_t argb) override;

    // Redraws only when the time differs from the one shown.
    void setTime(uint32_t ms);
    void showHours(bool show);

    uint32_t getTime() const { return mTime; }
    // The characters shown, "01:02:03" or "02:03".
    std::string getShownText() const;
    // Where character slot i (0..7, hour tens first) is drawn.
    Rect getCharRect(int i) const { return mCharRects[static_cast<size_t>(i)]; }
    uint32_t getDigitSlotWidth() const { return mDigitSlotWidth; }
    uint32_t getColonSlotWidth() const { return mColonSlotWidth; }
    uint32_t getDigitHeight() const { return mDigitHeight; }
    Image2D* getImage(int i) const { return mImages[static_cast<size_t>(i)].get(); }

private:
    CharPicture pictureOf(uint8_t code) const;
    // Width of a picture scaled to the digit height.
    uint32_t scaledWidth(const CharPicture& picture) const;
    void layoutChars();

    std::array<std::unique_ptr<Image2D>, CHAR_COUNT> mImages;
    std::array<Rect, CHAR_COUNT> mCharRects{};
    std::array<char, CHAR_COUNT> mChars{};
    uint32_t mTime = 0;
    uint32_t mDigitSlotWidth = 0;
    uint32_t mColonSlotWidth = 0;
    uint32_t mDigitHeight = 0;
    Timer* mTimer;
    Font* mFont;
    CharPictureSource* mPictures;
    bool mShowHours = true;
};
