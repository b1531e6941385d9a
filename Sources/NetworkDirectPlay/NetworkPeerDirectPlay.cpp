#include "NetworkDirectPlay/NetworkPeerDirectPlay.h"

#include "Network/GameMessages.h"
#include "NetworkDirectPlay/DirectPlayCommon.h"

#include <cstring>

namespace
{
constexpr const char* kNewPlayerName = "New Player";
}

std::shared_ptr<NetworkPlayerDirectPlay> NetworkSessionDirectPlay::findById(uint32_t playerId) const
{
    for (uint32_t i = 0; i < getCapacity(); ++i)
    {
        auto player = std::static_pointer_cast<NetworkPlayerDirectPlay>(getSlot(i));
        if (player && player->getPlayerId() == playerId)
            return player;
    }
    return nullptr;
}

NetworkPeerDirectPlay::NetworkPeerDirectPlay(uint32_t hostPort, uint32_t remotePort,
                                             Platform::NetTimings timings)
    : NetworkPeer(hostPort, remotePort), mTimings(timings)
{
    std::memcpy(mApplicationGuid, DirectPlay::kDefaultApplicationGuid, 16);
}

NetworkPeerDirectPlay::~NetworkPeerDirectPlay()
{
    // The I/O thread may be waiting for the lock inside a notification; it
    // must finish before the members it uses (mNet among them) go away.
    if (mNet)
        mNet->shutdown();
    std::scoped_lock guard(*this);
    forgetSession();
    mSessions.clear();
}

ErrorCode NetworkPeerDirectPlay::init()
{
    std::scoped_lock guard(*this);
    return DirectPlay::startSessionLayer(mNet, static_cast<Platform::NetHandler&>(*this), mTimings);
}

void NetworkPeerDirectPlay::forgetSession()
{
    mPlayerSet.reset();
    mLocalPlayer.reset();
    mPendingConnection.reset();
    mSessionNumber = 0;
}

ErrorCode NetworkPeerDirectPlay::host(const std::string& sessionName, uint32_t maxPlayers)
{
    std::scoped_lock guard(*this);
    if (mPlayerSet || mPendingConnection)
        return ERROR_ALREADY_IN_A_GAME;
    if (!mNet || maxPlayers == 0 || maxPlayers > Platform::kNetMaxPlayers)
        return ERROR_INVALID;
    mLocalPlayer = std::make_shared<NetworkPlayerDirectPlay>(mNickname, false);
    mPlayerSet = std::make_unique<NetworkSessionDirectPlay>(this, maxPlayers, true);

    Platform::NetHostOptions options;
    options.application = DirectPlay::toNetGuid(mApplicationGuid);
    options.sessionName = sessionName.substr(0, Platform::kNetMaxSessionName);
    options.maxPlayers = maxPlayers;
    options.port = static_cast<uint16_t>(mHostPort);
    options.role = Platform::NetRole::Peer;
    uint32_t number = 0;
    Platform::NetResult result =
        mHostPort > 0xFFFF ? Platform::NetResult::Failed : mNet->host(options, number);
    if (result != Platform::NetResult::Ok)
    {
        forgetSession();
        // The game's port is held, most often by another copy of the game
        // hosting on this machine: no text names the port, this one says it.
        return result == Platform::NetResult::AddressInUse ? ERROR_NETWORK_ALREADY_IN_A_GAME : ERROR_INVALID;
    }
    mSessionNumber = number;
    return ERROR_OK;
}

uint16_t NetworkPeerDirectPlay::getHostedPort()
{
    return mNet ? mNet->hostedPort() : 0;
}

ErrorCode NetworkPeerDirectPlay::enumHosts(const std::string& hostName, uint32_t count)
{
    std::scoped_lock guard(*this);
    cancelEnumeration();
    mSessions.clear();
    if (ErrorCode error =
            DirectPlay::startEnumeration(mNet.get(), mApplicationGuid, hostName, mRemotePort, count))
        return error;
    mEnumerating = true;
    postEvent(std::make_unique<NetworkEvent>(NETWORK_EVENT_SESSIONS_CHANGED));
    return ERROR_OK;
}

