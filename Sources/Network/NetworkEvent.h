#pragma once
// What an endpoint reports to the game thread. Every event owns or shares what
// it carries, so that handling it never touches a record that the network
// threads may have deleted meanwhile.
#include "Network/NetworkMessage.h"
#include "Network/NetworkPlayerInfo.h"

#include <cstdint>
#include <memory>
#include <string>

enum : uint32_t
{
    NETWORK_EVENT_SESSIONS_CHANGED = 0,
    NETWORK_EVENT_CONNECT_RESULT = 1,
    NETWORK_EVENT_SESSION_ENDED = 2,
    NETWORK_EVENT_PLAYER_NAMED = 3,
    NETWORK_EVENT_PLAYER_LEFT = 4,
    NETWORK_EVENT_MESSAGE = 5
};

// Results of a connection attempt (the data of a kind-1 event).
enum : uint32_t
{
    CONNECT_RESULT_OK = 0,
    CONNECT_RESULT_REJECTED = 1,
    CONNECT_RESULT_SESSION_FULL = 2,
    CONNECT_RESULT_INVALID_PASSWORD = 3,
    CONNECT_RESULT_OTHER = 4
};

// Reasons a session ended (the data of a kind-2 event).
enum : uint32_t
{
    DISCONNECT_HOST_LEFT = 0,
    DISCONNECT_CONNECTION_LOST = 1
};

class NetworkEvent
{
public:
    explicit NetworkEvent(uint32_t kind) : mKind(kind) {}
    virtual ~NetworkEvent() = default;
    NetworkEvent(const NetworkEvent&) = delete;
    NetworkEvent& operator=(const NetworkEvent&) = delete;
    uint32_t getKind() const { return mKind; }

private:
    uint32_t mKind;
};

// Kinds 1 and 2: a connect result or a disconnect reason.
class NetworkDataEvent : public NetworkEvent
{
public:
    NetworkDataEvent(uint32_t kind, uint32_t data) : NetworkEvent(kind), mData(data) {}
    uint32_t getData() const { return mData; }
    // For a kind-2 event: the language text of the reason; empty for any
    // other reason or without a language table.
    std::string getDisconnectText() const;

private:
    uint32_t mData;
};

// Kinds 3 and 4: a player named, a player gone. The event shares the record;
// for a departed player it is the last share.
class NetworkPlayerEvent : public NetworkEvent
{
public:
    NetworkPlayerEvent(uint32_t kind, std::shared_ptr<NetworkPlayerInfo> player)
        : NetworkEvent(kind), mPlayer(std::move(player))
    {
    }
    NetworkPlayerInfo* getPlayer() const { return mPlayer.get(); }
    const std::shared_ptr<NetworkPlayerInfo>& getPlayerShare() const { return mPlayer; }

private:
    std::shared_ptr<NetworkPlayerInfo> mPlayer;
};

// Kind 5: a received message and its sender (null for a server).
class NetworkMessageEvent : public NetworkEvent
{
public:
    NetworkMessageEvent(std::unique_ptr<NetworkMessage> message, std::shared_ptr<NetworkPlayerInfo> sender)
        : NetworkEvent(NETWORK_EVENT_MESSAGE), mMessage(std::move(message)), mSender(std::move(sender))
    {
    }
    NetworkMessage* getMessage() const { return mMessage.get(); }
    NetworkPlayerInfo* getSender() const { return mSender.get(); }

private:
    std::unique_ptr<NetworkMessage> mMessage;
    std::shared_ptr<NetworkPlayerInfo> mSender;
};
