// Feeds arbitrary bodies to the readers of session frames, as a hostile
// joiner or host would send them: the first byte picks the frame (join,
// accept, data), the rest is its body. A body that reads must write back to
// the same bytes and read again to the same values.
#include "Platform/Net/NetSession.h"
#include "Platform/Net/NetWire.h"

#include <cstdint>
#include <cstring>
#include <vector>

using namespace Platform;
using namespace Platform::NetWire;

namespace
{
// The body of a whole frame written by an encoder.
bool sameBody(const std::vector<uint8_t>& frame, FrameType type, const uint8_t* body, size_t size)
{
    return frame.size() == size + 5 && frame[4] == type && std::memcmp(frame.data() + 5, body, size) == 0;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0 || size > kNetMaxFrameSize)
        return 0;
    const uint8_t* body = data + 1;
    const size_t length = size - 1;
    switch (data[0] % 3)
    {
    case 0:
    {
        JoinRequest join;
        if (!decodeJoin(body, length, join))
            return 0;
        if (join.password.size() > kMaxPasswordLength)
            __builtin_trap();
        // Bytes after the password are not the join's: compare its own part.
        std::vector<uint8_t> frame = encodeJoin(join);
        if (frame.size() > length + 5 || std::memcmp(frame.data() + 5, body, frame.size() - 5) != 0)
            __builtin_trap();
        break;
    }
    case 1:
    {
        AcceptInfo accept;
        if (!decodeAccept(body, length, accept))
            return 0;
        if (accept.players.empty() || accept.players.size() > kNetMaxPlayers ||
            accept.yourId == accept.hostId)
            __builtin_trap();
        if (!sameBody(encodeAccept(accept), FRAME_ACCEPT, body, length))
            __builtin_trap();
        break;
    }
    default:
    {
        DataHeader header;
        if (!decodeData(body, length, header))
            return 0;
        if (header.message < body || header.message + header.size != body + length)
            __builtin_trap();
        if (!sameBody(encodeData(header.from, header.to, header.message, header.size), FRAME_DATA, body,
                      length))
            __builtin_trap();
        break;
    }
    }
    return 0;
}
