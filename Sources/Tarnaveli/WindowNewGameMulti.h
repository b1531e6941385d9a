#pragma once
// The network menu: host a game, join one, go to the online server, or back
// to the main menu, with the player's nickname under the entries.
#include "Tarnaveli/MenuServices.h"
#include "Tarnaveli/TextMenuWindowBase.h"

class Label;
class TextField;

class WindowNewGameMulti : public TextMenuWindowBase
{
public:
    static constexpr uint32_t NICKNAME_LENGTH = 24;

    enum Entry : uint32_t
    {
        CREATE,
        JOIN,
        ONLINE,
        BACK
    };

    // Starts the menu's background video.
    explicit WindowNewGameMulti(MenuServices& services);

    // Runs the messages that arrive while the menu is open; drops the rest.
    void animate() override;

    // An empty nickname is refused with a message; otherwise it becomes the
    // peer's and the set-up's.
    bool checkNickname();
    void createGame();

    TextField* getNicknameField() const { return mNickname; }

private:
    MenuServices& mServices;
    TextField* mNickname = nullptr;
};
