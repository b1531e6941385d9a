#pragma once
// The peer of network games, on the session layer of Platform/Net.
#include "NetworkDirectPlay/DirectPlayEndpoint.h"
#include "NetworkDirectPlay/NetworkPlayerDirectPlay.h"

#include <memory>

class NetworkSessionDirectPlay : public NetworkSession
{
public:
    using NetworkSession::NetworkSession;
    // The table's share of the player with that id, or null.
    std::shared_ptr<NetworkPlayerDirectPlay> findById(uint32_t playerId) const;
};

class NetworkPeerDirectPlay : public DirectPlayEndpoint<NetworkPeer>
{
public:
    NetworkPeerDirectPlay(uint32_t hostPort, uint32_t remotePort,
                          Platform::NetTimings timings = Platform::NetTimings());
    // Stops the I/O thread before anything it could touch goes away. Never
    // called with the endpoint's lock held.
    ~NetworkPeerDirectPlay() override;

    ErrorCode host(const std::string& sessionName, uint32_t maxPlayers) override;
    ErrorCode enumHosts(const std::string& hostName, uint32_t count) override;
    bool isListingUnreachable() override;
    ErrorCode closeSession() override;
    ErrorCode send(std::unique_ptr<NetworkMessage> message, NetworkPlayerInfo* target) override;
    NetworkPlayerInfo* getLocalPlayer() const override { return mLocalPlayer.get(); }

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
    void forgetSession() override;
    std::vector<std::unique_ptr<NetworkSessionInfo>>& foundHosts() override { return mSessions; }
    std::unique_ptr<NetworkPlayerSet> joinedPlayers(const NetworkSessionInfo& target) override;

    void onPlayerCreated(uint32_t session, Platform::NetPlayerId player, bool isLocal) override;
    void onPlayerDestroyed(uint32_t session, Platform::NetPlayerId player) override;
    void onReceive(uint32_t session, Platform::NetPlayerId from, const uint8_t* data, uint32_t size) override;

    std::shared_ptr<NetworkPlayerDirectPlay> mLocalPlayer;
};

// The game's network object: the peer on the given ports.
std::unique_ptr<NetworkPeer> createNetworkPeerDirectPlay(uint32_t hostPort, uint32_t remotePort);
