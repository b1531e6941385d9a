#include "Network/NetworkEndpoint.h"

#include "Network/GameMessages.h"

#include <mutex>

NetworkEndpoint::NetworkEndpoint()
{
    static std::once_flag registered;
    std::call_once(registered,
                   [] { registerNetworkMessage(MESSAGE_PLAYER_NAME, &PlayerNameMessage::create); });
}

NetworkEndpoint::~NetworkEndpoint()
{
    std::scoped_lock guard(mLock);
    mEvents.clear();
    mPlayerSet.reset();
}

namespace
{
bool isChatLine(const NetworkEvent& event)
{
    if (event.getKind() != NETWORK_EVENT_MESSAGE)
        return false;
    const NetworkMessage* message = static_cast<const NetworkMessageEvent&>(event).getMessage();
    return message != nullptr && message->getKind() == MESSAGE_CHAT;
}
} // namespace

void NetworkEndpoint::postEvent(std::unique_ptr<NetworkEvent> event)
{
    if (!event)
        return;
    std::scoped_lock guard(mLock);
    if (event->getKind() == NETWORK_EVENT_MESSAGE)
        ++mQueuedMessages;
    if (isChatLine(*event))
        ++mQueuedChatLines;
    mEvents.push_back(std::move(event));
}

bool NetworkEndpoint::postReceived(std::unique_ptr<NetworkMessage> message,
                                   std::shared_ptr<NetworkPlayerInfo> sender)
{
    if (!message)
        return false;
    std::scoped_lock guard(mLock);
    if (mQueuedMessages >= kMaxQueuedMessages ||
        (message->getKind() == MESSAGE_CHAT && mQueuedChatLines >= kMaxQueuedChatLines))
    {
        ++mDroppedMessages;
        return false;
    }
    postEvent(std::make_unique<NetworkMessageEvent>(std::move(message), std::move(sender)));
    return true;
}

size_t NetworkEndpoint::getQueuedMessageCount()
{
    std::scoped_lock guard(mLock);
    return mQueuedMessages;
}

size_t NetworkEndpoint::getDroppedMessageCount()
{
    std::scoped_lock guard(mLock);
    return mDroppedMessages;
}

std::unique_ptr<NetworkEvent> NetworkEndpoint::popEvent()
{
    std::scoped_lock guard(mLock);
    if (mEvents.empty())
        return nullptr;
    std::unique_ptr<NetworkEvent> event = std::move(mEvents.front());
    mEvents.pop_front();
    if (event->getKind() == NETWORK_EVENT_MESSAGE)
        --mQueuedMessages;
    if (isChatLine(*event))
        --mQueuedChatLines;
    return event;
}
