#include "NetworkDirectPlay/NetworkClientDirectPlay.h"

#include "NetworkDirectPlay/DirectPlayCommon.h"

NetworkClientDirectPlay::NetworkClientDirectPlay(Platform::NetTimings timings)
    : DirectPlayEndpoint(Platform::NetRole::ClientServer, timings)
{
}

NetworkClientDirectPlay::~NetworkClientDirectPlay()
{
    stop();
}

ErrorCode NetworkClientDirectPlay::enumHosts(const std::string& hostName, uint32_t count)
{
    return searchHosts(hostName, mRemotePort, count);
}

std::unique_ptr<NetworkPlayerSet> NetworkClientDirectPlay::joinedPlayers(const NetworkSessionInfo&)
{
    return std::make_unique<NetworkServerLink>(this, 0);
}

ErrorCode NetworkClientDirectPlay::close()
{
    return leaveSession();
}

ErrorCode NetworkClientDirectPlay::send(std::unique_ptr<NetworkMessage> message)
{
    std::scoped_lock guard(*this);
    if (!mPlayerSet || !mNet)
        return ERROR_NOT_IN_A_GAME;
    if (!message)
        return ERROR_INVALID;
    return DirectPlay::sendMessage(*mNet, *message, Platform::kNetAllPlayers);
}

void NetworkClientDirectPlay::onReceive(uint32_t number, Platform::NetPlayerId, const uint8_t* data,
                                        uint32_t size)
{
    std::scoped_lock guard(*this);
    if (!isCurrent(number) || !mPlayerSet)
        return;
    std::unique_ptr<NetworkMessage> message;
    if (readNetworkMessage(data, size, message) != ERROR_OK)
        return;
    postReceived(std::move(message), nullptr);
}
