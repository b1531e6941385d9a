// The options window: sound changes heard at once through the settings, the
// sample played only on a real change of level, OK keeping the set-up
// choices and Cancel putting everything back.
#include "../Gui/GuiTestSupport.h"
#include "Gui/ComboBox.h"
#include "Gui/ComboDropList.h"
#include "Gui/LabeledCheckBox.h"
#include "Gui/Lift.h"
#include "Gui/TextButton.h"
#include "Platform/System/Paths.h"
#include "Tarnaveli/GameSettings.h"
#include "Tarnaveli/WindowOption.h"

#include <algorithm>
#include <filesystem>

namespace
{
struct OptionFixture
{
    GuiTestApplication app;
    SetupConfig setup;
    GameSettings settings;

    OptionFixture()
    {
        app.sound().setSoundCount(9);
        app.sound().setSoundName(3, "clicBouton.wav");
        settings.setSoundLevel(178);
        settings.setMusicLevel(178);
        setup.mPionSet = 1;
        setup.mInfotip = true;
        app.sound().log.clear();
    }
    WindowOption* open()
    {
        return openNow(app, new WindowOption(setup, settings, {"Classique", "Zoo", "Cartoon"}));
    }
    size_t samples()
    {
        const auto& log = app.sound().log;
        return static_cast<size_t>(std::count_if(
            log.begin(), log.end(),
            [](const std::string& line) { return line.find("play clicBouton.wav") != std::string::npos; }));
    }
    static void toggle(LabeledCheckBox* box) { box->getCaption()->onClick.invoke(box->getCaption()); }
};
} // namespace

TEST(WindowOption, SliderPositionsMapOntoLevelsBothWays)
{
    const uint32_t levels[] = {0, 36, 72, 109, 145, 182, 218, 255};
    for (int32_t position = 0; position < 8; ++position)
    {
        EXPECT_EQ(WindowOption::positionToLevel(position), levels[position]);
        EXPECT_EQ(WindowOption::levelToPosition(levels[position]), position) << "reads back as it was set";
    }
    // Any other level shows at the nearest position.
    EXPECT_EQ(WindowOption::levelToPosition(178), 5);
    EXPECT_EQ(WindowOption::levelToPosition(163), 4);
    EXPECT_EQ(WindowOption::levelToPosition(255), 7);
    EXPECT_EQ(WindowOption::levelToPosition(1000), 7);
}

TEST(WindowOption, OpensWithTheCurrentSettingsAndPieceSet)
{
    OptionFixture f;
    f.settings.setMusicEnabled(false);
    auto* window = f.open();
    EXPECT_TRUE(window->getSoundBox()->isChecked());
    EXPECT_FALSE(window->getMusicBox()->isChecked());
    EXPECT_TRUE(window->getInfotipBox()->isChecked());
    EXPECT_EQ(window->getSoundSlider()->getValue(), 5);
    EXPECT_EQ(window->getMusicSlider()->getMaximum(), 7);
    ASSERT_EQ(window->getPieceSetCombo()->getItemCount(), 3u);
    EXPECT_EQ(window->getPieceSetCombo()->getSelectedIndex(), 1);
}

TEST(WindowOption, SoundLevelReachesTheSoundManagerWithOneSamplePerRealChange)
{
    OptionFixture f;
    auto* window = f.open();
    window->getSoundSlider()->moveBy(1);
    EXPECT_EQ(f.settings.getSoundLevel(), 218u);
    EXPECT_EQ(f.app.sound().getGroup(0).level, 218u);
    EXPECT_EQ(f.app.sound().channel(3).level, 218);
    EXPECT_EQ(f.samples(), 1u);
    // Pressing past the end, or back to the same position, changes nothing.
    window->getSoundSlider()->moveBy(0);
    EXPECT_EQ(f.samples(), 1u);
    window->getSoundSlider()->moveBy(-1);
    EXPECT_EQ(f.settings.getSoundLevel(), 182u);
    EXPECT_EQ(f.samples(), 2u);

    size_t before = f.samples();
    window->getMusicSlider()->moveBy(3);
    EXPECT_EQ(f.settings.getMusicLevel(), 255u);
    EXPECT_EQ(f.app.sound().getGroup(1).level, 255u);
    EXPECT_EQ(f.samples(), before) << "the music slider plays no sample";
}

