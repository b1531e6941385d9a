#include "GuiTestSupport.h"
#include "SkinTestSupport.h"

#include "Framework/LangTable.h"
#include "Gui/FileDialog.h"
#include "Platform/System/Clock.h"
#include "Platform/System/Paths.h"

#include <fstream>
#include <sys/stat.h>

namespace
{

struct FileDialogFixture
{
    FileDialogFixture()
    {
        resetTimeBase();
        mkdir((dir.path() + "saves").c_str(), 0755);
        for (const char* name : {"a.sav", "B.SAV", "notes.txt", "saves/inner.sav"})
            std::ofstream(dir.path() + name) << "x";
        mkdir((dir.path() + "zeta").c_str(), 0755);
    }
    FileDialog* open(bool saveMode)
    {
        dialog = new FileDialog(
            "Fichiers", 500, 400, dir.path(), saveMode,
            [this](FileDialog* sender, uint32_t value)
            {
                EXPECT_EQ(value, 9u);
                results.push_back(sender->getAcceptedPath());
            },
            9);
        dialog->addFilter({".sav"}, "Parties", 5);
        return openNow(app, dialog);
    }
    std::vector<std::string> names() const
    {
        std::vector<std::string> result;
        for (const FileDialog::Entry& entry : dialog->getEntries())
            result.push_back(entry.name);
        return result;
    }
    MessageDialog* topMessage()
    {
        app.gui().processDeferred();
        return dynamic_cast<MessageDialog*>(app.root().getChildren().back());
    }

    Platform::ManualClock clock;
    Platform::TemporaryDirectory dir{};
    GuiTestApplication app;
    FileDialog* dialog = nullptr;
    std::vector<std::string> results;
};

} // namespace

TEST(FileDialog, ListsSubfoldersAndFilesOfTheCurrentFilterWhateverTheirCase)
{
    FileDialogFixture f;
    FileDialog* dialog = f.open(false);
    EXPECT_EQ(dialog->getFolder(), f.dir.path()) << "already ends in a separator";
    EXPECT_EQ(f.names(), (std::vector<std::string>{"..", "B.SAV", "a.sav", "saves", "zeta"}));
    EXPECT_EQ(dialog->getList()->getRowCount(), 5u) << "one row per entry";
    EXPECT_EQ(dialog->getFolderField()->getText(), f.dir.path());
    EXPECT_FALSE(dialog->isFilterChoiceShown()) << "one filter: no choice";

    dialog->addFilter({".txt", ""}, "Tout", 6);
    EXPECT_TRUE(dialog->isFilterChoiceShown());
    EXPECT_TRUE(dialog->getFilterChoice()->isVisible());
    EXPECT_EQ(dialog->getFilterChoice()->getItem(1).text, "Tout (*.txt, *.*)");
    EXPECT_EQ(dialog->getFilters()[1].label, "Tout (*.txt, *.*)");
    dialog->selectFilter(1);
    EXPECT_EQ(f.names(), (std::vector<std::string>{"..", "B.SAV", "a.sav", "notes.txt", "saves", "zeta"}));
}

TEST(FileDialog, AGameFolderOpensWhereItIsAndDotDotLeadsUpToTheRoot)
{
    Platform::ManualClock clock;
    ScratchProgramFolder program;
    GuiTestApplication app;
    FileDialog* dialog = openNow(app, new FileDialog("Fichiers", 500, 400, "data\\saves", false, nullptr, 0));
    EXPECT_EQ(dialog->getFolder(), program.path() + "data/saves/");
    EXPECT_EQ(dialog->getFolderField()->getText(), dialog->getFolder());
    EXPECT_TRUE(program.exists("data/saves")) << "made when missing";

    dialog->setName("..");
    dialog->onResult(1);
    EXPECT_EQ(dialog->getFolder(), program.path() + "data/") << "by OK";
    ASSERT_EQ(dialog->getEntries().front().name, "..");
    dialog->clickRow(0);
    dialog->clickRow(0);
    EXPECT_EQ(dialog->getFolder(), program.path()) << "by double click";
    EXPECT_EQ(dialog->getEntries().back().name, "data") << "lists the program's folder";

    for (int up = 0; up < 64 && dialog->getFolder() != "/"; ++up)
        dialog->validate("..");
    EXPECT_EQ(dialog->getFolder(), "/");
}

TEST(FileDialog, TwoClicksWithin500MsOpenARowFurtherApartTheyOnlySelect)
{
    FileDialogFixture f;
    FileDialog* dialog = f.open(false);
    dialog->clickRow(3);
    EXPECT_EQ(dialog->getName(), "saves");
    f.clock.advanceMs(600);
    dialog->clickRow(3);
    EXPECT_EQ(dialog->getFolder(), f.dir.path()) << "600 ms apart: only selected";
    f.clock.advanceMs(500);
    dialog->clickRow(3);
    EXPECT_EQ(dialog->getFolder(), f.dir.path() + "saves/");
    EXPECT_EQ(f.names(), (std::vector<std::string>{"..", "inner.sav"}));
    EXPECT_EQ(dialog->getName(), "") << "listing empties the name";

    dialog->validate("..");
    EXPECT_EQ(dialog->getFolder(), f.dir.path());
}

