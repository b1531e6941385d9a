#include "Gui/Font.h"

#include "Engine/Engine2D.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/ErrorText.h"
#include "Framework/FileLookup.h"
#include "Framework/LangTable.h"
#include "Framework/Messages.h"
#include "Framework/Text1252Literal.h"
#include "Gui/Skin.h"
#include "Platform/Gpu/TextureLimits.h"
#include "Platform/System/ByteReader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace
{
BitmapFont::FatalHandler& fatalHandler()
{
    static BitmapFont::FatalHandler handler;
    return handler;
}

bool gGlyphAtlasUsed = true;

void endProgram(int exitCode)
{
    if (fatalHandler())
        fatalHandler()(exitCode);
    else
        std::exit(exitCode);
}

void reportFatal(ErrorCode code, const std::string& what)
{
    // Text 7 reads two strings; a language file may only replace it by a
    // text that reads the same. Before the language file is read (the fonts
    // load early) the built-in text still names what failed.
    ApplicationGeneric* application = getApplication();
    LangTable* table = application != nullptr ? application->getLangTable() : nullptr;
    const std::string format =
        table != nullptr && table->isLoaded() ? getLangText(LANG_FATAL_ERROR) : "Erreure fatale %s : %s";
    showMessage(format.c_str(), errorCodeToText(code).c_str(), what.c_str());
}

bool readU32(InputStream& stream, uint32_t& value)
{
    uint8_t bytes[4];
    if (stream.bytesLeft() < 4 || stream.transfer(bytes, 4) != 0)
        return false;
    value = Platform::ByteReader(bytes).u32();
    return true;
}
} // namespace

ErrorCode GlyphTable::read(InputStream& stream)
{
    *this = GlyphTable();
    uint32_t tableSize = 0;
    uint32_t fileHeight = 0;
    uint32_t count = 0;
    uint32_t spacing[2] = {0, 0};
    if (!readU32(stream, tableSize) || tableSize != kTableSize || !readU32(stream, spacing[0]) ||
        !readU32(stream, spacing[1]) || !readU32(stream, count) || !readU32(stream, fileHeight) ||
        fileHeight > kMaxGlyphSide)
        return ERROR_FILEIO_INVALIDFILE;
    GlyphTable table;
    table.height = fileHeight;
    table.lineSpacing = static_cast<int32_t>(spacing[0]);
    table.letterSpacing = static_cast<int32_t>(spacing[1]);
    for (uint32_t i = 0; i < count; ++i)
    {
        uint32_t code = 0;
        uint32_t width = 0;
        if (!readU32(stream, code) || code >= kTableSize || !readU32(stream, width) || width > kMaxGlyphSide)
            return ERROR_FILEIO_INVALIDFILE;
        const uint64_t size = uint64_t{width} * fileHeight;
        if (size > stream.bytesLeft())
            return ERROR_FILEIO_INVALIDFILE;
        std::vector<uint8_t> pixels(static_cast<size_t>(size));
        if (size != 0 && stream.transfer(pixels.data(), static_cast<uint32_t>(size)) != 0)
            return ERROR_FILEIO_INVALIDFILE;
        table.setGlyph(static_cast<uint8_t>(code), width, std::move(pixels));
    }
    *this = std::move(table);
    return 0;
}

ErrorCode GlyphTable::write(OutputStream& stream) const
{
    uint32_t count = 0;
    for (const Glyph& glyph : mGlyphs)
        count += glyph.pixels.empty() ? 0 : 1;
    uint32_t header[5] = {kTableSize, static_cast<uint32_t>(lineSpacing),
                          static_cast<uint32_t>(letterSpacing), count, height};
    for (uint32_t& value : header)
    {
        if (ErrorCode code = stream.transfer(&value, 4))
            return code;
    }
    for (uint32_t code = 0; code < kTableSize; ++code)
    {
        const Glyph& glyph = mGlyphs[code];
        if (glyph.pixels.empty())
            continue;
        uint32_t record[2] = {code, glyph.width};
        std::vector<uint8_t> pixels = glyph.pixels;
        if (ErrorCode error = stream.transfer(record, 8))
            return error;
        if (ErrorCode error = stream.transfer(pixels.data(), static_cast<uint32_t>(pixels.size())))
            return error;
    }
    return 0;
}

