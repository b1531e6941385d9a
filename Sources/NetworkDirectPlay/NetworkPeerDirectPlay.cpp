#include "NetworkDirectPlay/NetworkPeerDirectPlay.h"

#include "Network/GameMessages.h"
#include "NetworkDirectPlay/DirectPlayCommon.h"

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
    : DirectPlayEndpoint(Platform::NetRole::Peer, timings, hostPort, remotePort)
{
}

NetworkPeerDirectPlay::~NetworkPeerDirectPlay()
{
    stop();
}

void NetworkPeerDirectPlay::forgetSession()
{
    DirectPlayEndpoint::forgetSession();
    mLocalPlayer.reset();
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
    return searchHosts(hostName, mRemotePort, count);
}

bool NetworkPeerDirectPlay::isListingUnreachable()
{
    std::scoped_lock guard(*this);
    return mEnumerating && mNet && mNet->queriesUnsent();
}

std::unique_ptr<NetworkPlayerSet> NetworkPeerDirectPlay::joinedPlayers(const NetworkSessionInfo& target)
{
    if (target.mMaxPlayers == 0 || target.mMaxPlayers > Platform::kNetMaxPlayers)
        return nullptr;
    mLocalPlayer = std::make_shared<NetworkPlayerDirectPlay>(mNickname, true);
    return std::make_unique<NetworkSessionDirectPlay>(this, target.mMaxPlayers, false);
}

ErrorCode NetworkPeerDirectPlay::closeSession()
{
    return leaveSession();
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

// ------------------------------------------------ notifications (I/O thread)

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

std::unique_ptr<NetworkPeer> createNetworkPeerDirectPlay(uint32_t hostPort, uint32_t remotePort)
{
    return std::make_unique<NetworkPeerDirectPlay>(hostPort, remotePort);
}
