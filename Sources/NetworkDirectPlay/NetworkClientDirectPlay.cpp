#include "NetworkDirectPlay/NetworkClientDirectPlay.h"

#include "Network/GameMessages.h"
#include "NetworkDirectPlay/DirectPlayCommon.h"

#include <cstring>

NetworkClientDirectPlay::NetworkClientDirectPlay(Platform::NetTimings timings) : mTimings(timings)
{
    std::memcpy(mApplicationGuid, DirectPlay::kDefaultApplicationGuid, 16);
}

NetworkClientDirectPlay::~NetworkClientDirectPlay()
{
    if (mNet)
        mNet->shutdown();
    std::scoped_lock guard(*this);
    forgetConnection();
    mServers.clear();
}

ErrorCode NetworkClientDirectPlay::init()
{
    std::scoped_lock guard(*this);
    return DirectPlay::startSessionLayer(mNet, static_cast<Platform::NetHandler&>(*this), mTimings);
}

void NetworkClientDirectPlay::forgetConnection()
{
    mPlayerSet.reset();
    mPendingServer.reset();
    mSessionNumber = 0;
}

ErrorCode NetworkClientDirectPlay::enumHosts(const std::string& hostName, uint32_t count)
{
    std::scoped_lock guard(*this);
    cancelEnumeration();
    mServers.clear();
    if (ErrorCode error =
            DirectPlay::startEnumeration(mNet.get(), mApplicationGuid, hostName, mRemotePort, count))
        return error;
    mEnumerating = true;
    postEvent(std::make_unique<NetworkEvent>(NETWORK_EVENT_SESSIONS_CHANGED));
    return ERROR_OK;
}

ErrorCode NetworkClientDirectPlay::cancelEnumeration()
{
    std::scoped_lock guard(*this);
    DirectPlay::stopEnumeration(mEnumerating, mNet.get());
    return ERROR_OK;
}

ErrorCode NetworkClientDirectPlay::connect(const NetworkSessionInfo& server)
{
    std::scoped_lock guard(*this);
    if (mPendingServer)
    {
        if (ErrorCode error = cancelConnect())
            return error;
    }
    if (!mNet || mPlayerSet || server.mHostPort == 0 || server.mHostPort > 0xFFFF)
        return ERROR_INVALID;
    mPendingServer = std::make_unique<NetworkSessionInfo>(server);
    mPlayerSet = std::make_unique<NetworkServerLink>(this, 0);
    Platform::NetGuid instance;
    instance.bytes = server.mInstanceGuid;
    uint32_t number = 0;
    if (mNet->connect(Platform::NetAddress{server.mHostIp, static_cast<uint16_t>(server.mHostPort)},
                      DirectPlay::toNetGuid(mApplicationGuid), instance, Platform::NetRole::ClientServer,
                      std::string(), number) != Platform::NetResult::Ok)
    {
        forgetConnection();
        return ERROR_INVALID;
    }
    mSessionNumber = number;
    return ERROR_OK;
}

ErrorCode NetworkClientDirectPlay::cancelConnect()
{
    std::scoped_lock guard(*this);
    if (!mPendingServer || !mNet || mNet->cancelConnect() != Platform::NetResult::Ok)
        return ERROR_INVALID;
    forgetConnection();
    return ERROR_OK;
}

ErrorCode NetworkClientDirectPlay::close()
{
    std::scoped_lock guard(*this);
    if (!mPlayerSet || mPendingServer)
        return ERROR_NOT_IN_A_GAME;
    forgetConnection();
    if (mNet)
        mNet->close();
    return ERROR_OK;
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

ErrorCode NetworkClientDirectPlay::setApplicationGuid(const void* bytes, uint32_t size)
{
    if (bytes == nullptr || size != 16)
        return ERROR_INVALID;
    std::scoped_lock guard(*this);
    std::memcpy(mApplicationGuid, bytes, 16);
    return ERROR_OK;
}

void NetworkClientDirectPlay::onHostFound(const Platform::NetHostInfo& host)
{
    std::scoped_lock guard(*this);
    if (!mEnumerating || !DirectPlay::addFoundHost(mServers, host))
        return;
    postEvent(std::make_unique<NetworkEvent>(NETWORK_EVENT_SESSIONS_CHANGED));
}

void NetworkClientDirectPlay::onHostLost(const Platform::NetHostInfo& host)
{
    std::scoped_lock guard(*this);
    if (!mEnumerating || !DirectPlay::removeFoundHost(mServers, host))
        return;
    postEvent(std::make_unique<NetworkEvent>(NETWORK_EVENT_SESSIONS_CHANGED));
}

void NetworkClientDirectPlay::onConnectComplete(uint32_t number, Platform::NetConnectResult result)
{
    std::scoped_lock guard(*this);
    if (number == 0 || number != mSessionNumber || !mPendingServer)
        return;
    uint32_t code = DirectPlay::connectResultCode(result);
    mPendingServer.reset();
    if (code == CONNECT_RESULT_OK)
    {
        PlayerNameMessage name(mNickname);
        DirectPlay::sendMessage(*mNet, name, Platform::kNetAllPlayers);
    }
    else
    {
        forgetConnection();
    }
    postEvent(std::make_unique<NetworkDataEvent>(NETWORK_EVENT_CONNECT_RESULT, code));
}

void NetworkClientDirectPlay::onReceive(uint32_t number, Platform::NetPlayerId, const uint8_t* data,
                                        uint32_t size)
{
    std::scoped_lock guard(*this);
    if (number == 0 || number != mSessionNumber || !mPlayerSet)
        return;
    std::unique_ptr<NetworkMessage> message;
    if (readNetworkMessage(data, size, message) != ERROR_OK)
        return;
    postReceived(std::move(message), nullptr);
}

void NetworkClientDirectPlay::onSessionEnded(uint32_t number, Platform::NetCloseReason reason)
{
    std::scoped_lock guard(*this);
    if (number == 0 || number != mSessionNumber)
        return;
    postEvent(std::make_unique<NetworkDataEvent>(
        NETWORK_EVENT_SESSION_ENDED,
        reason == Platform::NetCloseReason::HostEnded ? DISCONNECT_HOST_LEFT : DISCONNECT_CONNECTION_LOST));
    forgetConnection();
}
