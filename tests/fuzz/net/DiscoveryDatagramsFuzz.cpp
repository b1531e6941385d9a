// Feeds arbitrary datagrams to the discovery readers, as anyone on the local
// network may send them to a host (a query) or to a searching player (an
// answer): the first byte picks which. A datagram that reads must write back
// to the bytes it used, and an answer must describe a session one can join.
#include "Platform/Net/NetSession.h"
#include "Platform/Net/NetWire.h"

#include <cstdint>
#include <cstring>
#include <vector>

using namespace Platform;
using namespace Platform::NetWire;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0 || size > 65536)
        return 0;
    const uint8_t* datagram = data + 1;
    const size_t length = size - 1;
    if (data[0] % 2 == 0)
    {
        NetGuid application;
        if (!decodeQuery(datagram, length, application))
            return 0;
        std::vector<uint8_t> written = encodeQuery(application);
        if (written.size() > length || std::memcmp(written.data(), datagram, written.size()) != 0)
            __builtin_trap();
        return 0;
    }
    NetHostInfo host;
    if (!decodeAnswer(datagram, length, host))
        return 0;
    if (host.maxPlayers == 0 || host.maxPlayers > kNetMaxPlayers || host.currentPlayers > host.maxPlayers ||
        host.address.port == 0 || host.sessionName.size() > kNetMaxSessionName)
        __builtin_trap();
    std::vector<uint8_t> written = encodeAnswer(host);
    if (written.size() > length || std::memcmp(written.data(), datagram, written.size()) != 0)
        __builtin_trap();
    return 0;
}
