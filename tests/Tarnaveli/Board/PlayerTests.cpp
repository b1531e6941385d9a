#include "BoardTestHelpers.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/ComputerPlayer.h"
#include "Tarnaveli/Board/NetworkPlayer.h"
#include "Tarnaveli/Board/PlayerKinds.h"

#include <gtest/gtest.h>

using namespace BoardTest;

namespace
{
class PlayerTransfer : public ::testing::Test
{
protected:
    void SetUp() override { registerPlayerKinds(); }

    std::vector<uint8_t> write(std::unique_ptr<Player> player)
    {
        VectorOutputStream out;
        EXPECT_EQ(transferPlayer(out, player), ERROR_OK);
        return out.mBytes;
    }
    // Reads a record with the board in the stream's context, as the saved
    // game does.
    ErrorCode read(const std::vector<uint8_t>& bytes, std::unique_ptr<Player>& player, Board* board)
    {
        MemoryInputStream in(bytes.data(), static_cast<uint32_t>(bytes.size()));
        in.setContext(board);
        return transferPlayer(in, player);
    }

    Board mBoard;
};
} // namespace

TEST_F(PlayerTransfer, HumanPlayerKeepsItsSide)
{
    const std::vector<uint8_t> bytes = write(std::make_unique<HumanPlayer>(1));
    EXPECT_EQ(bytes, bytesOf({0, 1}));
    std::unique_ptr<Player> player;
    ASSERT_EQ(read(bytes, player, nullptr), ERROR_OK);
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->getKind(), PLAYER_HUMAN);
    EXPECT_EQ(player->getSide(), 1u);
    EXPECT_NE(dynamic_cast<HumanPlayer*>(player.get()), nullptr);
}

TEST_F(PlayerTransfer, ComputerPlayerComesBackWithLevelBoardAndReflectedTables)
{
    const std::vector<uint8_t> bytes = write(std::make_unique<ComputerPlayer>(&mBoard, 1, 2));
    EXPECT_EQ(bytes, bytesOf({1, 1, 2}));
    Board loaded;
    std::unique_ptr<Player> player;
    ASSERT_EQ(read(bytes, player, &loaded), ERROR_OK);
    auto* computer = dynamic_cast<ComputerPlayer*>(player.get());
    ASSERT_NE(computer, nullptr);
    EXPECT_EQ(computer->getKind(), PLAYER_COMPUTER);
    EXPECT_EQ(computer->getSide(), 1u);
    EXPECT_EQ(computer->getLevel(), 2u);
    EXPECT_EQ(computer->getSearchDepth(), 4u);
    EXPECT_EQ(computer->getBoard(), &loaded);
    // The Rat of side 1 aims at side 0's den, the Cat at (8,5).
    EXPECT_EQ(computer->getDistanceTable(RANK_RAT)[0 * 8 + 3], 0);
    EXPECT_EQ(computer->getDistanceTable(RANK_CAT)[8 * 8 + 5], 0);
    EXPECT_NE(computer->chooseMove(), nullptr);
}

TEST_F(PlayerTransfer, BadRecordsAreRefusedAndLeaveThePlayerUntouched)
{
    struct Case
    {
        const char* name;
        std::vector<uint8_t> bytes;
        bool withBoard;
    };
    const std::vector<Case> cases = {
        {"empty", {}, true},
        {"kind cut short", {1, 0}, true},
        {"remote network kind", bytesOf({2, 0}), true},
        {"local network kind", bytesOf({3, 1}), true},
        {"huge kind", bytesOf({0xFFFFFFFFu, 0}), true},
        {"human without side", bytesOf({0}), true},
        {"human side 2", bytesOf({0, 2}), true},
        {"computer side 7", bytesOf({1, 7, 0}), true},
        {"computer without level", bytesOf({1, 0}), true},
        {"computer level 3", bytesOf({1, 0, 3}), true},
        {"computer level cut short", {1, 0, 0, 0, 1, 0, 0, 0, 2, 0}, true},
        {"computer without a board", bytesOf({1, 0, 1}), false},
    };
    for (const Case& c : cases)
    {
        auto previous = std::make_unique<HumanPlayer>(1);
        Player* held = previous.get();
        std::unique_ptr<Player> player = std::move(previous);
        EXPECT_NE(read(c.bytes, player, c.withBoard ? &mBoard : nullptr), ERROR_OK) << c.name;
        EXPECT_EQ(player.get(), held) << c.name;
        EXPECT_EQ(player->getSide(), 1u) << c.name;
    }
}

