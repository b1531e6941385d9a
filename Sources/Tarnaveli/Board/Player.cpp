#include "Tarnaveli/Board/Player.h"

#include "Tarnaveli/Board/ComputerPlayer.h"
#include "Tarnaveli/Board/PlayerKinds.h"

ErrorCode Player::transferSide(BinaryStream& stream, uint32_t& side)
{
    uint32_t value = side;
    if (ErrorCode error = stream.transferValue(value))
        return error;
    if (stream.isReading())
    {
        if (value > 1)
            return ERROR_INVALID;
        side = value;
    }
    return ERROR_OK;
}

ErrorCode Player::serialize(BinaryStream& stream)
{
    return transferSide(stream, mSide);
}

std::unique_ptr<Player> createHumanPlayer()
{
    return std::make_unique<HumanPlayer>();
}

std::unique_ptr<Player> createComputerPlayer()
{
    return std::make_unique<ComputerPlayer>();
}

std::vector<PlayerCreator>& playerCreators()
{
    static std::vector<PlayerCreator> table;
    return table;
}

void registerPlayerKinds()
{
    std::vector<PlayerCreator>& table = playerCreators();
    if (table.size() < 2)
        table.resize(2, nullptr);
    table[PLAYER_COMPUTER] = createComputerPlayer;
    table[PLAYER_HUMAN] = createHumanPlayer;
}

namespace
{
PlayerCreator creatorOf(uint32_t kind)
{
    const std::vector<PlayerCreator>& table = playerCreators();
    return kind < table.size() ? table[kind] : nullptr;
}
} // namespace

ErrorCode transferPlayer(BinaryStream& stream, std::unique_ptr<Player>& player)
{
    if (!stream.isReading())
    {
        if (!player || creatorOf(player->getKind()) == nullptr)
            return ERROR_INVALID;
        uint32_t kind = player->getKind();
        if (ErrorCode error = stream.transferValue(kind))
            return error;
        return player->serialize(stream);
    }

    uint32_t kind = 0;
    if (ErrorCode error = stream.transferValue(kind))
        return error;
    PlayerCreator creator = creatorOf(kind);
    if (creator == nullptr)
        return ERROR_INVALID;
    std::unique_ptr<Player> created = creator();
    if (!created || created->getKind() != kind)
        return ERROR_INVALID;
    if (ErrorCode error = created->serialize(stream))
        return error;
    player = std::move(created);
    return ERROR_OK;
}