ErrorCode NetworkPeerDirectPlay::cancelEnumeration()
{
    std::scoped_lock guard(*this);
    DirectPlay::stopEnumeration(mEnumerating, mNet.get());
    return ERROR_OK;
}

bool NetworkPeerDirectPlay::isListingUnreachable()
{
    std::scoped_lock guard(*this);
    return mEnumerating && mNet && mNet->queriesUnsent();
}

ErrorCode NetworkPeerDirectPlay::connect(const NetworkSessionInfo& target)
{
    std::scoped_lock guard(*this);
    if (mPendingConnection)
    {
        if (ErrorCode error = cancelConnect())
            return error;
    }
    // A session of our own stays untouched.
    if (!mNet || mPlayerSet || target.mHostPort == 0 || target.mHostPort > 0xFFFF ||
        target.mMaxPlayers == 0 || target.mMaxPlayers > Platform::kNetMaxPlayers)
        return ERROR_INVALID;

    mLocalPlayer = std::make_shared<NetworkPlayerDirectPlay>(mNickname, true);
    mPendingConnection = std::make_unique<NetworkSessionInfo>(target);
    mPlayerSet = std::make_unique<NetworkSessionDirectPlay>(this, target.mMaxPlayers, false);
    Platform::NetGuid instance;
    instance.bytes = target.mInstanceGuid;
    uint32_t number = 0;
    if (mNet->connect(Platform::NetAddress{target.mHostIp, static_cast<uint16_t>(target.mHostPort)},
                      DirectPlay::toNetGuid(mApplicationGuid), instance, Platform::NetRole::Peer,
                      std::string(), number) != Platform::NetResult::Ok)
    {
        forgetSession();
        return ERROR_INVALID;
    }
    mSessionNumber = number;
    return ERROR_OK;
}

ErrorCode NetworkPeerDirectPlay::cancelConnect()
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

ErrorCode NetworkPeerDirectPlay::closeSession()
{
    std::scoped_lock guard(*this);
    if (!mPlayerSet || mPendingConnection)
        return ERROR_NOT_IN_A_GAME;
    forgetSession();
    // Does not wait for the I/O thread: a caller holds this lock.
    if (mNet)
        mNet->close();
    return ERROR_OK;
}

ErrorCode NetworkPeerDirectPlay::send(std::unique_ptr<NetworkMessage> message, NetworkPlayerInfo* target)
{
    std::scoped_lock guard(*this);
    if (!mPlayerSet || !mNet)
        return ERROR_NOT_IN_A_GAME;
    if (!message)
        return ERROR_INVALID;
    Platform::NetPlayerId id = Platform::kNetAllPlayers;
    if (target != nullptr)
    {
        auto* player = dynamic_cast<NetworkPlayerDirectPlay*>(target);
        if (player == nullptr || player->getPlayerId() == Platform::kNetAllPlayers)
            return ERROR_INVALID;
        id = player->getPlayerId();
    }
    return DirectPlay::sendMessage(*mNet, *message, id);
}

ErrorCode NetworkPeerDirectPlay::setApplicationGuid(const void* bytes, uint32_t size)
{
    if (bytes == nullptr || size != 16)
        return ERROR_INVALID;
    std::scoped_lock guard(*this);
    std::memcpy(mApplicationGuid, bytes, 16);
    return ERROR_OK;
}

// ------------------------------------------------ notifications (I/O thread)

void NetworkPeerDirectPlay::onHostFound(const Platform::NetHostInfo& host)
{
    std::scoped_lock guard(*this);
    if (!mEnumerating || !DirectPlay::addFoundHost(mSessions, host))
        return;
    postEvent(std::make_unique<NetworkEvent>(NETWORK_EVENT_SESSIONS_CHANGED));
}

