#pragma once
// A menu of text entries, one under another, each calling back with itself
// and its menu.
#include "Gui/Dialog.h"

#include <functional>
#include <vector>

class TextButton;

class TextMenuWindowBase : public Dialog
{
public:
    static constexpr int32_t WIDTH = 600;
    static constexpr int32_t ENTRY_HEIGHT = 40;
    static constexpr uint32_t ENTRY_LOOK = 14;
    static constexpr uint32_t ENTRY_FONT = 1;
    using Callback = std::function<void(TextButton* entry, TextMenuWindowBase* menu)>;

    // titleHeight: room under the entries for the menu's own row.
    TextMenuWindowBase(uint32_t count, const std::string& title, uint32_t titleHeight);

    TextButton* addEntry(uint32_t index, const std::string& text, const std::string& infotip,
                         Callback callback);
    TextButton* getEntry(uint32_t index) const { return index < mEntries.size() ? mEntries[index] : nullptr; }
    uint32_t getEntryCount() const { return static_cast<uint32_t>(mEntries.size()); }
    // The entries are the only buttons.
    void onResult(uint32_t) override {}

protected:
    // The top of the row under the last entry, in client coordinates.
    int32_t rowBelowEntries() const
    {
        return mEntriesTop + static_cast<int32_t>(mEntries.size()) * ENTRY_HEIGHT;
    }

private:
    std::vector<TextButton*> mEntries;
    int32_t mEntriesTop = 0;
};
