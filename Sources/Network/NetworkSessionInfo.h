#pragma once
// One session (or lobby server) found on the network, as the join window lists
// it: its instance id, its player count and maximum, its name in 8-bit text
// and the address to connect to.
#include <array>
#include <cstdint>
#include <string>

struct NetworkSessionInfo
{
    std::array<uint8_t, 16> mInstanceGuid{};
    uint32_t mMaxPlayers = 0;
    uint32_t mCurrentPlayers = 0;
    std::string mSessionName;
    uint32_t mHostIp = 0; // IPv4, host byte order
    uint32_t mHostPort = 0;
};
