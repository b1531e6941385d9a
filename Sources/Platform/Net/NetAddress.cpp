#include "Platform/Net/NetAddress.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>

namespace Platform
{

bool NetGuid::isZero() const
{
    for (uint8_t byte : bytes)
    {
        if (byte != 0)
            return false;
    }
    return true;
}

NetGuid NetGuid::generate()
{
    std::random_device device;
    NetGuid guid;
    for (size_t i = 0; i < guid.bytes.size(); i += 4)
    {
        uint32_t word = device();
        std::memcpy(&guid.bytes[i], &word, 4);
    }
    return guid;
}

std::string NetAddress::ipText() const
{
    return ipToText(ip);
}

std::string ipToText(uint32_t ip)
{
    in_addr address{};
    address.s_addr = htonl(ip);
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

bool isLoopback(uint32_t ip)
{
    return (ip >> 24) == 127;
}

namespace
{
bool parseDotted(const std::string& text, uint32_t& ip)
{
    in_addr address{};
    if (inet_pton(AF_INET, text.c_str(), &address) != 1)
        return false;
    ip = ntohl(address.s_addr);
    return true;
}

std::string trim(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool isValidHostName(const std::string& name)
{
    if (name.empty() || name.size() > 253)
        return false;
    size_t labelLength = 0;
    for (size_t i = 0; i < name.size(); ++i)
    {
        char c = name[i];
        if (c == '.')
        {
            if (labelLength == 0)
                return false;
            labelLength = 0;
            continue;
        }
        bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alnum && !(c == '-' && labelLength != 0))
            return false;
        if (++labelLength > 63)
            return false;
    }
    return true;
}
} // namespace

std::vector<uint32_t> localNetworkTargets()
{
    // Linux sends the limited broadcast along the default route only, so a
    // LAN without a router, or on a second interface, hears nothing of it:
    // each interface's own broadcast address reaches its LAN.
    std::vector<uint32_t> targets;
    auto add = [&targets](uint32_t ip)
    {
        if (std::find(targets.begin(), targets.end(), ip) == targets.end())
            targets.push_back(ip);
    };
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) == 0)
    {
        for (ifaddrs* entry = interfaces; entry != nullptr; entry = entry->ifa_next)
        {
            if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
                (entry->ifa_flags & IFF_UP) == 0 || (entry->ifa_flags & IFF_BROADCAST) == 0)
                continue;
            auto ipOf = [](const sockaddr* address) {
                return address != nullptr
                           ? ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr)
                           : 0u;
            };
            uint32_t broadcast = ipOf(entry->ifa_broadaddr);
            // An address added without one (as `ip addr add` does, which the
            // C library then reports as the address itself) still has its
            // subnet's broadcast address, which the system routes as such.
            uint32_t address = ipOf(entry->ifa_addr);
            uint32_t mask = ipOf(entry->ifa_netmask);
            if ((broadcast == 0 || broadcast == address) && mask != 0 && ~mask > 1)
                broadcast = (address & mask) | ~mask;
            if (broadcast == address)
                continue;
            if (broadcast != 0)
                add(broadcast);
        }
        freeifaddrs(interfaces);
    }
    // Where a default route exists the limited broadcast follows it; where
    // none does, its send fails and the others still go.
    add(INADDR_BROADCAST);
    // A game hosted on this machine.
    add(INADDR_LOOPBACK);
    return targets;
}

std::vector<uint32_t> discoveryTargets()
{
    std::vector<uint32_t> targets;
    const char* variable = std::getenv("VELMORIQUE_DISCOVERY");
    if (variable == nullptr)
        return localNetworkTargets();
    std::string list = variable;
    size_t start = 0;
    while (start <= list.size())
    {
        size_t comma = list.find(',', start);
        if (comma == std::string::npos)
            comma = list.size();
        uint32_t ip = 0;
        if (parseDotted(trim(list.substr(start, comma - start)), ip))
            targets.push_back(ip);
        start = comma + 1;
    }
    return targets;
}

uint32_t listenAddress()
{
    std::vector<uint32_t> targets = discoveryTargets();
    if (targets.empty())
        return INADDR_LOOPBACK;
    for (uint32_t ip : targets)
    {
        if (!isLoopback(ip))
            return INADDR_ANY;
    }
    return INADDR_LOOPBACK;
}

bool resolveHostName(const std::string& rawName, uint32_t& ip)
{
    std::string name = trim(rawName);
    if (parseDotted(name, ip))
        return true;
    if (name == "localhost")
    {
        ip = INADDR_LOOPBACK;
        return true;
    }
    if (!isValidHostName(name))
        return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* results = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &results) != 0 || results == nullptr)
        return false;
    ip = ntohl(reinterpret_cast<sockaddr_in*>(results->ai_addr)->sin_addr.s_addr);
    freeaddrinfo(results);
    return true;
}

} // namespace Platform