void GlyphTable::setGlyph(uint8_t code, uint32_t width, std::vector<uint8_t> pixels)
{
    Glyph& glyph = mGlyphs[code];
    if (glyph.pixels.empty() && !pixels.empty())
        ++glyphCount;
    else if (!glyph.pixels.empty() && pixels.empty())
        --glyphCount;
    glyph.width = width;
    glyph.pixels = std::move(pixels);
}

void BitmapFont::setFatalHandler(FatalHandler handler)
{
    fatalHandler() = std::move(handler);
}

void BitmapFont::setGlyphAtlasUsed(bool used)
{
    gGlyphAtlasUsed = used;
}

BitmapFont::BitmapFont(const std::string& fileName, Texture* caretTexture)
    : Font(0, 0, caretTexture), mFileName(fileName)
{
    for (uint32_t code = 0; code < GlyphTable::kTableSize; ++code)
        mCharMap[code] = static_cast<uint8_t>(code);
    std::unique_ptr<InputStream> stream;
    ErrorCode code = openDataFile(fileName, stream);
    if (code == 0)
        code = mGlyphTable.read(*stream);
    if (code != 0)
    {
        reportFatal(code, "Police introuvable");
        endProgram(1);
        return;
    }
    mLineSpacing = mGlyphTable.lineSpacing;
    mLetterSpacing = mGlyphTable.letterSpacing;
    mLineHeight = static_cast<int32_t>(mGlyphTable.height);
    for (uint32_t glyph = 0; glyph < GlyphTable::kTableSize; ++glyph)
    {
        if (mGlyphTable.hasGlyph(static_cast<uint8_t>(glyph)))
            mMaxGlyphWidth =
                std::max(mMaxGlyphWidth,
                         static_cast<int32_t>(mGlyphTable.getGlyph(static_cast<uint8_t>(glyph)).width));
    }
}

BitmapFont::BitmapFont(const std::string& pattern, int32_t lineSpacing, int32_t letterSpacing,
                       Texture* caretTexture, bool loadAsIs)
    : Font(lineSpacing, letterSpacing, caretTexture), mFileName(pattern), mPictureMode(true),
      mLoadAsIs(loadAsIs)
{
    for (uint32_t code = 0; code < GlyphTable::kTableSize; ++code)
        mCharMap[code] = static_cast<uint8_t>(code);
}

BitmapFont::~BitmapFont()
{
    releaseTextures();
}

void BitmapFont::releaseTextures()
{
    for (Texture*& texture : mGlyphTextures)
    {
        if (texture == nullptr)
            continue;
        texture->unload();
        texture->release();
        texture = nullptr;
    }
    mLoaded = false;
}

ErrorCode BitmapFont::load()
{
    Engine2D* engine = findEngine2D();
    if (engine == nullptr)
        return ERROR_INVALID;
    releaseTextures();
    if (mPictureMode)
        return loadPictures(*engine);
    bool made = false;
    if (ErrorCode error = loadAtlas(*engine, made))
        return error;
    if (made)
    {
        mLoaded = true;
        return 0;
    }
    return loadGlyphTextures(*engine);
}

ErrorCode BitmapFont::loadAtlas(Engine2D& engine, bool& made)
{
    made = false;
    if (!gGlyphAtlasUsed || !mAtlas.pack(mGlyphTable, Platform::Gpu::MAX_TEXTURE_SIDE))
        return 0;
    // Each glyph's texture holds a reference to the atlas; the font's own
    // goes once they are made.
    Texture* atlas =
        engine.createTextureFromPixels(mAtlas.getWidth(), mAtlas.getHeight(), mAtlas.getPixels().data(),
                                       Texture::FLAG_PIXELS_ALPHA8 | Texture::FLAG_SINGLE_LEVEL, 0xFFFFFFFF);
    if (atlas == nullptr)
    {
        mAtlas.clear();
        return 0;
    }
    for (uint32_t code = 0; code < GlyphTable::kTableSize && atlas != nullptr; ++code)
    {
        const ResourceRect& rect = mAtlas.getRect(static_cast<uint8_t>(code));
        if (rect.width == 0)
            continue;
        mGlyphTextures[code] = engine.createTextureRegion(atlas, rect);
        if (mGlyphTextures[code] == nullptr)
        {
            atlas->release();
            atlas = nullptr;
        }
    }
    if (atlas == nullptr)
    {
        releaseTextures();
        mAtlas.clear();
        return 0;
    }
    atlas->release();
    made = true;
    // The first glyph loads the atlas; the others only count.
    for (Texture* texture : mGlyphTextures)
    {
        if (texture == nullptr)
            continue;
        if (ErrorCode error = texture->load())
        {
            // The glyphs not loaded yet refuse their unload.
            releaseTextures();
            return error;
        }
    }
    return 0;
}