TEST_F(PlayerTransfer, ReadingIntoAnExistingComputerKeepsItOnFailure)
{
    ComputerPlayer player(&mBoard, 0, 1);
    const std::vector<uint8_t> bad = bytesOf({1, 9});
    MemoryInputStream in(bad.data(), static_cast<uint32_t>(bad.size()));
    in.setContext(&mBoard);
    EXPECT_EQ(player.serialize(in), ERROR_INVALID);
    EXPECT_EQ(player.getSide(), 0u);
    EXPECT_EQ(player.getLevel(), 1u);
    EXPECT_EQ(player.getSearchDepth(), 3u);
}

TEST_F(PlayerTransfer, NetworkPlayersAreNeverWritten)
{
    std::unique_ptr<Player> player = std::make_unique<NetworkPlayer>(PLAYER_NETWORK_LOCAL, 1);
    VectorOutputStream out;
    EXPECT_EQ(transferPlayer(out, player), ERROR_INVALID);
    EXPECT_TRUE(out.mBytes.empty());
    std::unique_ptr<Player> none;
    EXPECT_EQ(transferPlayer(out, none), ERROR_INVALID);

    // Its own transfer is the side alone, as for every plain player.
    ASSERT_EQ(player->serialize(out), ERROR_OK);
    EXPECT_EQ(out.mBytes, bytesOf({1}));
    NetworkPlayer remote(PLAYER_NETWORK_REMOTE, 0);
    MemoryInputStream in(out.mBytes.data(), static_cast<uint32_t>(out.mBytes.size()));
    ASSERT_EQ(remote.serialize(in), ERROR_OK);
    EXPECT_EQ(remote.getSide(), 1u);
    EXPECT_EQ(remote.getKind(), PLAYER_NETWORK_REMOTE);
}

TEST(PlayerKinds, RegistrationFillsKindsZeroAndOneOnly)
{
    playerCreators().clear();
    registerPlayerKinds();
    ASSERT_EQ(playerCreators().size(), 2u);
    EXPECT_EQ(playerCreators()[PLAYER_HUMAN]()->getKind(), PLAYER_HUMAN);
    std::unique_ptr<Player> computer = playerCreators()[PLAYER_COMPUTER]();
    EXPECT_EQ(computer->getKind(), PLAYER_COMPUTER);
    EXPECT_EQ(computer->getSide(), 0u);
    EXPECT_EQ(static_cast<ComputerPlayer*>(computer.get())->getDistanceTable(0), nullptr);

    playerCreators().resize(5, nullptr);
    registerPlayerKinds(); // a larger table keeps its size
    EXPECT_EQ(playerCreators().size(), 5u);
    EXPECT_EQ(playerCreators()[3], nullptr);
}

TEST(PlayerKinds, TheBoardDestroysPlayersAsTheirFullKind)
{
    // Under the sanitizers a player destroyed through the base would leak the
    // computer's tables; here each kind is handed over and replaced.
    Board board;
    board.setPlayer(0, std::make_unique<ComputerPlayer>(&board, 0, 2));
    board.setPlayer(1, std::make_unique<NetworkPlayer>(PLAYER_NETWORK_REMOTE, 1));
    board.setPlayer(0, std::make_unique<HumanPlayer>(0));
    EXPECT_EQ(board.getPlayer(0)->getKind(), PLAYER_HUMAN);
    EXPECT_EQ(board.getPlayer(1)->getKind(), PLAYER_NETWORK_REMOTE);
    EXPECT_EQ(static_cast<NetworkPlayer*>(board.getPlayer(1))->getInfo(), nullptr);
}
