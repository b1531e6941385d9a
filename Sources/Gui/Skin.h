#pragma once
// Skins: the pictures and colours every look draws with. A skin is a folder
// under the skins folder; the file names of its textures are shared by every
// skin and listed in skins.ini ("SKIN_TEX_" keys), its colours are its own and
// kept in its skin.ini ("SKIN_COLOR_" keys, "Color(r,g,b,a)" values). The
// looks hold texture and colour ids; the skin manager (service 4) resolves
// them against the current skin, so switching skins restyles every widget.
#include "Framework/AppService.h"
#include "Framework/ConfigFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Engine2D;
class Texture;

// The running application's 2D engine, or null.
Engine2D* findEngine2D();

// A colour field of a configuration file, written "Color(r,g,b,a)".
class ColorBinding final : public ConfigBinding
{
public:
    ColorBinding(std::string key, uint32_t& field) : ConfigBinding(std::move(key)), mField(field) {}
    // The text must begin with "Color"; the four numbers are clamped to
    // 0..255. A text that does not read leaves the field as it was.
    bool parse(const std::string& text) override;
    bool write(std::string& text) const override;

    static bool parseColor(const std::string& text, uint32_t& argb);
    static std::string formatColor(uint32_t argb);

private:
    uint32_t& mField;
};

class Skin
{
public:
    Skin(std::string name, uint32_t textureCount, const std::vector<uint32_t>& colors);
    // Gives back its textures.
    ~Skin();
    Skin(const Skin&) = delete;
    Skin& operator=(const Skin&) = delete;

    const std::string& getName() const { return mName; }
    // Null for an id without a texture or past the skin's.
    Texture* getTexture(uint32_t id) const { return id < mTextures.size() ? mTextures[id] : nullptr; }
    // Transparent black past the skin's colours.
    uint32_t getColor(uint32_t id) const { return id < mColors.size() ? mColors[id] : 0; }
    // Takes the reference the caller held.
    void setTexture(uint32_t id, Texture* texture);
    std::vector<uint32_t>& colors() { return mColors; }
    uint32_t getTextureCount() const { return static_cast<uint32_t>(mTextures.size()); }
    // Every texture id has its texture (true without texture ids).
    bool isComplete() const;

private:
    std::string mName;
    std::vector<Texture*> mTextures;
    std::vector<uint32_t> mColors;
};

// Application service 4.
class SkinManager : public AppService
{
public:
    // Texture ids 0 and 1: the file dialog's folder icon and the list's
    // selection bar.
    SkinManager();
    ~SkinManager() override;

    // Reads skins.ini (written when missing or incomplete), finds the skins
    // (in the first archive that holds the skins folder, else on the disk)
    // and loads each one; 20 (ERROR_NO_SKINS) when there is none. The first
    // skin becomes current.
    ErrorCode init() override;
    uint32_t getServiceId() override { return 4; }
    // Installs the creator of service 4 for the application.
    static void registerService();

    // Before init: the game's textures (ids from 2 on) and colours (from 0).
    uint32_t addTexture(const std::string& key, const std::string& defaultFile);
    uint32_t addColor(const std::string& key, uint32_t defaultColor);
    void setSkinsIniPath(const std::string& path) { mSkinsIniPath = path; }
    void setSkinsFolder(const std::string& folder) { mSkinsFolder = folder; }
    void setSkinIniName(const std::string& name) { mSkinIniName = name; }
    const std::string& getSkinsIniPath() const { return mSkinsIniPath; }
    const std::string& getSkinsFolder() const { return mSkinsFolder; }

    // -1 when no skin has that name.
    int32_t findSkinIndex(const std::string& name) const;
    int32_t indexOfSkin(const Skin* skin) const;
    uint32_t getSkinCount() const { return static_cast<uint32_t>(mSkins.size()); }
    Skin* getSkin(uint32_t index) const { return index < mSkins.size() ? mSkins[index].get() : nullptr; }
    Skin* getCurrentSkin() const { return mCurrentSkin; }
    void setCurrentSkin(Skin* skin) { mCurrentSkin = skin; }
    bool isLoaded() const { return mLoaded; }

    // The current skin's texture and colour of an id (null and 0 without a
    // current skin).
    Texture* getTexture(uint32_t id) const
    {
        return mCurrentSkin != nullptr ? mCurrentSkin->getTexture(id) : nullptr;
    }
    uint32_t getColor(uint32_t id) const { return mCurrentSkin != nullptr ? mCurrentSkin->getColor(id) : 0; }
    uint32_t getTextureCount() const { return mTextureCount; }
    uint32_t getColorCount() const { return mColorCount; }
    const std::string& getTextureFile(uint32_t id) const { return mTextureFiles.at(id); }

private:
    ErrorCode loadSkinsIni();
    // The folder names of the skins, from the first archive that holds the
    // skins folder, else from the disk.
    std::vector<std::string> findSkinFolders() const;
    std::unique_ptr<Skin> makeSkin(const std::string& name);

    std::vector<std::unique_ptr<Skin>> mSkins;
    std::vector<std::string> mTextureFiles;
    std::vector<std::string> mTextureKeys;
    bool mLoaded = false;
    std::vector<std::string> mColorKeys;
    std::vector<uint32_t> mColorDefaults;
    uint32_t mColorCount = 0;
    uint32_t mTextureCount = 0;
    Skin* mCurrentSkin = nullptr;
    std::unique_ptr<ConfigFile> mSkinsIni;
    std::string mSkinsIniPath = "data\\Ressources\\skins\\skins.ini";
    std::string mSkinsFolder = "data\\Ressources\\skins\\";
    std::string mSkinIniName = "skin.ini";
};

// The running application's skin manager, or null.
SkinManager* findSkinManager();
// The current skin's texture and colour of an id; null and 0 without one.
Texture* findSkinTexture(uint32_t id);
uint32_t findSkinColor(uint32_t id);