ErrorCode BitmapFont::loadGlyphTextures(Engine2D& engine)
{
    for (uint32_t code = 0; code < GlyphTable::kTableSize; ++code)
    {
        const GlyphTable::Glyph& glyph = mGlyphTable.getGlyph(static_cast<uint8_t>(code));
        if (glyph.pixels.empty())
            continue;
        // White texels whose alpha is the glyph's byte; the pixels stay the
        // table's for as long as the texture may load again.
        Texture* texture = engine.createTextureFromPixels(
            glyph.width, mGlyphTable.height, glyph.pixels.data(), Texture::FLAG_PIXELS_ALPHA8, 0xFFFFFFFF);
        if (texture == nullptr)
        {
            releaseTextures();
            return ERROR_INVALID;
        }
        if (ErrorCode error = texture->load())
        {
            texture->release();
            releaseTextures();
            return error;
        }
        mGlyphTextures[code] = texture;
    }
    mLoaded = true;
    return 0;
}

ErrorCode BitmapFont::loadPictures(Engine2D& engine)
{
    bool first = true;
    for (uint32_t code = 0; code < GlyphTable::kTableSize; ++code)
    {
        char name[1024];
        std::snprintf(name, sizeof(name), mFileName.c_str(), static_cast<int>(code));
        if (!dataFileExists(name))
            continue;
        uint16_t flags = mLoadAsIs ? 0 : (Texture::FLAG_ALPHA_FROM_BRIGHTNESS | Texture::FLAG_NEGATIVE);
        Texture* texture = engine.getTextureByName(name, flags);
        if (texture == nullptr)
            continue;
        if (ErrorCode error = texture->load())
        {
            texture->release();
            releaseTextures();
            return error;
        }
        mGlyphTextures[code] = texture;
        if (first)
            mLineHeight = static_cast<int32_t>(texture->getHeight());
        first = false;
        mMaxGlyphWidth = std::max(mMaxGlyphWidth, static_cast<int32_t>(texture->getWidth()));
    }
    if (mGlyphTextures[0] == nullptr)
    {
        showMessage("%s",
                    TEXT_1252("Le caractère 0 de la police doit etre présent. Il est utilisé comme caractère "
                              "par défaut."));
        endProgram(1);
        return ERROR_INVALID;
    }
    mLoaded = true;
    return 0;
}

std::unique_ptr<Text2D> BitmapFont::createText(int32_t x, int32_t y, int32_t width, const std::string& text,
                                               uint32_t color, int32_t size, uint32_t flags)
{
    if (!mLoaded)
    {
        if (ErrorCode code = load())
        {
            reportFatal(code, "Impossible de charger la police " + mFileName);
            endProgram(1);
        }
    }
    return std::make_unique<Text2DView>(x, y, width, text, this, color, size, flags);
}

uint8_t BitmapFont::drawnGlyph(uint8_t code) const
{
    uint8_t glyph = mCharMap[code];
    if (mPictureMode)
        return mGlyphTextures[glyph] != nullptr ? glyph : 0;
    return mGlyphTable.hasGlyph(glyph) ? glyph : 0;
}

bool BitmapFont::hasChar(uint8_t code)
{
    return mGlyphTextures[mCharMap[code]] != nullptr;
}

void BitmapFont::setAccentFallbacks()
{
    static const struct
    {
        uint8_t letter;
        const char* accented;
    } kFallbacks[] = {{'a', TEXT_1252("àâä")}, {'c', TEXT_1252("ç")},  {'e', TEXT_1252("èéêë")},
                      {'i', TEXT_1252("îï")},  {'o', TEXT_1252("ôö")}, {'u', TEXT_1252("ùûü")},
                      {'y', TEXT_1252("ÿ")}};
    for (const auto& fallback : kFallbacks)
    {
        for (const char* c = fallback.accented; *c != 0; ++c)
            mCharMap[static_cast<uint8_t>(*c)] = fallback.letter;
    }
}

ErrorCode BitmapFont::writeGlyphs(OutputStream& stream) const
{
    return mGlyphTable.write(stream);
}

