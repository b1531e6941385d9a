#pragma once
// Who chooses the moves of one side. The board owns its two players and
// destroys them as their full kind.
#include "Framework/BinaryStream.h"

#include <cstdint>

enum : uint32_t
{
    PLAYER_HUMAN = 0,
    PLAYER_COMPUTER = 1,
    PLAYER_NETWORK_REMOTE = 2,
    PLAYER_NETWORK_LOCAL = 3
};

class Player
{
public:
    Player(uint32_t kind, uint32_t side) : mKind(kind), mSide(side) {}
    virtual ~Player() = default;
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Transfers the 4-byte side. A side read other than 0 or 1 is refused
    // (ERROR_INVALID) and the player keeps its side.
    virtual ErrorCode serialize(BinaryStream& stream);

    uint32_t getKind() const { return mKind; }
    uint32_t getSide() const { return mSide; }

protected:
    // Transfers a side through a local, so a refused value never lands.
    static ErrorCode transferSide(BinaryStream& stream, uint32_t& side);

    uint32_t mKind;
    uint32_t mSide;
};

// A person at this machine.
class HumanPlayer : public Player
{
public:
    HumanPlayer() : Player(PLAYER_HUMAN, 0) {}
    explicit HumanPlayer(uint32_t side) : Player(PLAYER_HUMAN, side) {}
};
