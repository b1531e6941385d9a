// Feeds arbitrary bytes to the network message reader, as a hostile peer
// would. A message that reads must write back to the same bytes it consumed.
#include "Network/GameMessages.h"
#include "Network/NetworkEndpoint.h"
#include "Network/NetworkStreams.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool registered = []
    {
        registerGameMessages();
        NetworkEndpoint registersKindZero;
        return true;
    }();
    (void)registered;
    if (size > std::numeric_limits<uint32_t>::max())
        return 0;

    NetworkReadBuffer reader(data, static_cast<uint32_t>(size));
    std::unique_ptr<NetworkMessage> message;
    if (transferMessage(reader, message) != ERROR_OK)
    {
        if (message)
            std::abort();
        return 0;
    }
    std::unique_ptr<NetworkBuffer> written;
    if (writeNetworkMessage(*message, written) != ERROR_OK)
        std::abort();
    // Texts stop at their first zero, so only texts without one come back
    // byte for byte; the length can never grow.
    if (written->capacity() > reader.tell())
        std::abort();
    if (written->capacity() == reader.tell() && std::memcmp(written->data(), data, reader.tell()) != 0)
        std::abort();
    return 0;
}