Texture* BitmapFont::getGlyphTexture(uint8_t code) const
{
    Texture* texture = mGlyphTextures[mCharMap[code]];
    return texture != nullptr ? texture : mGlyphTextures[0];
}

int32_t BitmapFont::getGlyphWidth(uint8_t code) const
{
    if (mPictureMode)
    {
        Texture* texture = getGlyphTexture(code);
        return texture != nullptr ? static_cast<int32_t>(texture->getWidth()) : 0;
    }
    return static_cast<int32_t>(mGlyphTable.getGlyph(drawnGlyph(code)).width);
}

int32_t BitmapFont::getGlyph0Height() const
{
    if (mPictureMode)
        return mGlyphTextures[0] != nullptr ? static_cast<int32_t>(mGlyphTextures[0]->getHeight())
                                            : mLineHeight;
    return static_cast<int32_t>(mGlyphTable.height);
}

Text2DView::Text2DView(int32_t x, int32_t y, int32_t width, const std::string& text, BitmapFont* font,
                       uint32_t color, int32_t size, uint32_t flags)
    : Text2D(x, y, width, text, font, color, flags), mBitmapFont(font),
      mSize(size > 0 ? size : font->getLineHeight())
{
    relayout();
}

void Text2DView::setSize(int32_t size)
{
    if (size <= 0)
        size = mBitmapFont->getLineHeight();
    if (size == mSize)
        return;
    mSize = size;
    relayout();
}

Text2DView::~Text2DView()
{
    // The caret goes with the base; the glyphs first, while the font lives.
    mImages.clear();
}

int32_t Text2DView::scaled(int32_t value) const
{
    const int32_t fontHeight = mBitmapFont->getLineHeight();
    if (fontHeight <= 0)
        return value;
    return static_cast<int32_t>(int64_t{value} * mSize / fontHeight);
}

int32_t Text2DView::getCharWidth(uint8_t code) const
{
    return scaled(mBitmapFont->getGlyphWidth(code));
}

int32_t Text2DView::getLineHeight() const
{
    return scaled(mBitmapFont->getGlyph0Height());
}

int32_t Text2DView::getLineSpacing() const
{
    return scaled(mBitmapFont->getLineSpacing());
}

int32_t Text2DView::getLetterSpacing() const
{
    return scaled(mBitmapFont->getLetterSpacing());
}

Image2D* Text2DView::getGlyphImage(int32_t index) const
{
    const_cast<Text2DView*>(this)->syncImages();
    return index >= 0 && static_cast<size_t>(index) < mImages.size() ? mImages[index].get() : nullptr;
}

void Text2DView::setRenderList(RenderList* list)
{
    // The images that exist leave their list at once (it may go away before
    // this text); the lines stay as they are.
    if (list == mRenderList)
        return;
    mRenderList = list;
    if (mCaretImage)
        mCaretImage->setRenderList(list);
    for (auto& image : mImages)
    {
        if (image)
            image->setRenderList(list);
    }
}

void Text2DView::beginLayout()
{
    mPlaced.assign(mText.size(), 0);
    mImagesStale = true;
}

void Text2DView::placeChar(int32_t index, int32_t, int32_t, int32_t, int32_t)
{
    // The place is in the layout; the image follows when the text is drawn,
    // so that a text laid out and never shown (a line scrolled away) costs no
    // image at all.
    if (static_cast<size_t>(index) >= mPlaced.size())
        mPlaced.resize(static_cast<size_t>(index) + 1, 0);
    mPlaced[static_cast<size_t>(index)] = 1;
    mImagesStale = true;
}

void Text2DView::moveLaidOut(int32_t, int32_t)
{
    mImagesStale = true;
}

void Text2DView::recolor()
{
    mImagesStale = true;
}

