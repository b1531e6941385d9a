#include "Tarnaveli/ScriptedRun.h"

#include "Gui/Component.h"
#include "Gui/Container.h"
#include "Gui/FileDialog.h"
#include "Gui/GuiManager.h"
#include "Platform/System/Text1252.h"
#include "Tarnaveli/GameApplication.h"
#include "Tarnaveli/GameScreen.h"

#include <cstdlib>

namespace
{
// Steps one a frame, so that every window the previous step opened has been
// added by the GUI manager's queue before the next looks for it. Sits
// invisible at the bottom of the root.
class ScriptedRun final : public Component
{
public:
    explicit ScriptedRun(std::string saveName) : Component(0, 0, 0, 0), mSaveName(std::move(saveName))
    {
        setVisible(false);
    }
    bool isHoverable() override { return false; }

    void animate() override
    {
        GameApplication* game = GameApplication::current();
        GuiManager* gui = GuiManager::current();
        if (game == nullptr || gui == nullptr)
            return;
        switch (mStep)
        {
        case Step::StartGame:
            game->startLocalGame(LocalGameRequest{});
            mStep = Step::OpenSaveDialog;
            break;
        case Step::OpenSaveDialog:
            if (GameScreen::current() == nullptr)
                return;
            game->openSaveDialog();
            mStep = Step::Save;
            break;
        case Step::Save:
            for (Component* child : gui->getRoot()->getChildren())
                if (auto* dialog = dynamic_cast<FileDialog*>(child))
                {
                    dialog->setName(mSaveName);
                    dialog->onResult(1);
                    mStep = Step::ChangeSetting;
                }
            break;
        case Step::ChangeSetting:
            if (GameSettings* settings = game->getGameSettings())
                settings->setMusicLevel(kScriptedMusicLevel);
            mStep = Step::Quit;
            break;
        case Step::Quit:
            game->quitApplication(false);
            mStep = Step::Done;
            break;
        case Step::Done:
            break;
        }
    }

private:
    enum class Step
    {
        StartGame,
        OpenSaveDialog,
        Save,
        ChangeSetting,
        Quit,
        Done
    };
    std::string mSaveName;
    Step mStep = Step::StartGame;
};

// The game whose main menu has the script under it.
class ScriptedGameApplication final : public GameApplication
{
public:
    ScriptedGameApplication(const ApplicationSettings& settings, std::string saveName)
        : GameApplication(settings), mSaveName(std::move(saveName))
    {
    }
    void openMainMenu() override
    {
        if (GuiManager* gui = GuiManager::current())
            gui->getRoot()->addChild(std::make_unique<ScriptedRun>(mSaveName));
        GameApplication::openMainMenu();
    }

private:
    std::string mSaveName;
};
} // namespace

std::unique_ptr<GameApplication> makeApplicationFromEnvironment(const ApplicationSettings& settings)
{
    const char* name = std::getenv("VELMORIQUE_SCRIPTED_RUN");
    if (name == nullptr || name[0] == '\0')
        return std::make_unique<GameApplication>(settings);
    // The name comes from the shell in UTF-8; the program spells it in 1252.
    return std::make_unique<ScriptedGameApplication>(settings, Platform::utf8ToCp1252(name));
}
