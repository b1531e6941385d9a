#pragma once
// A player of a peer session: the session layer's player id and the player's
// host address, taken when the player appeared.
#include "Network/NetworkPlayerInfo.h"

#include <cstdint>
#include <string>

class NetworkPlayerDirectPlay : public NetworkPlayerInfo
{
public:
    NetworkPlayerDirectPlay(std::string name, bool namePending, uint32_t playerId = 0)
        : NetworkPlayerInfo(std::move(name), namePending), mPlayerId(playerId)
    {
    }

    // The address, once known; when it could not be found, the first call
    // says so in a message box and the text stays empty.
    virtual const std::string& getHostAddress();

    uint32_t getPlayerId() const { return mPlayerId; }
    void setPlayerId(uint32_t playerId) { mPlayerId = playerId; }
    void setHostAddress(std::string address, bool found);

private:
    uint32_t mPlayerId;
    std::string mHostAddress;
    bool mAddressFound = false;
    bool mFailureShown = false;
};
