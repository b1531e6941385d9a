#include "Network/NetworkGameLinks.h"

#include <atomic>

namespace
{
std::atomic<NetworkGameLinks*> gLinks{nullptr};
}

void setNetworkGameLinks(NetworkGameLinks* links)
{
    gLinks = links;
}

NetworkGameLinks* getNetworkGameLinks()
{
    return gLinks;
}

std::string getNetworkText(uint32_t languageId)
{
    NetworkGameLinks* links = gLinks;
    return links != nullptr ? links->getText(languageId) : std::string();
}
