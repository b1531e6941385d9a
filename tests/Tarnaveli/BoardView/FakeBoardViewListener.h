#pragma once
// Records what the board view reports and, like the in-game screen, starts
// the moves it is handed.
#include "Tarnaveli/Board/Move.h"
#include "Tarnaveli/Board/Piece.h"
#include "Tarnaveli/BoardView/BoardGraphics.h"
#include "Tarnaveli/BoardView/BoardViewListener.h"

#include <string>
#include <vector>

class FakeBoardViewListener final : public BoardViewListener
{
public:
    static std::string describe(const Move& move)
    {
        // Side/rank>target: a move's from cell is only known once played.
        return std::to_string(move.getOwner()->getSide()) + "/" + std::to_string(move.getOwner()->getRank()) +
               ">" + std::to_string(move.getTargetX()) + "," + std::to_string(move.getTargetY());
    }

    void onMoveStarted(const Move& move) override { log.push_back("started " + describe(move)); }
    void onMoveFinished(const Move& move) override { log.push_back("finished " + describe(move)); }
    void onMoveUndone() override { log.push_back("undone"); }
    void onPieceSelected(Piece& piece) override
    {
        log.push_back("selected " + std::to_string(piece.getSide()) + " " + std::to_string(piece.getRank()));
    }
    void playMove(const Move& move) override
    {
        log.push_back("play " + describe(move));
        if (view != nullptr)
            view->startMove(move);
    }
    void sendMove(uint32_t rank, uint32_t index) override
    {
        log.push_back("send " + std::to_string(rank) + " " + std::to_string(index));
    }
    void onGameOver(uint32_t winner) override { log.push_back("game over " + std::to_string(winner)); }
    void openGameMenu() override { log.push_back("menu"); }
    void openChatWindow() override { log.push_back("chat"); }
    bool isChatWindowOpen() const override { return chatOpen; }

    BoardGraphics* view = nullptr;
    bool chatOpen = false;
    std::vector<std::string> log;
};
