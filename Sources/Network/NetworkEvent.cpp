#include "Network/NetworkEvent.h"

#include "Network/NetworkGameLinks.h"

std::string NetworkDataEvent::getDisconnectText() const
{
    if (getKind() != NETWORK_EVENT_SESSION_ENDED)
        return std::string();
    switch (mData)
    {
    case DISCONNECT_HOST_LEFT:
        return getNetworkText(NetworkTextId::DisconnectHostLeft);
    case DISCONNECT_CONNECTION_LOST:
        return getNetworkText(NetworkTextId::DisconnectConnectionLost);
    default:
        return std::string();
    }
}
