#pragma once
// What the peer and the lobby's client do alike on the session layer: start
// it, search for hosts, connect and learn how the connect ended, notice the
// end of the session. Base is the endpoint interface (NetworkPeer or
// NetworkClient); the class on top says what a session holds (its player
// set) and handles the players and the messages.
//
// The session layer calls the handler on its I/O thread; every notification
// takes the endpoint's lock for its whole length and is dropped unless it
// belongs to the session of now, so a late notification never reaches a
// session that was closed, cancelled or replaced.
#include "Network/NetworkClient.h"
#include "Network/NetworkPeer.h"
#include "NetworkDirectPlay/DirectPlayCommon.h"
#include "Platform/Net/NetSession.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

template <class Base> class DirectPlayEndpoint : public Base, private Platform::NetHandler
{
public:
    ErrorCode init() override;
    ErrorCode cancelEnumeration() override;
    ErrorCode connect(const NetworkSessionInfo& target) override;
    ErrorCode cancelConnect() override;
    ErrorCode setApplicationGuid(const void* bytes, uint32_t size) override;

    bool isEnumerating() const { return mEnumerating; }
    bool isConnecting() const { return mPendingConnection != nullptr; }

protected:
    template <class... BaseArguments>
    DirectPlayEndpoint(Platform::NetRole role, Platform::NetTimings timings, BaseArguments... arguments);
    ~DirectPlayEndpoint() override = default;

    // Stops the I/O thread, then forgets the session and the hosts found. The
    // class on top calls it first in its destructor: the thread may be waiting
    // for the lock inside a notification, and must finish before anything it
    // uses goes away.
    void stop();
    // Drops the session of now (player set, pending connect, number); the
    // class on top adds what it keeps of a session.
    virtual void forgetSession();
    bool isCurrent(uint32_t session) const { return session != 0 && session == mSessionNumber; }
    // Leaves the session joined or hosted; ERROR_NOT_IN_A_GAME outside one
    // or while the connect is pending.
    ErrorCode leaveSession();
    // Empties the list, then searches for hosts of the application on the port.
    ErrorCode searchHosts(const std::string& hostName, uint32_t port, uint32_t count);
    // The list the host search fills.
    virtual std::vector<std::unique_ptr<NetworkSessionInfo>>& foundHosts() = 0;
    // The player set of a session joined at the target; null when the target
    // cannot be joined (nothing is changed then).
    virtual std::unique_ptr<NetworkPlayerSet> joinedPlayers(const NetworkSessionInfo& target) = 0;

    Platform::NetTimings mTimings;
    std::unique_ptr<Platform::NetSession> mNet;
    std::unique_ptr<NetworkSessionInfo> mPendingConnection;
    uint32_t mSessionNumber = 0; // 0: no session
    bool mEnumerating = false;
    uint8_t mApplicationGuid[16];

private:
    void onHostFound(const Platform::NetHostInfo& host) override;
    void onHostLost(const Platform::NetHostInfo& host) override;
    void onConnectComplete(uint32_t session, Platform::NetConnectResult result) override;
    void onSessionEnded(uint32_t session, Platform::NetCloseReason reason) override;

    Platform::NetRole mRole;
};

template <class Base>
template <class... BaseArguments>
DirectPlayEndpoint<Base>::DirectPlayEndpoint(Platform::NetRole role, Platform::NetTimings timings,
                                             BaseArguments... arguments)
    : Base(arguments...), mTimings(timings), mRole(role)
{
    std::memcpy(mApplicationGuid, DirectPlay::kDefaultApplicationGuid, 16);
}

extern template class DirectPlayEndpoint<NetworkClient>;
extern template class DirectPlayEndpoint<NetworkPeer>;
