#include "Tarnaveli/GameLang.h"

#include "Framework/LangTable.h"
#include "Framework/Text1252Literal.h"

#include <iterator>

namespace
{
constexpr GameText kGameTexts[] = {
#define VELMORIQUE_GAME_LANG_ENTRY(id, key, text) {id, #key, text},
    VELMORIQUE_GAME_TEXTS(VELMORIQUE_GAME_LANG_ENTRY)
#undef VELMORIQUE_GAME_LANG_ENTRY
};
static_assert(std::size(kGameTexts) == 170);
static_assert(uint32_t{LANG_WINDOW_WIN_TITLE} == uint32_t{LANG_FRAMEWORK_TEXT_COUNT});
static_assert(LANG_ID == kGameLangTableSize - 1);

constexpr bool idsAscend()
{
    for (size_t i = 1; i < std::size(kGameTexts); ++i)
        if (kGameTexts[i].id <= kGameTexts[i - 1].id)
            return false;
    return true;
}
static_assert(idsAscend(), "entries are registered in id order");
} // namespace

std::span<const GameText> gameTexts()
{
    return kGameTexts;
}

void registerGameTexts(LangTable& table)
{
    table.resize(kGameLangTableSize);
    for (const GameText& entry : kGameTexts)
        table.setEntry(entry.id, entry.key, entry.text);
}
