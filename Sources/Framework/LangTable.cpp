#include "Framework/LangTable.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/Text1252Literal.h"

#include <cassert>
#include <iterator>

namespace
{
struct BuiltInText
{
    const char* key;
    const char* text;
};

constexpr BuiltInText kFrameworkTexts[] = {
#define VELMORIQUE_LANG_ENTRY(key, text) {#key, text},
    VELMORIQUE_FRAMEWORK_TEXTS(VELMORIQUE_LANG_ENTRY)
#undef VELMORIQUE_LANG_ENTRY
};
static_assert(std::size(kFrameworkTexts) == LANG_FRAMEWORK_TEXT_COUNT);
} // namespace

LangTable::LangTable() : mTexts(LANG_FRAMEWORK_TEXT_COUNT), mKeys(LANG_FRAMEWORK_TEXT_COUNT)
{
    for (uint32_t id = 0; id < LANG_FRAMEWORK_TEXT_COUNT; ++id)
        setEntry(id, kFrameworkTexts[id].key, kFrameworkTexts[id].text);
}

ErrorCode LangTable::init()
{
    if (mLoaded)
        return ERROR_OK;
    ApplicationGeneric* application = getApplication();
    if (application == nullptr)
        return ERROR_INVALID;
    ErrorCode result = loadFile(application->getSettings().mLanguageFile);
    if (result != ERROR_OK)
        return result;
    mLoaded = true;
    return ERROR_OK;
}

void LangTable::resize(uint32_t count)
{
    mTexts.resize(count);
    mKeys.resize(count);
}

void LangTable::setEntry(uint32_t id, const std::string& key, const std::string& text)
{
    assert(id < mTexts.size() && id < mKeys.size() && "entries are set before the file is loaded");
    if (id >= mTexts.size() || id >= mKeys.size())
        return;
    mKeys[id] = key;
    mTexts[id] = text;
}

const std::string& getLangText(uint32_t id)
{
    static const std::string unavailable = gTextUnavailable;
    ApplicationGeneric* application = getApplication();
    if (application == nullptr)
        return unavailable;
    LangTable* table = application->getLangTable();
    if (table == nullptr || !table->isLoaded() || id >= table->size())
        return unavailable;
    return table->getText(id);
}