void NetworkPeerDirectPlay::onHostLost(const Platform::NetHostInfo& host)
{
    std::scoped_lock guard(*this);
    if (!mEnumerating || !DirectPlay::removeFoundHost(mSessions, host))
        return;
    postEvent(std::make_unique<NetworkEvent>(NETWORK_EVENT_SESSIONS_CHANGED));
}

void NetworkPeerDirectPlay::onConnectComplete(uint32_t number, Platform::NetConnectResult result)
{
    std::scoped_lock guard(*this);
    if (!isCurrent(number) || !mPendingConnection)
        return;
    uint32_t code = DirectPlay::connectResultCode(result);
    mPendingConnection.reset();
    if (code == CONNECT_RESULT_OK)
    {
        PlayerNameMessage name(mNickname);
        DirectPlay::sendMessage(*mNet, name, Platform::kNetAllPlayers);
    }
    else
    {
        forgetSession();
    }
    postEvent(std::make_unique<NetworkDataEvent>(NETWORK_EVENT_CONNECT_RESULT, code));
}

void NetworkPeerDirectPlay::onPlayerCreated(uint32_t number, Platform::NetPlayerId player, bool isLocal)
{
    std::scoped_lock guard(*this);
    if (!isCurrent(number) || !session())
        return;
    std::string address;
    bool found = mNet->playerAddress(player, address);
    if (isLocal)
    {
        if (!mLocalPlayer)
            return;
        mLocalPlayer->setPlayerId(player);
        mLocalPlayer->setHostAddress(address, found);
        session()->add(mLocalPlayer);
        return;
    }
    auto remote = std::make_shared<NetworkPlayerDirectPlay>(kNewPlayerName, true, player);
    remote->setHostAddress(address, found);
    // A full table refuses the record, which then simply goes away.
    if (!session()->add(remote))
        return;
    PlayerNameMessage name(mNickname);
    DirectPlay::sendMessage(*mNet, name, player);
}

void NetworkPeerDirectPlay::onPlayerDestroyed(uint32_t number, Platform::NetPlayerId player)
{
    std::scoped_lock guard(*this);
    if (!isCurrent(number) || !session())
        return;
    std::shared_ptr<NetworkPlayerDirectPlay> gone = session()->findById(player);
    if (!gone)
        return;
    session()->remove(gone.get());
    postEvent(std::make_unique<NetworkPlayerEvent>(NETWORK_EVENT_PLAYER_LEFT, std::move(gone)));
}

void NetworkPeerDirectPlay::onReceive(uint32_t number, Platform::NetPlayerId from, const uint8_t* data,
                                      uint32_t size)
{
    std::scoped_lock guard(*this);
    if (!isCurrent(number) || !session())
        return;
    std::shared_ptr<NetworkPlayerDirectPlay> sender = session()->findById(from);
    if (!sender)
        return;
    std::unique_ptr<NetworkMessage> message;
    if (readNetworkMessage(data, size, message) != ERROR_OK)
        return;
    postReceived(std::move(message), std::move(sender));
}

void NetworkPeerDirectPlay::onSessionEnded(uint32_t number, Platform::NetCloseReason reason)
{
    std::scoped_lock guard(*this);
    if (!isCurrent(number))
        return;
    postEvent(std::make_unique<NetworkDataEvent>(
        NETWORK_EVENT_SESSION_ENDED,
        reason == Platform::NetCloseReason::HostEnded ? DISCONNECT_HOST_LEFT : DISCONNECT_CONNECTION_LOST));
    forgetSession();
}

std::unique_ptr<NetworkPeer> createNetworkPeerDirectPlay(uint32_t hostPort, uint32_t remotePort)
{
    return std::make_unique<NetworkPeerDirectPlay>(hostPort, remotePort);
}
