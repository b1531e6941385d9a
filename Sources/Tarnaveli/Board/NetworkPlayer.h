#pragma once
// A side of a network game: the remote opponent (kind 2), whose moves arrive
// as messages, or the local person (kind 3), whose moves are sent. Network
// games are never saved, so these players have no creator.
#include "Tarnaveli/Board/Player.h"

// The network layer's record of a player (its name shows in the chat panel).
class NetworkPlayerInfo;

class NetworkPlayer : public Player
{
public:
    // kind is PLAYER_NETWORK_REMOTE or PLAYER_NETWORK_LOCAL. The record is not
    // owned: the network session that holds it clears it here before it lets
    // the record go.
    NetworkPlayer(uint32_t kind, uint32_t side, NetworkPlayerInfo* info = nullptr)
        : Player(kind, side), mInfo(info)
    {
    }

    NetworkPlayerInfo* getInfo() const { return mInfo; }
    void setInfo(NetworkPlayerInfo* info) { mInfo = info; }

private:
    NetworkPlayerInfo* mInfo;
};
