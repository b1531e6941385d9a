#include "Gui/Skin.h"

#include "Engine/Engine2D.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/ErrorText.h"
#include "Framework/FileLookup.h"
#include "Framework/ResourceArchive.h"
#include "Platform/System/Paths.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <strings.h>

Engine2D* findEngine2D()
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr ? dynamic_cast<Engine2D*>(application->getEngine2D()) : nullptr;
}

namespace
{
// A decimal integer with its sign and leading blanks, saturated far beyond
// the colour range so that clamping still gives the right end.
bool readNumber(const std::string& text, size_t& position, int64_t& value)
{
    while (position < text.size() && (text[position] == ' ' || text[position] == '\t'))
        ++position;
    bool negative = false;
    if (position < text.size() && (text[position] == '-' || text[position] == '+'))
        negative = text[position++] == '-';
    size_t digits = 0;
    value = 0;
    while (position < text.size() && std::isdigit(static_cast<unsigned char>(text[position])))
    {
        value = std::min<int64_t>(value * 10 + (text[position++] - '0'), 1000000);
        ++digits;
    }
    if (negative)
        value = -value;
    return digits > 0;
}

bool expect(const std::string& text, size_t& position, char c)
{
    while (position < text.size() && (text[position] == ' ' || text[position] == '\t'))
        ++position;
    if (position >= text.size() || text[position] != c)
        return false;
    ++position;
    return true;
}
} // namespace

bool ColorBinding::parseColor(const std::string& text, uint32_t& argb)
{
    if (text.compare(0, 5, "Color") != 0)
        return false;
    size_t position = 5;
    if (!expect(text, position, '('))
        return false;
    int64_t values[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i)
    {
        if ((i > 0 && !expect(text, position, ',')) || !readNumber(text, position, values[i]))
            return false;
        values[i] = std::clamp<int64_t>(values[i], 0, 255);
    }
    const auto channel = [&](int i) { return static_cast<uint32_t>(values[i]); };
    argb = (channel(3) << 24) | (channel(0) << 16) | (channel(1) << 8) | channel(2);
    return true;
}

std::string ColorBinding::formatColor(uint32_t argb)
{
    char text[64];
    std::snprintf(text, sizeof(text), "Color(%i,%i,%i,%i)", static_cast<int>((argb >> 16) & 0xFF),
                  static_cast<int>((argb >> 8) & 0xFF), static_cast<int>(argb & 0xFF),
                  static_cast<int>(argb >> 24));
    return text;
}

bool ColorBinding::parse(const std::string& text)
{
    return parseColor(text, mField);
}

bool ColorBinding::write(std::string& text) const
{
    text += formatColor(mField);
    return true;
}

Skin::Skin(std::string name, uint32_t textureCount, const std::vector<uint32_t>& colors)
    : mName(std::move(name)), mTextures(textureCount, nullptr), mColors(colors)
{
}

Skin::~Skin()
{
    for (Texture* texture : mTextures)
    {
        if (texture != nullptr)
            texture->release();
    }
}

void Skin::setTexture(uint32_t id, Texture* texture)
{
    if (id >= mTextures.size())
    {
        if (texture != nullptr)
            texture->release();
        return;
    }
    if (mTextures[id] != nullptr)
        mTextures[id]->release();
    mTextures[id] = texture;
}

bool Skin::isComplete() const
{
    return std::all_of(mTextures.begin(), mTextures.end(),
                       [](Texture* texture) { return texture != nullptr; });
}

SkinManager::SkinManager()
{
    addTexture("SKIN_TEX_FILE_DIR", "fileDir.png");
    addTexture("SKIN_TEX_CONTAINERLIFT_SELECTION", "containerLiftSelection.png");
}

SkinManager::~SkinManager()
{
    mCurrentSkin = nullptr;
    mSkins.clear();
}

void SkinManager::registerService()
{
    setServiceCreator(SERVICE_SKIN_MANAGER,
                      [](const ApplicationSettings&) { return std::make_unique<SkinManager>(); });
}

uint32_t SkinManager::addTexture(const std::string& key, const std::string& defaultFile)
{
    mTextureKeys.push_back(key);
    mTextureFiles.push_back(defaultFile);
    return mTextureCount++;
}

uint32_t SkinManager::addColor(const std::string& key, uint32_t defaultColor)
{
    mColorKeys.push_back(key);
    mColorDefaults.push_back(defaultColor);
    return mColorCount++;
}

