#pragma once
// The options window: sound effects and music (switch and level), infotips
// and the piece set. Sound changes are heard at once; OK keeps everything,
// Cancel puts back what was there when the window opened.
#include "Framework/SettingsFile.h"
#include "Gui/Dialog.h"
#include "Tarnaveli/SetupConfig.h"

#include <memory>
#include <string>
#include <vector>

class ComboBox;
class LabeledCheckBox;
class Lift;

class WindowOption : public Dialog
{
public:
    // Eight slider positions map onto the 0..255 levels.
    static constexpr int32_t SLIDER_POSITIONS = 8;
    static uint32_t positionToLevel(int32_t position);
    static int32_t levelToPosition(uint32_t level);

    // The window edits the set-up record and the settings in place; the
    // piece-set names are those of the game description, in order.
    WindowOption(SetupConfig& setup, SettingsFile& settings, const std::vector<std::string>& pieceSetNames);

    // The window of the running game, or null when the game has no settings.
    static WindowOption* createForGame();

    void onResult(uint32_t buttonBits) override;

    LabeledCheckBox* getSoundBox() const { return mSoundBox; }
    LabeledCheckBox* getMusicBox() const { return mMusicBox; }
    LabeledCheckBox* getInfotipBox() const { return mInfotipBox; }
    Lift* getSoundSlider() const { return mSoundSlider; }
    Lift* getMusicSlider() const { return mMusicSlider; }
    ComboBox* getPieceSetCombo() const { return mPieceSetCombo; }

private:
    Lift* addSlider(uint32_t captionId, uint32_t level);
    void onSoundSlider();
    void onMusicSlider();
    // The width at which the box shows the widest of the names whole.
    static int32_t comboWidthFor(const ComboBox& combo, const std::vector<std::string>& names);

    SetupConfig& mSetup;
    SettingsFile& mSettings;
    SetupConfig mSetupCopy;
    uint32_t mMusicLevelCopy;
    uint32_t mSoundLevelCopy;
    bool mMusicOnCopy;
    bool mSoundOnCopy;

    LabeledCheckBox* mSoundBox = nullptr;
    Lift* mSoundSlider = nullptr;
    LabeledCheckBox* mMusicBox = nullptr;
    Lift* mMusicSlider = nullptr;
    LabeledCheckBox* mInfotipBox = nullptr;
    ComboBox* mPieceSetCombo = nullptr;
};
