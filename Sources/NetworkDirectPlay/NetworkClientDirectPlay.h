#pragma once
// The client of the online lobby, on the session layer of Platform/Net in its
// client/server role.
#include "NetworkDirectPlay/DirectPlayEndpoint.h"

#include <memory>

class NetworkClientDirectPlay : public DirectPlayEndpoint<NetworkClient>
{
public:
    explicit NetworkClientDirectPlay(Platform::NetTimings timings = Platform::NetTimings());
    ~NetworkClientDirectPlay() override;

    ErrorCode enumHosts(const std::string& hostName, uint32_t count) override;
    ErrorCode close() override;
    ErrorCode send(std::unique_ptr<NetworkMessage> message) override;

    // The lobby sets both to 2300; servers are looked for on the second.
    void setPorts(uint32_t localPort, uint32_t remotePort)
    {
        mLocalPort = localPort;
        mRemotePort = remotePort;
    }
    uint32_t getLocalPort() const { return mLocalPort; }
    uint32_t getRemotePort() const { return mRemotePort; }

private:
    std::vector<std::unique_ptr<NetworkSessionInfo>>& foundHosts() override { return mServers; }
    std::unique_ptr<NetworkPlayerSet> joinedPlayers(const NetworkSessionInfo& server) override;

    void onPlayerCreated(uint32_t, Platform::NetPlayerId, bool) override {}
    void onPlayerDestroyed(uint32_t, Platform::NetPlayerId) override {}
    void onReceive(uint32_t session, Platform::NetPlayerId from, const uint8_t* data, uint32_t size) override;

    uint32_t mLocalPort = 0;
    uint32_t mRemotePort = 0;
};
