// Reads a player record (kind, then the player's own fields) from untrusted
// bytes, as a saved game does, half the time with a board in the stream's
// context. A record that is accepted must be valid and write back as the same
// bytes; a refused one must leave the previous player in place.
#include "Framework/BinaryStream.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/ComputerPlayer.h"
#include "Tarnaveli/Board/PlayerKinds.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
class VectorOutputStream : public OutputStream
{
public:
    ErrorCode transfer(void* address, uint32_t byteCount) override
    {
        const auto* bytes = static_cast<const uint8_t*>(address);
        mBytes.insert(mBytes.end(), bytes, bytes + byteCount);
        return ERROR_OK;
    }
    ErrorCode seek(uint32_t) override { return ERROR_INVALID; }
    uint32_t tell() override { return static_cast<uint32_t>(mBytes.size()); }
    bool isAtEnd() override { return true; }
    std::vector<uint8_t> mBytes;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0 || size > 64)
        return 0;
    static bool registered = (registerPlayerKinds(), true);
    (void)registered;

    Board board;
    const bool withBoard = (data[0] & 1) != 0;
    MemoryInputStream in(data + 1, static_cast<uint32_t>(size - 1));
    in.setContext(withBoard ? &board : nullptr);

    std::unique_ptr<Player> previous = createHumanPlayer();
    Player* held = previous.get();
    std::unique_ptr<Player> player = std::move(previous);
    if (transferPlayer(in, player) != ERROR_OK)
    {
        if (player.get() != held)
            std::abort();
        return 0;
    }
    if (player->getSide() > 1 || player->getKind() > PLAYER_COMPUTER)
        std::abort();
    if (player->getKind() == PLAYER_COMPUTER)
    {
        auto* computer = static_cast<ComputerPlayer*>(player.get());
        if (!withBoard || computer->getLevel() > 2 || computer->getBoard() != &board)
            std::abort();
        if (computer->getDistanceTable(7) == nullptr)
            std::abort();
    }
    VectorOutputStream out;
    if (transferPlayer(out, player) != ERROR_OK || out.mBytes.size() != in.tell() ||
        std::memcmp(out.mBytes.data(), data + 1, out.mBytes.size()) != 0)
        std::abort();
    return 0;
}
