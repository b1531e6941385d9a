#pragma once
// The game's own language entries (ids 159 to 330) and their registration in
// the language table, after the framework's 159 entries.
#include "Tarnaveli/GameTexts.h"

#include <cstdint>
#include <span>

class LangTable;

enum GameLangId : uint32_t
{
#define VELMORIQUE_GAME_LANG_ID(id, key, text) key = id,
    VELMORIQUE_GAME_TEXTS(VELMORIQUE_GAME_LANG_ID)
#undef VELMORIQUE_GAME_LANG_ID
};

// The language table holds the framework's entries and these.
inline constexpr uint32_t kGameLangTableSize = 331;

struct GameText
{
    uint32_t id;
    const char* key;
    // Windows-1252.
    const char* text;
};

// Every game entry, in id order.
std::span<const GameText> gameTexts();

// Grows the table to kGameLangTableSize entries and sets every game entry's
// key and built-in text; the language file is read afterwards.
void registerGameTexts(LangTable& table);