TEST(WindowOption, SwitchesApplyAtOnce)
{
    OptionFixture f;
    auto* window = f.open();
    OptionFixture::toggle(window->getSoundBox());
    EXPECT_FALSE(f.settings.isSoundEnabled());
    EXPECT_FALSE(f.app.sound().getGroup(0).enabled);
    OptionFixture::toggle(window->getMusicBox());
    EXPECT_FALSE(f.settings.isMusicEnabled());
    EXPECT_FALSE(f.app.sound().getGroup(1).enabled);
}

TEST(WindowOption, OkKeepsInfotipAndPieceSetAndTheNewLevels)
{
    OptionFixture f;
    auto* window = f.open();
    window->getSoundSlider()->moveBy(-5);
    OptionFixture::toggle(window->getInfotipBox());
    window->getPieceSetCombo()->setSelectedIndex(2);
    EXPECT_TRUE(f.setup.mInfotip) << "nothing reaches the set-up before OK";
    window->onResult(1);
    f.app.gui().processDeferred();
    EXPECT_FALSE(f.setup.mInfotip);
    EXPECT_EQ(f.setup.mPionSet, 2);
    EXPECT_FALSE(f.app.gui().isInfotipEnabled());
    EXPECT_EQ(f.settings.getSoundLevel(), 0u);
    EXPECT_TRUE(f.app.root().getChildren().empty()) << "the window closed";
}

TEST(WindowOption, CancelRestoresBothLevelsSwitchesAndSetup)
{
    OptionFixture f;
    f.settings.setMusicLevel(36);
    auto* window = f.open();
    window->getSoundSlider()->moveBy(3);
    window->getMusicSlider()->moveBy(5);
    OptionFixture::toggle(window->getSoundBox());
    OptionFixture::toggle(window->getMusicBox());
    window->getPieceSetCombo()->setSelectedIndex(0);
    OptionFixture::toggle(window->getInfotipBox());
    window->onResult(8);
    f.app.gui().processDeferred();
    EXPECT_EQ(f.settings.getSoundLevel(), 178u);
    EXPECT_EQ(f.settings.getMusicLevel(), 36u);
    EXPECT_TRUE(f.settings.isSoundEnabled());
    EXPECT_TRUE(f.settings.isMusicEnabled());
    EXPECT_EQ(f.app.sound().getGroup(0).level, 178u);
    EXPECT_EQ(f.app.sound().getGroup(1).level, 36u);
    EXPECT_TRUE(f.app.sound().getGroup(1).enabled);
    EXPECT_EQ(f.setup.mPionSet, 1);
    EXPECT_TRUE(f.setup.mInfotip);
}

TEST(WindowOption, SavedSettingsKeepTheChosenLevels)
{
    OptionFixture f;
    Platform::TemporaryDirectory directory;
    Platform::setProgramDirectory(directory.path());
    std::filesystem::create_directories(directory.path() + "data");
    auto* window = f.open();
    window->getMusicSlider()->moveBy(-2);
    window->onResult(1);
    ASSERT_EQ(f.settings.save(), ERROR_OK);
    GameSettings reread;
    ASSERT_EQ(reread.load(), ERROR_OK);
    EXPECT_EQ(reread.getMusicLevel(), 109u);
    EXPECT_EQ(reread.getSoundLevel(), 178u);
}

TEST(WindowOption, LongestPieceSetNameFitsAndTheOpenListLeavesTheButtonsClear)
{
    OptionFixture f;
    const std::string longest = "Jetons blancs et noirs du dragon";
    auto* window = openNow(f.app, new WindowOption(f.setup, f.settings, {"Classique", longest, "Zoo"}));
    ComboBox* combo = window->getPieceSetCombo();
    Font* font = combo->getFont() != nullptr ? combo->getFont() : findFont(0);
    ASSERT_NE(font, nullptr);
    auto text = font->createText(0, 0, 4096, longest, 0xFF000000, font->getLineHeight(), 0);
    EXPECT_GE(combo->getLabel()->getWidth(), text->getMaxLineWidth());
    EXPECT_LE(combo->getX() + combo->getWidth(),
              window->getX() + window->getWidth() - window->getMarginRight());

    combo->openDropList();
    f.app.gui().processDeferred();
    ASSERT_NE(combo->getDropList(), nullptr);
    const Rect list = combo->getDropList()->getListBox()->getRect();
    for (uint32_t index : {0u, 3u})
        EXPECT_LE(list.y + list.height, window->getButton(index)->getY()) << index;
}
