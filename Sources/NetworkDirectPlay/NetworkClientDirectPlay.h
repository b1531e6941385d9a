#pragma once
// The client of the online lobby, on the session layer of Platform/Net in its
// client/server role. Notifications are handled as the peer handles them:
// under the endpoint's lock, and only for the connection of now.
#include "Network/NetworkClient.h"
#include "Platform/Net/NetSession.h"

#include <memory>

class NetworkClientDirectPlay : public NetworkClient, private Platform::NetHandler
{
public:
    explicit NetworkClientDirectPlay(Platform::NetTimings timings = Platform::NetTimings());
    ~NetworkClientDirectPlay() override;

    ErrorCode init() override;
    ErrorCode enumHosts(const std::string& hostName, uint32_t count) override;
    ErrorCode cancelEnumeration() override;
    ErrorCode connect(const NetworkSessionInfo& server) override;
    ErrorCode cancelConnect() override;
    ErrorCode close() override;
    ErrorCode send(std::unique_ptr<NetworkMessage> message) override;
    ErrorCode setApplicationGuid(const void* bytes, uint32_t size) override;

    // The lobby sets both to 2300; servers are looked for on the second.
    void setPorts(uint32_t localPort, uint32_t remotePort)
    {
        mLocalPort = localPort;
        mRemotePort = remotePort;
    }
    bool isEnumerating() const { return mEnumerating; }
    bool isConnecting() const { return mPendingServer != nullptr; }
    uint32_t getLocalPort() const { return mLocalPort; }
    uint32_t getRemotePort() const { return mRemotePort; }

private:
    void forgetConnection();

    void onHostFound(const Platform::NetHostInfo& host) override;
    void onHostLost(const Platform::NetHostInfo& host) override;
    void onConnectComplete(uint32_t session, Platform::NetConnectResult result) override;
    void onPlayerCreated(uint32_t, Platform::NetPlayerId, bool) override {}
    void onPlayerDestroyed(uint32_t, Platform::NetPlayerId) override {}
    void onReceive(uint32_t session, Platform::NetPlayerId from, const uint8_t* data, uint32_t size) override;
    void onSessionEnded(uint32_t session, Platform::NetCloseReason reason) override;

    Platform::NetTimings mTimings;
    std::unique_ptr<Platform::NetSession> mNet;
    std::unique_ptr<NetworkSessionInfo> mPendingServer;
    uint32_t mSessionNumber = 0;
    bool mEnumerating = false;
    uint32_t mLocalPort = 0;
    uint32_t mRemotePort = 0;
    uint8_t mApplicationGuid[16];
};
