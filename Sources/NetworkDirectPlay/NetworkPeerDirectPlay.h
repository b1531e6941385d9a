#pragma once
// The peer of network games, on the session layer of Platform/Net. The
// session layer calls the handler on its I/O thread; every notification takes
// the endpoint's lock for its whole length and is dropped unless it belongs to
// the session the peer is in now, so a late notification never reaches a
// session that was closed, cancelled or replaced.
#include "Network/NetworkPeer.h"
#include "NetworkDirectPlay/NetworkPlayerDirectPlay.h"
#include "Platform/Net/NetSession.h"

#include <memory>

class NetworkSessionDirectPlay : public NetworkSession
{
public:
    using NetworkSession::NetworkSession;
    // The table's share of the player with that id, or null.
    std::shared_ptr<NetworkPlayerDirectPlay> findById(uint32_t playerId) const;
};

class NetworkPeerDirectPlay : public NetworkPeer, private Platform::NetHandler
{
public:
    NetworkPeerDirectPlay(uint32_t hostPort, uint32_t remotePort,
                          Platform::NetTimings timings = Platform::NetTimings());
    // Stops the I/O thread before anything it could touch goes away. Never
    // called with the endpoint's lock held.
    ~NetworkPeerDirectPlay() override;

    ErrorCode init() override;
    ErrorCode host(const std::string& sessionName, uint32_t maxPlayers) override;
    ErrorCode enumHosts(const std::string& hostName, uint32_t count) override;
    ErrorCode cancelEnumeration() override;
    bool isListingUnreachable() override;
    ErrorCode connect(const NetworkSessionInfo& session) override;
    ErrorCode cancelConnect() override;
    ErrorCode closeSession() override;
    ErrorCode send(std::unique_ptr<NetworkMessage> message, NetworkPlayerInfo* target) override;
    ErrorCode setApplicationGuid(const void* bytes, uint32_t size) override;
    NetworkPlayerInfo* getLocalPlayer() const override { return mLocalPlayer.get(); }

    bool isEnumerating() const { return mEnumerating; }
    bool isConnecting() const { return mPendingConnection != nullptr; }
    // The port of the hosted session (tests host on a free port).
    uint16_t getHostedPort();
    void setRemotePort(uint32_t port) { mRemotePort = port; }
    // The session layer itself, for tests that cut a link.
    Platform::NetSession* getSessionLayer() { return mNet.get(); }

private:
    NetworkSessionDirectPlay* session() const
    {
        return static_cast<NetworkSessionDirectPlay*>(mPlayerSet.get());
    }
    bool isCurrent(uint32_t session) const { return session != 0 && session == mSessionNumber; }
    void forgetSession();

    void onHostFound(const Platform::NetHostInfo& host) override;
    void onHostLost(const Platform::NetHostInfo& host) override;
    void onConnectComplete(uint32_t session, Platform::NetConnectResult result) override;
    void onPlayerCreated(uint32_t session, Platform::NetPlayerId player, bool isLocal) override;
    void onPlayerDestroyed(uint32_t session, Platform::NetPlayerId player) override;
    void onReceive(uint32_t session, Platform::NetPlayerId from, const uint8_t* data, uint32_t size) override;
    void onSessionEnded(uint32_t session, Platform::NetCloseReason reason) override;

    Platform::NetTimings mTimings;
    std::unique_ptr<Platform::NetSession> mNet;
    std::shared_ptr<NetworkPlayerDirectPlay> mLocalPlayer;
    std::unique_ptr<NetworkSessionInfo> mPendingConnection;
    uint32_t mSessionNumber = 0; // 0: no session
    bool mEnumerating = false;
    uint8_t mApplicationGuid[16];
};

// The game's network object: the peer on the given ports.
std::unique_ptr<NetworkPeer> createNetworkPeerDirectPlay(uint32_t hostPort, uint32_t remotePort);
