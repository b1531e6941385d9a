#include "NetworkDirectPlay/DirectPlayEndpoint.h"

#include "Network/GameMessages.h"

template <class Base> void DirectPlayEndpoint<Base>::stop()
{
    if (mNet)
        mNet->shutdown();
    std::scoped_lock guard(*this);
    forgetSession();
    foundHosts().clear();
}

template <class Base> void DirectPlayEndpoint<Base>::forgetSession()
{
    this->mPlayerSet.reset();
    mPendingConnection.reset();
    mSessionNumber = 0;
}

template <class Base> ErrorCode DirectPlayEndpoint<Base>::init()
{
    std::scoped_lock guard(*this);
    return DirectPlay::startSessionLayer(mNet, static_cast<Platform::NetHandler&>(*this), mTimings);
}

template <class Base>
ErrorCode DirectPlayEndpoint<Base>::searchHosts(const std::string& hostName, uint32_t port, uint32_t count)
{
    std::scoped_lock guard(*this);
    cancelEnumeration();
    foundHosts().clear();
    if (ErrorCode error = DirectPlay::startEnumeration(mNet.get(), mApplicationGuid, hostName, port, count))
        return error;
    mEnumerating = true;
    this->postEvent(std::make_unique<NetworkEvent>(NETWORK_EVENT_SESSIONS_CHANGED));
    return ERROR_OK;
}

template <class Base> ErrorCode DirectPlayEndpoint<Base>::cancelEnumeration()
{
    std::scoped_lock guard(*this);
    DirectPlay::stopEnumeration(mEnumerating, mNet.get());
    return ERROR_OK;
}

template <class Base> ErrorCode DirectPlayEndpoint<Base>::connect(const NetworkSessionInfo& target)
{
    std::scoped_lock guard(*this);
    if (mPendingConnection)
    {
        if (ErrorCode error = cancelConnect())
            return error;
    }
    // A session of our own stays untouched.
    if (!mNet || this->mPlayerSet || target.mHostPort == 0 || target.mHostPort > 0xFFFF)
        return ERROR_INVALID;
    std::unique_ptr<NetworkPlayerSet> players = joinedPlayers(target);
    if (!players)
        return ERROR_INVALID;
    mPendingConnection = std::make_unique<NetworkSessionInfo>(target);
    this->mPlayerSet = std::move(players);
    Platform::NetGuid instance;
    instance.bytes = target.mInstanceGuid;
    uint32_t number = 0;
    if (mNet->connect(Platform::NetAddress{target.mHostIp, static_cast<uint16_t>(target.mHostPort)},
                      DirectPlay::toNetGuid(mApplicationGuid), instance, mRole, std::string(),
                      number) != Platform::NetResult::Ok)
    {
        forgetSession();
        return ERROR_INVALID;
    }
    mSessionNumber = number;
    return ERROR_OK;
}

template <class Base> ErrorCode DirectPlayEndpoint<Base>::cancelConnect()
{
    std::scoped_lock guard(*this);
    if (!mPendingConnection || !mNet)
        return ERROR_INVALID;
    // When the connect has completed meanwhile, its completion (waiting for
    // this lock) settles the records instead.
    if (mNet->cancelConnect() != Platform::NetResult::Ok)
        return ERROR_INVALID;
    // The cancelled completion that follows names a session that is no
    // longer current and frees nothing.
    forgetSession();
    return ERROR_OK;
}

template <class Base> ErrorCode DirectPlayEndpoint<Base>::leaveSession()
{
    std::scoped_lock guard(*this);
    if (!this->mPlayerSet || mPendingConnection)
        return ERROR_NOT_IN_A_GAME;
    forgetSession();
    // Does not wait for the I/O thread: a caller may hold this lock.
    if (mNet)
        mNet->close();
    return ERROR_OK;
}

template <class Base> ErrorCode DirectPlayEndpoint<Base>::setApplicationGuid(const void* bytes, uint32_t size)
{
    if (bytes == nullptr || size != 16)
        return ERROR_INVALID;
    std::scoped_lock guard(*this);
    std::memcpy(mApplicationGuid, bytes, 16);
    return ERROR_OK;
}

// ------------------------------------------------ notifications (I/O thread)

template <class Base> void DirectPlayEndpoint<Base>::onHostFound(const Platform::NetHostInfo& host)
{
    std::scoped_lock guard(*this);
    // Rafraîchir may have started the search again while this waited for the
    // lock: a session of the search before, listed now, would never be
    // withdrawn, and could keep the real one out for good.
    if (!mEnumerating || !mNet->isListed(host) || !DirectPlay::addFoundHost(foundHosts(), host))
        return;
    this->postEvent(std::make_unique<NetworkEvent>(NETWORK_EVENT_SESSIONS_CHANGED));
}

template <class Base> void DirectPlayEndpoint<Base>::onHostLost(const Platform::NetHostInfo& host)
{
    std::scoped_lock guard(*this);
    if (!mEnumerating || !DirectPlay::removeFoundHost(foundHosts(), host))
        return;
    this->postEvent(std::make_unique<NetworkEvent>(NETWORK_EVENT_SESSIONS_CHANGED));
}

template <class Base>
void DirectPlayEndpoint<Base>::onConnectComplete(uint32_t number, Platform::NetConnectResult result)
{
    std::scoped_lock guard(*this);
    if (!isCurrent(number) || !mPendingConnection)
        return;
    uint32_t code = DirectPlay::connectResultCode(result);
    mPendingConnection.reset();
    if (code == CONNECT_RESULT_OK)
    {
        PlayerNameMessage name(this->getNickname());
        DirectPlay::sendMessage(*mNet, name, Platform::kNetAllPlayers);
    }
    else
    {
        forgetSession();
    }
    this->postEvent(std::make_unique<NetworkDataEvent>(NETWORK_EVENT_CONNECT_RESULT, code));
}

template <class Base>
void DirectPlayEndpoint<Base>::onSessionEnded(uint32_t number, Platform::NetCloseReason reason)
{
    std::scoped_lock guard(*this);
    if (!isCurrent(number))
        return;
    this->postEvent(std::make_unique<NetworkDataEvent>(
        NETWORK_EVENT_SESSION_ENDED,
        reason == Platform::NetCloseReason::HostEnded ? DISCONNECT_HOST_LEFT : DISCONNECT_CONNECTION_LOST));
    forgetSession();
}

template class DirectPlayEndpoint<NetworkClient>;
template class DirectPlayEndpoint<NetworkPeer>;
