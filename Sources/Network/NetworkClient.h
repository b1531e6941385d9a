#pragma once
// The client of the online lobby: finds the server, connects to it and sends
// it messages. Results arrive as events (NetworkEndpoint).
#include "Network/NetworkEndpoint.h"
#include "Network/NetworkSessionInfo.h"

#include <memory>
#include <string>
#include <vector>

class NetworkClient : public NetworkEndpoint
{
public:
    virtual ErrorCode init() = 0;
    virtual ErrorCode enumHosts(const std::string& hostName, uint32_t count) = 0;
    virtual ErrorCode cancelEnumeration() = 0;
    virtual ErrorCode connect(const NetworkSessionInfo& server) = 0;
    virtual ErrorCode cancelConnect() = 0;
    virtual ErrorCode close() = 0;
    // To the server. The message is destroyed in every case.
    virtual ErrorCode send(std::unique_ptr<NetworkMessage> message) = 0;
    virtual ErrorCode setApplicationGuid(const void* bytes, uint32_t size) = 0;

    const std::string& getNickname() const { return mNickname; }
    void setNickname(std::string nickname) { mNickname = std::move(nickname); }
    const std::vector<std::unique_ptr<NetworkSessionInfo>>& getServers() const { return mServers; }

protected:
    std::string mNickname;
    std::vector<std::unique_ptr<NetworkSessionInfo>> mServers;
};
