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

void NetworkEndpoint::postEvent(std::unique_ptr<NetworkEvent> event)
{
    if (!event)
        return;
    std::scoped_lock guard(mLock);
    mEvents.push_back(std::move(event));
}

std::unique_ptr<NetworkEvent> NetworkEndpoint::popEvent()
{
    std::scoped_lock guard(mLock);
    if (mEvents.empty())
        return nullptr;
    std::unique_ptr<NetworkEvent> event = std::move(mEvents.front());
    mEvents.pop_front();
    return event;
}