TEST(FileDialog, ClickOnARowThroughTheTreeTakesItsName)
{
    FileDialogFixture f;
    FileDialog* dialog = f.open(false);
    Component* row = dialog->getList()->getRow(2);
    f.app.click(row->getX() + 20, row->getY() + 2);
    EXPECT_EQ(dialog->getName(), "a.sav");
    f.app.click(row->getX() + 20, row->getY() + 2);
    EXPECT_EQ(f.results, (std::vector<std::string>{f.dir.path() + "a.sav"}))
        << "a double click opens the file";
}

TEST(FileDialog, OpeningAcceptsAnExistingFileAndReportsAMissingOne)
{
    FileDialogFixture f;
    FileDialog* dialog = f.open(false);
    dialog->setName("absent");
    dialog->onResult(1);
    EXPECT_TRUE(f.results.empty());
    MessageDialog* message = f.topMessage();
    ASSERT_NE(message, nullptr);
    EXPECT_NE(message->getButton(0), nullptr);
    EXPECT_EQ(message->getButtonCount(), 1u);
    message->onResult(1);

    dialog->setName("a");
    dialog->onResult(1);
    EXPECT_EQ(f.results, (std::vector<std::string>{f.dir.path() + "a.sav"}))
        << "the filter's extension is added";
}

TEST(FileDialog, SavingUnderANameWithoutExtensionTakesTheFilters)
{
    FileDialogFixture f;
    FileDialog* dialog = f.open(true);
    dialog->setName("partie");
    EXPECT_EQ(dialog->getFilePath(), f.dir.path() + "partie.sav");
    dialog->onResult(1);
    EXPECT_EQ(f.results, (std::vector<std::string>{f.dir.path() + "partie.sav"}));
}

TEST(FileDialog, SavingOverAFileAsksYesNoOrCancel)
{
    FileDialogFixture f;
    FileDialog* dialog = f.open(true);
    dialog->setName("a.sav");
    dialog->onResult(1);
    EXPECT_TRUE(f.results.empty());
    MessageDialog* question = f.topMessage();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->getButtonCount(), 3u) << "yes, no and cancel";
    question->onResult(8);
    EXPECT_TRUE(f.results.empty()) << "cancel leaves the dialog open";
    f.app.gui().processDeferred();

    dialog->onResult(1);
    f.topMessage()->onResult(4);
    EXPECT_EQ(f.results, (std::vector<std::string>{""})) << "no: the owner sees an empty path";

    FileDialog* again = f.open(true);
    again->setName("a.sav");
    again->onResult(1);
    f.topMessage()->onResult(2);
    EXPECT_EQ(f.results.back(), f.dir.path() + "a.sav");
}

TEST(FileDialog, CancelEmptiesTheNameCallsBackAndCloses)
{
    FileDialogFixture f;
    FileDialog* dialog = f.open(false);
    dialog->setName("a.sav");
    dialog->onResult(8);
    EXPECT_EQ(f.results, (std::vector<std::string>{""}));
    f.app.gui().processDeferred();
    EXPECT_TRUE(f.app.root().getChildren().empty());
}

TEST(FileDialog, RootHasNoWayUp)
{
    GuiTestApplication app;
    FileDialog dialog("Fichiers", 500, 400, "/", false, nullptr, 0);
    dialog.listFolder();
    ASSERT_FALSE(dialog.getEntries().empty());
    EXPECT_NE(dialog.getEntries().front().name, "..");
    dialog.validate("..");
    EXPECT_EQ(dialog.getFolder(), "/");
}

TEST(FileDialog, TypingAFolderOrChoosingAFilterListsAgain)
{
    FileDialogFixture f;
    FileDialog* dialog = f.open(false);
    dialog->addFilter({".txt"}, "Textes", 6);
    ComboBox* choice = dialog->getFilterChoice();
    choice->setSelectedIndex(1);
    choice->onChange.invoke(choice);
    EXPECT_EQ(dialog->getFilterIndex(), 1u);
    EXPECT_EQ(f.names(), (std::vector<std::string>{"..", "notes.txt", "saves", "zeta"}));

    TextField* folder = dialog->getFolderField();
    folder->setText(f.dir.path() + "saves");
    folder->onChange.invoke(folder);
    EXPECT_EQ(dialog->getFolder(), f.dir.path() + "saves/");
    EXPECT_EQ(f.names(), (std::vector<std::string>{".."})) << "no text file there";
}