ErrorCode SkinManager::loadSkinsIni()
{
    mSkinsIni = std::make_unique<ConfigFile>(mSkinsIniPath);
    for (uint32_t id = 0; id < mTextureCount; ++id)
        mSkinsIni->addString(mTextureKeys[id], mTextureFiles[id]);
    // Any file the set-up names is read; only one read as a skins list is
    // ever written back (ConfigFile::saveIfIncomplete).
    ErrorCode code = dataFileExists(mSkinsIniPath) ? mSkinsIni->load() : mSkinsIni->save();
    if (code == ERROR_OK && mSkinsIni->isRecognised())
        mSkinsIni->saveIfIncomplete();
    if (code != ERROR_OK)
        noteErrorFile(mSkinsIniPath);
    return code;
}

std::vector<std::string> SkinManager::findSkinFolders() const
{
    std::vector<std::string> names;
    if (FileLookup* lookup = activeFileLookup())
    {
        for (const auto& archive : lookup->archives())
        {
            const ArchiveFolder* folder = archive->findFolder(mSkinsFolder);
            if (folder == nullptr)
                continue;
            // The folder's files (skins.ini among them) are not skins.
            for (const auto& entry : folder->folders)
            {
                if (entry->name != "CVS")
                    names.push_back(entry->name);
            }
            return names;
        }
    }
    for (const Platform::DirectoryEntry& entry : Platform::listDirectory(Platform::mapPath(mSkinsFolder)))
    {
        if (!entry.isDirectory || entry.name == "." || entry.name == ".." ||
            strcasecmp(entry.name.c_str(), "CVS") == 0)
            continue;
        names.push_back(entry.name);
    }
    return names;
}

std::unique_ptr<Skin> SkinManager::makeSkin(const std::string& name)
{
    auto skin = std::make_unique<Skin>(name, mTextureCount, mColorDefaults);
    skin->colors().resize(mColorCount, 0);
    const std::string folder = mSkinsFolder + name + "\\";
    ConfigFile skinIni(folder + mSkinIniName);
    for (uint32_t id = 0; id < mColorCount; ++id)
        skinIni.addBinding(std::make_unique<ColorBinding>(mColorKeys[id], skin->colors()[id]));
    // A skin read from an archive has no folder on the disk to write to; its
    // colours are then the file's and the defaults, unsaved.
    if (dataFileExists(skinIni.fileName()))
    {
        if (skinIni.load() == 0)
            skinIni.saveIfIncomplete();
    }
    else
        skinIni.save();
    if (Engine2D* engine = findEngine2D())
    {
        for (uint32_t id = 0; id < mTextureCount; ++id)
            skin->setTexture(id, engine->findOrLoadTexture(folder + mTextureFiles[id]));
    }
    return skin;
}

ErrorCode SkinManager::init()
{
    mCurrentSkin = nullptr;
    mSkins.clear();
    mLoaded = false;
    if (ErrorCode code = loadSkinsIni())
        return code;
    for (const std::string& name : findSkinFolders())
        mSkins.push_back(makeSkin(name));
    if (mSkins.empty())
        return ERROR_NO_SKINS;
    mLoaded = true;
    mCurrentSkin = mSkins.front().get();
    return 0;
}

int32_t SkinManager::findSkinIndex(const std::string& name) const
{
    for (size_t i = 0; i < mSkins.size(); ++i)
    {
        if (mSkins[i]->getName() == name)
            return static_cast<int32_t>(i);
    }
    return -1;
}

int32_t SkinManager::indexOfSkin(const Skin* skin) const
{
    for (size_t i = 0; i < mSkins.size(); ++i)
    {
        if (mSkins[i].get() == skin)
            return static_cast<int32_t>(i);
    }
    return -1;
}

SkinManager* findSkinManager()
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr ? dynamic_cast<SkinManager*>(application->getService(SERVICE_SKIN_MANAGER))
                                  : nullptr;
}

Texture* findSkinTexture(uint32_t id)
{
    SkinManager* manager = findSkinManager();
    return manager != nullptr ? manager->getTexture(id) : nullptr;
}

uint32_t findSkinColor(uint32_t id)
{
    SkinManager* manager = findSkinManager();
    return manager != nullptr ? manager->getColor(id) : 0;
}
