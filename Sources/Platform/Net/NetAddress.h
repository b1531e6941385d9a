#pragma once
// IPv4 addresses of the session layer, the discovery targets and host-name
// resolution.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Platform
{

// A 16-byte identifier: the application id that sessions are found by, and
// the instance id that tells two sessions apart.
struct NetGuid
{
    std::array<uint8_t, 16> bytes{};
    bool operator==(const NetGuid&) const = default;
    bool isZero() const;
    // A fresh instance id.
    static NetGuid generate();
};

// An IPv4 address in host byte order and a port.
struct NetAddress
{
    uint32_t ip = 0;
    uint16_t port = 0;
    std::string ipText() const;
};

std::string ipToText(uint32_t ip);
bool isLoopback(uint32_t ip);

// Where a query for the local network goes: the comma-separated addresses of
// VELMORIQUE_DISCOVERY when it is set, otherwise localNetworkTargets().
std::vector<uint32_t> discoveryTargets();
// The broadcast address of every interface that is up and broadcasts, the
// limited broadcast address and the loopback address.
std::vector<uint32_t> localNetworkTargets();

// The address sessions listen on: the loopback only when every discovery
// target is a loopback address (tests, and a machine playing against itself),
// else every interface.
uint32_t listenAddress();

// A dotted address, "localhost" or a host name. A name that is not a valid
// host name is refused without any look-up; others are looked up (which may
// take a while).
bool resolveHostName(const std::string& name, uint32_t& ip);

} // namespace Platform
