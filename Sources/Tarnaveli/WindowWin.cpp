#include "Tarnaveli/WindowWin.h"

#include "Framework/LangTable.h"
#include "Gui/Label.h"
#include "Gui/Look.h"
#include "Gui/TextField.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/ScoreListView.h"
#include "Tarnaveli/StartupTables.h"

WindowWin::WindowWin(const GameOutcome& outcome, InGameServices& services)
    : Dialog(350, 160, getLangText(LANG_WINDOW_WIN_TITLE), 9, false, true, LOOK_DIALOG), mServices(services)
{
    const uint32_t winner = outcome.winnerSide < 2 ? outcome.winnerSide : 0;
    if (outcome.network)
    {
        mServices.playEffect(outcome.winnerIsLocal ? SOUND_WON : SOUND_LOST);
        mResultText = getLangText(outcome.winnerIsLocal ? LANG_WINDOW_WIN_YOU : LANG_WINDOW_WIN_ADVERS);
    }
    else if (outcome.playerKind[0] == outcome.playerKind[1])
        mResultText = getLangText(winner == 0 ? LANG_WINDOW_WIN_WHITE : LANG_WINDOW_WIN_BLACK);
    else if (outcome.playerKind[winner] == 1)
    {
        mServices.playEffect(SOUND_LOST);
        mResultText = getLangText(LANG_WINDOW_WIN_COMPUTER);
    }
    else
    {
        mServices.playEffect(SOUND_WON);
        mResultText = getLangText(LANG_WINDOW_WIN_YOU);
        // A level the table has no category for cannot hold a record.
        mCandidate = outcome.computerLevel < ScoreTable::CATEGORY_COUNT;
        mCategory = outcome.computerLevel;
        mEntry.mTime = outcome.elapsedMs;
        mEntry.mMoves = outcome.moves;
    }

    const int32_t left = getContentLeft();
    const int32_t top = getContentTop();
    const int32_t width = getContentWidth();
    mPanel = new Container(left, top, width, 160, LOOK_EMPTY);
    mPanel->addChild(std::make_unique<Label>(0, 0, width, 40, mResultText, 0xFF000000, 0));
    ScoreTable* table = mServices.getScoreTable();
    if (mCandidate && table != nullptr && table->qualifies(mEntry, mCategory))
    {
        mPanel->addChild(std::make_unique<Label>(0, 40, width, 64, getLangText(LANG_WINDOW_WIN_ENTER_NICK),
                                                 0xFF000000, TEXT_WORD_WRAP));
        mNameField = new TextField(0, 112, width, 32, std::string(), NAME_LENGTH, 0xFF000000);
        mPanel->addChild(mNameField);
    }
    addChild(mPanel);
}

void WindowWin::onResult(uint32_t buttonBits)
{
    mServices.leaveToMainMenu(std::string());
    ScoreTable* table = mServices.getScoreTable();
    if (buttonBits == 1 && mCandidate && table != nullptr)
    {
        int32_t row = -1;
        if (mNameField != nullptr)
        {
            mEntry.mName = mNameField->getText();
            const uint32_t position = table->insert(mEntry, mCategory);
            // A record that fell off the end has no row to mark.
            if (position < table->getMaxEntries())
                row = static_cast<int32_t>(position);
            table->save();
        }
        (new ScoreListView(table, mCategory, row))->open();
    }
    close();
}