void Text2DView::syncImages()
{
    if (!mImagesStale)
        return;
    mImagesStale = false;
    const bool showSelection = (mFlags & TEXT_SHOW_SELECTION) != 0;
    const int32_t count = static_cast<int32_t>(mText.size());
    const int32_t height = getLineHeight();
    for (int32_t i = 0; i < count; ++i)
    {
        const bool placed = static_cast<size_t>(i) < mPlaced.size() && mPlaced[static_cast<size_t>(i)] != 0 &&
                            static_cast<size_t>(i) < mCharX.size();
        if (static_cast<size_t>(i) >= mImages.size())
        {
            if (!placed)
                continue;
            mImages.resize(static_cast<size_t>(i) + 1);
        }
        std::unique_ptr<Image2D>& image = mImages[static_cast<size_t>(i)];
        if (!placed)
        {
            if (image)
                image->setTexture(nullptr);
            continue;
        }
        const auto code = static_cast<uint8_t>(mText[static_cast<size_t>(i)]);
        const auto x = static_cast<float>(mCharX[static_cast<size_t>(i)]);
        const auto y = static_cast<float>(mCharY[static_cast<size_t>(i)]);
        const auto width = static_cast<float>(getCharWidth(code));
        uint32_t color = charColor(i);
        // A selected character is drawn in the opposite colour.
        if (showSelection && i >= mSelectionStart && i < mSelectionEnd)
            color ^= 0x00FFFFFFu;
        if (!image)
        {
            Engine2D* engine = findEngine2D();
            if (engine == nullptr)
                continue;
            image = engine->createImage(x, y, nullptr, Image2D::SIZE_STRETCHED, width,
                                        static_cast<float>(height), color, mRenderList);
            if (!image)
                continue;
        }
        image->setRenderList(mRenderList);
        image->setTexture(mBitmapFont->getGlyphTexture(code));
        image->setSize(width, static_cast<float>(height), Image2D::SIZE_STRETCHED);
        image->setPosition(x, y);
        image->setColor(color);
    }
    // Characters of a longer text before show nothing.
    for (size_t i = static_cast<size_t>(count); i < mImages.size(); ++i)
    {
        if (mImages[i])
            mImages[i]->setTexture(nullptr);
    }
}

Image2D* Text2DView::getSelectionBox(int32_t index) const
{
    return index >= 0 && static_cast<size_t>(index) < mSelectionBoxes.size()
               ? mSelectionBoxes[static_cast<size_t>(index)].get()
               : nullptr;
}

ErrorCode Text2DView::renderSelection()
{
    Texture* picture = mFont != nullptr ? mFont->getCaretTexture() : nullptr;
    if ((mFlags & TEXT_SHOW_SELECTION) == 0 || picture == nullptr || mSelectionEnd <= mSelectionStart)
        return 0;
    Engine2D* engine = findEngine2D();
    const int32_t end =
        std::min({mSelectionEnd, static_cast<int32_t>(mImages.size()), static_cast<int32_t>(mText.size())});
    if (engine == nullptr || end <= mSelectionStart)
        return 0;
    if (mSelectionBoxes.size() < static_cast<size_t>(end))
        mSelectionBoxes.resize(static_cast<size_t>(end));
    for (int32_t i = std::max(mSelectionStart, 0); i < end; ++i)
    {
        const Image2D* glyph = mImages[static_cast<size_t>(i)].get();
        if (glyph == nullptr || glyph->getTexture() == nullptr)
            continue;
        std::unique_ptr<Image2D>& box = mSelectionBoxes[static_cast<size_t>(i)];
        if (!box)
            box = engine->createImage(glyph->getX(), glyph->getY(), picture, Image2D::SIZE_STRETCHED,
                                      glyph->getWidth(), glyph->getHeight(), 0xFFFFFFFF, mRenderList);
        if (!box)
            continue;
        box->setRenderList(mRenderList);
        box->setPosition(glyph->getX(), glyph->getY());
        box->setSize(glyph->getWidth(), glyph->getHeight(), Image2D::SIZE_STRETCHED);
        box->update();
        if (ErrorCode code = box->draw())
            return code;
    }
    return 0;
}

ErrorCode Text2DView::render()
{
    syncImages();
    if (ErrorCode code = renderSelection())
        return code;
    const size_t count = std::min(mImages.size(), mText.size());
    for (size_t i = 0; i < count; ++i)
    {
        if (!mImages[i] || mImages[i]->getTexture() == nullptr)
            continue;
        if (ErrorCode code = mImages[i]->draw())
            return code;
    }
    if ((mFlags & TEXT_SHOW_CARET) != 0 && mCaretImage)
        return mCaretImage->draw();
    return 0;
}

std::unique_ptr<Image2D> Text2DView::createCaretImage()
{
    Engine2D* engine = findEngine2D();
    if (engine == nullptr)
        return nullptr;
    return engine->createImage(static_cast<float>(mX), static_cast<float>(mY), nullptr,
                               Image2D::SIZE_STRETCHED, 2.0f, static_cast<float>(getCaretHeight()),
                               0xFFFFFFFF, mRenderList);
}
