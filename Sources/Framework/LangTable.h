#pragma once
// The language table (service 0): every text the player sees, by numeric id,
// each with its LANG_ key and a built-in French text that the language file
// may replace by key. The framework fills ids 0 to 158; the game enlarges the
// table and fills its own ids before the table is initialised. Texts are
// Windows-1252.
#include "Framework/AppService.h"
#include "Framework/FrameworkTexts.h"

#include <cstdint>
#include <string>
#include <vector>

enum LangId : uint32_t
{
#define VELMORIQUE_LANG_ID(key, text) key,
    VELMORIQUE_FRAMEWORK_TEXTS(VELMORIQUE_LANG_ID)
#undef VELMORIQUE_LANG_ID
        LANG_FRAMEWORK_TEXT_COUNT
};
static_assert(LANG_FRAMEWORK_TEXT_COUNT == 159);
static_assert(LANG_ERROR_OK == 33 && LANG_ERROR_DOM_INTERPRETING_SHOULD_BE_ONE_TEXT == 60);
static_assert(LANG_KEY_NONE == 65 && LANG_KEY_CAPSLOCK == 158);

class LangTable : public AppService
{
public:
    LangTable();

    // Unless already loaded, reads the language file named in the application
    // settings; the table counts as loaded only when that succeeds.
    ErrorCode init() override;
    uint32_t getServiceId() override { return 0; }

    // Makes room for the game's texts; new entries have empty keys and texts.
    void resize(uint32_t count);
    uint32_t size() const { return static_cast<uint32_t>(mTexts.size()); }
    // Key and built-in text of one id inside the table. The text is Windows-1252.
    void setEntry(uint32_t id, const std::string& key, const std::string& text);

    // Replaces texts by key from the file (archives first, then the disk), or
    // writes every key with its text when the file does not exist. A replaced
    // text must read the same printf arguments as the text it replaces,
    // otherwise the built-in text stays. The keys are freed afterwards.
    ErrorCode loadFile(const std::string& path);

    bool isLoaded() const { return mLoaded; }
    // No bounds check beyond the table: ids are constants of the program.
    const std::string& getText(uint32_t id) const { return mTexts[id]; }
    // Empty once the file has been read.
    const std::vector<std::string>& getKeys() const { return mKeys; }

private:
    std::vector<std::string> mTexts;
    std::vector<std::string> mKeys;
    bool mLoaded = false;
};

// The text of an id when the application, its language table and the loaded
// file are all there; otherwise the fallback text. Ids outside the table give
// the fallback text too.
const std::string& getLangText(uint32_t id);
