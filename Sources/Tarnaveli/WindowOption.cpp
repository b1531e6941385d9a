#include "Tarnaveli/WindowOption.h"

#include "Framework/LangTable.h"
#include "Gui/ComboBox.h"
#include "Gui/GuiManager.h"
#include "Gui/LabeledCheckBox.h"
#include "Gui/Lift.h"
#include "Gui/Text.h"
#include "Sound/SoundManager.h"
#include "Tarnaveli/GameApplication.h"
#include "Tarnaveli/GameDescription/GameDescription.h"
#include "Tarnaveli/GameDescription/PionSet.h"
#include "Tarnaveli/GameLang.h"

namespace
{
constexpr int32_t kClientWidth = 550;
constexpr int32_t kClientHeight = 100;
constexpr uint32_t kButtonsOkCancel = 9;
constexpr uint32_t kSliderLook = 48;
constexpr int32_t kRowHeight = 32;
constexpr int32_t kLabelWidth = 200;
constexpr int32_t kSliderWidth = 256;
constexpr int32_t kComboWidth = 200;
// The effects' channels: 1 to 7.
constexpr uint32_t kFirstEffectChannel = 1;
constexpr uint32_t kLastEffectChannel = 7;
} // namespace

uint32_t WindowOption::positionToLevel(int32_t position)
{
    position = std::clamp(position, 0, SLIDER_POSITIONS - 1);
    return static_cast<uint32_t>(position) * 255 / (SLIDER_POSITIONS - 1);
}

int32_t WindowOption::levelToPosition(uint32_t level)
{
    // The nearest position: a level the slider set comes back to the same
    // notch when the window opens again.
    return static_cast<int32_t>((std::min<uint32_t>(level, 255) * (SLIDER_POSITIONS - 1) + 127) / 255);
}

int32_t WindowOption::comboWidthFor(const ComboBox& combo, const std::vector<std::string>& names)
{
    // Everything of the box but its label's room, plus the widest name.
    const Label* label = combo.getLabel();
    int32_t around = combo.getWidth() - (label != nullptr ? label->getWidth() : 0);
    Font* font = combo.getFont() != nullptr ? combo.getFont() : findFont(0);
    int32_t widest = 0;
    for (const std::string& name : names)
    {
        // At the size the box draws its text: its inner height.
        std::unique_ptr<Text2D> text =
            font != nullptr ? font->createText(0, 0, 4096, name, 0xFF000000, combo.getItemHeight(), 0)
                            : nullptr;
        if (text)
            widest = std::max(widest, text->getMaxLineWidth());
    }
    return around + widest;
}

WindowOption::WindowOption(SetupConfig& setup, SettingsFile& settings,
                           const std::vector<std::string>& pieceSetNames)
    : Dialog(kClientWidth, kClientHeight, getLangText(LANG_WINDOW_OPTION_TITLE), kButtonsOkCancel, false,
             true, LOOK_DIALOG),
      mSetup(setup), mSettings(settings), mSetupCopy(setup), mMusicLevelCopy(settings.getMusicLevel()),
      mSoundLevelCopy(settings.getSoundLevel()), mMusicOnCopy(settings.isMusicEnabled()),
      mSoundOnCopy(settings.isSoundEnabled())
{
    mSoundBox = addCheckBox(getLangText(LANG_WINDOW_OPTION_ENABLE_SOUNDS),
                            getLangText(LANG_WINDOW_OPTION_ENABLE_SOUNDS_INFOTIP), settings.isSoundEnabled());
    mSoundBox->onChange.mFunction = [this](Component*, uint32_t)
    { mSettings.setSoundEnabled(mSoundBox->isChecked()); };
    mSoundSlider = addSlider(LANG_SOUND_VOLUME, settings.getSoundLevel());
    mSoundSlider->onChange.mFunction = [this](Component*, uint32_t) { onSoundSlider(); };

    mMusicBox = addCheckBox(getLangText(LANG_WINDOW_OPTION_ENABLE_MUSIC),
                            getLangText(LANG_WINDOW_OPTION_ENABLE_MUSIC_INFOTIP), settings.isMusicEnabled());
    mMusicBox->onChange.mFunction = [this](Component*, uint32_t)
    { mSettings.setMusicEnabled(mMusicBox->isChecked()); };
    mMusicSlider = addSlider(LANG_MUSIC_VOLUME, settings.getMusicLevel());
    mMusicSlider->onChange.mFunction = [this](Component*, uint32_t) { onMusicSlider(); };

    mInfotipBox = addCheckBox(getLangText(LANG_WINDOW_OPTION_ENABLE_INFOTIP),
                              getLangText(LANG_WINDOW_OPTION_ENABLE_INFOTIP_INFOTIP), setup.mInfotip);

    const int32_t left = getContentLeft();
    addChild(std::make_unique<Label>(left, mCursorY, kLabelWidth, kRowHeight,
                                     getLangText(LANG_WINDOW_OPTION_PION_MODEL), mLook->textColor,
                                     TEXT_ALIGN_LEFT, findFont(mLook->textFont)));
    // In the dialog's text font, like its label, and wide enough for the
    // longest name.
    Font* comboFont = findFont(mLook->textFont);
    mPieceSetCombo =
        new ComboBox(left + kLabelWidth, mCursorY, kComboWidth, kRowHeight, SOUND_SELECT_OPTION, comboFont);
    for (const std::string& name : pieceSetNames)
        mPieceSetCombo->addItem(name);
    if (setup.mPionSet >= 0 && static_cast<size_t>(setup.mPionSet) < pieceSetNames.size())
        mPieceSetCombo->setSelectedIndex(setup.mPionSet);
    int32_t needed = comboWidthFor(*mPieceSetCombo, pieceSetNames);
    int32_t room = getContentWidth() - kLabelWidth;
    if (needed > kComboWidth)
        mPieceSetCombo->resize(std::min(needed, std::max(room, kComboWidth)), kRowHeight, true);
    addChild(mPieceSetCombo);
    mCursorY += kRowHeight;
    // The drop list opens under the box: the buttons stand below it rather
    // than under it.
    const auto count = static_cast<int32_t>(pieceSetNames.size());
    mCursorY += std::max(count - 1, 0) * mPieceSetCombo->getItemHeight() + kRowHeight;

    recenter();
}

