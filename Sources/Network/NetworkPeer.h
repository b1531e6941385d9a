#pragma once
// The peer of network games between two copies of the program: host, list
// hosts, join, send, leave. Results arrive as events (NetworkEndpoint).
// host, connect and cancelConnect take the endpoint's lock themselves; the
// other operations expect the caller to hold it, as every caller does.
#include "Network/NetworkEndpoint.h"
#include "Network/NetworkSessionInfo.h"

#include <memory>
#include <string>
#include <vector>

class NetworkPeer : public NetworkEndpoint
{
public:
    // The local port hosted sessions listen on and the port other hosts are
    // looked for on; the game uses 2301 for both.
    NetworkPeer(uint32_t hostPort, uint32_t remotePort) : mHostPort(hostPort), mRemotePort(remotePort) {}

    uint32_t getHostPort() const { return mHostPort; }

    virtual ErrorCode init() = 0;
    virtual ErrorCode host(const std::string& sessionName, uint32_t maxPlayers) = 0;
    // An empty host name asks the local network; a count of 0 asks until
    // cancelled.
    virtual ErrorCode enumHosts(const std::string& hostName, uint32_t count) = 0;
    virtual ErrorCode cancelEnumeration() = 0;
    // True while the listing runs but none of its queries could be sent
    // anywhere (no network up, no route): no game can answer it.
    virtual bool isListingUnreachable() { return false; }
    virtual ErrorCode connect(const NetworkSessionInfo& session) = 0;
    virtual ErrorCode cancelConnect() = 0;
    virtual ErrorCode closeSession() = 0;
    // To one player, or to every other player when target is null. The
    // message is destroyed in every case.
    virtual ErrorCode send(std::unique_ptr<NetworkMessage> message, NetworkPlayerInfo* target) = 0;
    virtual ErrorCode setApplicationGuid(const void* bytes, uint32_t size) = 0;

    // Null outside a session.
    virtual NetworkPlayerInfo* getLocalPlayer() const = 0;
    const std::string& getNickname() const { return mNickname; }
    void setNickname(std::string nickname) { mNickname = std::move(nickname); }
    // The sessions found by the last enumeration, in the order they answered.
    const std::vector<std::unique_ptr<NetworkSessionInfo>>& getSessions() const { return mSessions; }

protected:
    uint32_t mHostPort;
    uint32_t mRemotePort;
    std::string mNickname;
    std::vector<std::unique_ptr<NetworkSessionInfo>> mSessions;
};
