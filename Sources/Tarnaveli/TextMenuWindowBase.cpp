#include "Tarnaveli/TextMenuWindowBase.h"

#include "Gui/Text.h"
#include "Gui/TextButton.h"

TextMenuWindowBase::TextMenuWindowBase(uint32_t count, const std::string& title, uint32_t titleHeight)
    : Dialog(WIDTH, static_cast<int32_t>(count) * ENTRY_HEIGHT + static_cast<int32_t>(titleHeight), title, 0,
             false, true, LOOK_DIALOG),
      mEntries(count, nullptr)
{
    mEntriesTop = getContentTop();
}

TextButton* TextMenuWindowBase::addEntry(uint32_t index, const std::string& text, const std::string& infotip,
                                         Callback callback)
{
    if (index >= mEntries.size() || mEntries[index] != nullptr)
        return nullptr;
    auto* entry =
        new TextButton(getContentLeft(), mEntriesTop + static_cast<int32_t>(index) * ENTRY_HEIGHT,
                       getContentWidth(), ENTRY_HEIGHT, text, ENTRY_LOOK, infotip, findFont(ENTRY_FONT));
    entry->onClick.mFunction = [this, entry, callback = std::move(callback)](Component*, uint32_t)
    {
        if (callback)
            callback(entry, this);
    };
    mEntries[index] = entry;
    addChild(entry);
    return entry;
}
