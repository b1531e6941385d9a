#pragma once
// A 2D engine whose images remember where they were put and how often they
// were drawn, and whose textures are blocks of memory; an application with
// the skin manager, the look table, the input manager and that engine; and
// small .fnt fixtures.
#include "../Engine/FakeResource.h"
#include "Engine/Engine2D.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/BinaryStream.h"
#include "Framework/DiskFile.h"
#include "Gui/Font.h"
#include "Gui/InputManager.h"
#include "Gui/Look.h"
#include "Gui/Skin.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"
#include "StubEngine2D.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

class RecordingImage final : public Image2D
{
public:
    RecordingImage(float x, float y, Texture* texture, uint32_t flags, float width, float height,
                   uint32_t color, RenderList* list)
        : Image2D(x, y, nullptr, flags, width, height, color, list)
    {
        setTexture(texture);
    }
    ErrorCode draw() override
    {
        ++draws;
        return drawResult;
    }
    ErrorCode update() override
    {
        ++updates;
        return 0;
    }

    int draws = 0;
    int updates = 0;
    ErrorCode drawResult = 0;
};

class RecordingEngine2D final : public StubEngine2D
{
public:
    std::unique_ptr<Image2D> createImage(float x, float y, Texture* texture, uint32_t flags, float width,
                                         float height, uint32_t color, RenderList* list) override
    {
        auto image = std::make_unique<RecordingImage>(x, y, texture, flags, width, height, color, list);
        images.push_back(image.get());
        return image;
    }
    Texture* createTexture(uint32_t width, uint32_t height, uint16_t flags) override
    {
        return new FakeResource(&mTextures, width, height, flags);
    }
    Texture* createTextureFromPixels(uint32_t width, uint32_t height, const void* pixels, uint16_t flags,
                                     uint32_t color) override
    {
        return new FakeResource(&mTextures, width, height, pixels, flags, color);
    }
    Texture* getTextureByName(const std::string& name, uint16_t flags) override
    {
        namesAsked.push_back(name);
        if (Texture* texture = findTextureByName(name))
        {
            texture->addRef();
            return texture;
        }
        auto* texture = new FakeResource(&mTextures, name, flags);
        texture->setSize(32, 16);
        return texture;
    }

    // Every image made, in order; valid while its owner keeps it.
    std::vector<RecordingImage*> images;
    std::vector<std::string> namesAsked;
};

// The cursor with the system arrow's state recorded instead of applied.
class TestCursorManager final : public CursorManager
{
public:
    std::vector<bool> arrowShown;

protected:
    void showSystemArrow(bool show) override { arrowShown.push_back(show); }
};

class SkinTestApplication final : public ApplicationGeneric
{
public:
    explicit SkinTestApplication(bool systemCursor = false) : ApplicationGeneric(makeSettings(systemCursor))
    {
        setService(std::make_unique<RecordingEngine2D>());
        setService(std::make_unique<SkinManager>());
        setService(std::make_unique<LookTable>());
        auto cursor = std::make_unique<TestCursorManager>();
        mCursor = cursor.get();
        setService(std::make_unique<InputManager>(std::move(cursor)));
    }
    void createFirstWindow() override {}

    RecordingEngine2D& engine() { return static_cast<RecordingEngine2D&>(*getEngine2D()); }
    SkinManager& skins() { return static_cast<SkinManager&>(*getService(SERVICE_SKIN_MANAGER)); }
    LookTable& looks() { return static_cast<LookTable&>(*getService(SERVICE_LOOK_TABLE)); }
    TestCursorManager& cursor() { return *mCursor; }

    Platform::ScopedMessageCapture messages;

private:
    static const ApplicationSettings& makeSettings(bool systemCursor)
    {
        static ApplicationSettings withSprites;
        static ApplicationSettings withSystemCursor = []
        {
            ApplicationSettings s;
            s.mSystemCursor = true;
            return s;
        }();
        return systemCursor ? withSystemCursor : withSprites;
    }
    TestCursorManager* mCursor = nullptr;
};

// A skin of n textures ("t0.png"...) and the colours, current while it lives.
class CurrentTestSkin
{
public:
    CurrentTestSkin(SkinTestApplication& app, uint32_t textureCount, std::vector<uint32_t> colors)
        : mApp(app), mSkin("Test", textureCount, colors)
    {
        for (uint32_t id = 0; id < textureCount; ++id)
            mSkin.setTexture(id, app.engine().getTextureByName("t" + std::to_string(id) + ".png", 0));
        app.skins().setCurrentSkin(&mSkin);
    }
    ~CurrentTestSkin() { mApp.skins().setCurrentSkin(nullptr); }
    Skin& skin() { return mSkin; }

private:
    SkinTestApplication& mApp;
    Skin mSkin;
};

// Points the program folder at a scratch directory for its lifetime.
class ScratchProgramFolder
{
public:
    ScratchProgramFolder() : mPrevious(Platform::programDirectory())
    {
        Platform::setProgramDirectory(mFolder.path());
    }
    ~ScratchProgramFolder() { Platform::setProgramDirectory(mPrevious); }
    const std::string& path() const { return mFolder.path(); }

    // Writes a file below the folder (a Linux relative path), folders
    // included.
    void write(const std::string& relative, const std::string& bytes) const
    {
        std::filesystem::path file = std::filesystem::path(mFolder.path()) / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
    }
    std::string read(const std::string& relative) const
    {
        std::ifstream in(std::filesystem::path(mFolder.path()) / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool exists(const std::string& relative) const
    {
        return std::filesystem::exists(std::filesystem::path(mFolder.path()) / relative);
    }

private:
    Platform::TemporaryDirectory mFolder;
    std::string mPrevious;
};

// .fnt bytes: a header and one record per glyph, all little-endian u32.
class FntBuilder
{
public:
    FntBuilder(uint32_t height, uint32_t lineSpacing, uint32_t letterSpacing, uint32_t tableSize = 256)
        : mHeight(height)
    {
        put(tableSize);
        put(lineSpacing);
        put(letterSpacing);
        mCountAt = mBytes.size();
        put(0);
        put(height);
    }
    // A glyph of that width whose every byte is value.
    FntBuilder& glyph(uint32_t code, uint32_t width, uint8_t value = 0xFF)
    {
        put(code);
        put(width);
        mBytes.append(size_t(width) * mHeight, static_cast<char>(value));
        uint32_t count = 0;
        std::memcpy(&count, mBytes.data() + mCountAt, 4);
        ++count;
        std::memcpy(mBytes.data() + mCountAt, &count, 4);
        return *this;
    }
    // A record header alone, its bytes left out.
    FntBuilder& recordHeader(uint32_t code, uint32_t width)
    {
        put(code);
        put(width);
        return *this;
    }
    // Overrides the glyph count of the header.
    FntBuilder& count(uint32_t count)
    {
        std::memcpy(mBytes.data() + mCountAt, &count, 4);
        return *this;
    }
    const std::string& bytes() const { return mBytes; }

private:
    void put(uint32_t value) { mBytes.append(reinterpret_cast<const char*>(&value), 4); }
    std::string mBytes;
    uint32_t mHeight;
    size_t mCountAt = 0;
};
