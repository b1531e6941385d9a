#include "Network/NetworkMessage.h"

#include "Network/NetworkStreams.h"

#include <cassert>
#include <mutex>
#include <vector>

namespace
{
// Registration happens at start-up, look-ups on the network threads; the lock
// keeps a late registration from racing a receive.
std::mutex& creatorLock()
{
    static std::mutex lock;
    return lock;
}

std::vector<NetworkMessageCreator>& creators()
{
    static std::vector<NetworkMessageCreator> table;
    return table;
}
ErrorCode writeKindAndPayload(BinaryStream& stream, NetworkMessage& message)
{
    uint32_t kind = message.getKind();
    if (ErrorCode error = stream.transferValue(kind))
        return error;
    return message.serialize(stream);
}
} // namespace

ErrorCode NetworkMessage::execute(NetworkEndpoint*, NetworkPlayerInfo*)
{
    return ERROR_OK;
}

ErrorCode MessagePayload::serialize(BinaryStream& stream)
{
    return stream.transferValue(mSize);
}

void MessagePayload::computeSize()
{
    SizeCountingStream counter;
    if (serialize(counter) == ERROR_OK)
        mSize = counter.tell();
}

ErrorCode MovePayload::serialize(BinaryStream& stream)
{
    if (ErrorCode error = MessagePayload::serialize(stream))
        return error;
    if (ErrorCode error = stream.transferValue(mPiece))
        return error;
    return stream.transferValue(mMoveIndex);
}

void registerNetworkMessage(uint32_t kind, NetworkMessageCreator creator)
{
    // Kinds are constants of the program, never read from the wire.
    assert(kind < 1024);
    std::lock_guard lock(creatorLock());
    if (creators().size() <= kind)
        creators().resize(kind + 1, nullptr);
    creators()[kind] = creator;
}

std::unique_ptr<NetworkMessage> createNetworkMessage(uint32_t kind)
{
    NetworkMessageCreator creator = nullptr;
    {
        std::lock_guard lock(creatorLock());
        if (kind < creators().size())
            creator = creators()[kind];
    }
    return creator != nullptr ? creator() : nullptr;
}

ErrorCode transferMessage(BinaryStream& stream, std::unique_ptr<NetworkMessage>& message)
{
    if (stream.isReading())
    {
        message.reset();
        uint32_t kind = 0;
        if (ErrorCode error = stream.transferValue(kind))
            return error;
        std::unique_ptr<NetworkMessage> created = createNetworkMessage(kind);
        if (!created)
            return ERROR_INVALID;
        if (ErrorCode error = created->serialize(stream))
            return error;
        message = std::move(created);
        return ERROR_OK;
    }
    if (!message)
        return ERROR_INVALID;
    return writeKindAndPayload(stream, *message);
}

ErrorCode writeNetworkMessage(NetworkMessage& message, std::unique_ptr<NetworkBuffer>& buffer)
{
    buffer.reset();
    SizeCountingStream counter;
    if (ErrorCode error = writeKindAndPayload(counter, message))
        return error;
    auto written = std::make_unique<NetworkBuffer>(counter.tell());
    if (ErrorCode error = writeKindAndPayload(*written, message))
        return error;
    // A payload that writes other bytes than it measured is a programming
    // error; never send a block with a stale tail.
    if (written->tell() != written->capacity())
        return ERROR_INVALID;
    buffer = std::move(written);
    return ERROR_OK;
}

ErrorCode readNetworkMessage(const void* bytes, uint32_t size, std::unique_ptr<NetworkMessage>& message)
{
    NetworkReadBuffer reader(bytes, size);
    return transferMessage(reader, message);
}