Lift* WindowOption::addSlider(uint32_t captionId, uint32_t level)
{
    const int32_t left = getContentLeft();
    addChild(std::make_unique<Label>(left, mCursorY, kLabelWidth, kRowHeight, getLangText(captionId),
                                     mLook->textColor, TEXT_ALIGN_LEFT, findFont(mLook->textFont)));
    auto* slider = new Lift(left + kLabelWidth, mCursorY, kSliderWidth, kRowHeight, 1, kSliderLook);
    slider->setRange(0, SLIDER_POSITIONS - 1, 1, 1.0 / SLIDER_POSITIONS, levelToPosition(level));
    addChild(slider);
    mCursorY += kRowHeight;
    return slider;
}

void WindowOption::onSoundSlider()
{
    uint32_t level = positionToLevel(mSoundSlider->getValue());
    if (level == mSettings.getSoundLevel())
        return;
    mSettings.setSoundLevel(level);
    // A sample at the new level, so the player hears the choice.
    if (SoundManager* sound = getApplication() != nullptr ? getApplication()->getSoundManager() : nullptr)
        sound->playSound(kFirstEffectChannel, kLastEffectChannel, SOUND_BUTTON_CLICK, -1, false, false);
}

void WindowOption::onMusicSlider()
{
    uint32_t level = positionToLevel(mMusicSlider->getValue());
    if (level != mSettings.getMusicLevel())
        mSettings.setMusicLevel(level);
}

void WindowOption::onResult(uint32_t buttonBits)
{
    if (buttonBits == 1)
    {
        mSetup.mInfotip = mInfotipBox->isChecked();
        // No piece set to choose from keeps the one the set-up names.
        if (mPieceSetCombo->getSelectedIndex() >= 0)
            mSetup.mPionSet = mPieceSetCombo->getSelectedIndex();
        if (auto* gui = GuiManager::current())
            gui->setInfotipEnabled(mSetup.mInfotip);
    }
    else if (buttonBits == 8)
    {
        mSetup = mSetupCopy;
        mSettings.setMusicEnabled(mMusicOnCopy);
        mSettings.setSoundEnabled(mSoundOnCopy);
        mSettings.setMusicLevel(mMusicLevelCopy);
        mSettings.setSoundLevel(mSoundLevelCopy);
    }
    close();
}

WindowOption* WindowOption::createForGame()
{
    GameApplication* game = GameApplication::current();
    if (game == nullptr || game->getGameSettings() == nullptr)
        return nullptr;
    std::vector<std::string> names;
    if (GameDescription* description = game->getGameDescription())
    {
        for (size_t i = 0; i < description->getPionSetCount(); ++i)
            names.push_back(description->getPionSet(i)->getName());
    }
    return new WindowOption(game->getSetup(), *game->getGameSettings(), names);
}
