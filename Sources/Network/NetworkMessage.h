#pragma once
// Everything two copies of the game, or the game and the online server, say to
// each other is a network message: a 32-bit kind followed by the payload of
// that kind, little-endian, with no header of its own. Messages are rebuilt
// from their kind through one global table of creators.
#include "Framework/BinaryStream.h"

#include <cstdint>
#include <memory>

class NetworkBuffer;
class NetworkEndpoint;
class NetworkPlayerInfo;

// The kinds are frozen: peers of every version rely on these numbers.
enum : uint32_t
{
    MESSAGE_PLAYER_NAME = 0,
    MESSAGE_CHAT = 1,
    MESSAGE_START_GAME = 2,
    MESSAGE_MOVE = 3,
    MESSAGE_LOBBY_REQUEST = 4,
    MESSAGE_LOGIN_REPLY = 5,
    MESSAGE_VALUE_A = 6,
    MESSAGE_VALUE_B = 7
};

class NetworkMessage
{
public:
    explicit NetworkMessage(uint32_t kind) : mKind(kind) {}
    virtual ~NetworkMessage() = default;
    NetworkMessage(const NetworkMessage&) = delete;
    NetworkMessage& operator=(const NetworkMessage&) = delete;

    // Transfers the payload only (the kind is transferred by transferMessage).
    virtual ErrorCode serialize(BinaryStream& stream) = 0;
    // Acts on a received message, on the game thread, with the endpoint's lock
    // held. The sender is null for messages from a server.
    virtual ErrorCode execute(NetworkEndpoint* receiver, NetworkPlayerInfo* sender);

    uint32_t getKind() const { return mKind; }

protected:
    uint32_t mKind;
};

// A block of data carried inside a message that states its own size.
class MessagePayload
{
public:
    virtual ~MessagePayload() = default;
    // The base part is the u32 size.
    virtual ErrorCode serialize(BinaryStream& stream);
    // Measures the serialised payload (its own size field included) and keeps
    // the count; called once when the payload is built for sending.
    void computeSize();
    uint32_t getSize() const { return mSize; }

protected:
    uint32_t mSize = 0;
};

// One move of a network game: the rank of the moving animal within the
// mover's side and the index of the move among the moves the board generates
// for that piece, in the board's own order.
class MovePayload : public MessagePayload
{
public:
    MovePayload() = default;
    MovePayload(uint8_t piece, uint8_t moveIndex) : mPiece(piece), mMoveIndex(moveIndex) {}
    // u32 size (6), u8 piece, u8 move index.
    ErrorCode serialize(BinaryStream& stream) override;

    uint8_t getPiece() const { return mPiece; }
    uint8_t getMoveIndex() const { return mMoveIndex; }

private:
    uint8_t mPiece = 0;
    uint8_t mMoveIndex = 0;
};

using NetworkMessageCreator = std::unique_ptr<NetworkMessage> (*)();

// Sets the creator of one kind, growing the table as needed.
void registerNetworkMessage(uint32_t kind, NetworkMessageCreator creator);
// A new message of that kind with an empty payload, or null when the kind has
// no creator.
std::unique_ptr<NetworkMessage> createNetworkMessage(uint32_t kind);

// Reading: reads the kind, makes the message and lets it read its payload; on
// any failure (short data, a kind with no creator) the message is deleted and
// left null. Writing: writes the kind, then the payload.
ErrorCode transferMessage(BinaryStream& stream, std::unique_ptr<NetworkMessage>& message);

// The sending order: measure the message, write it into a buffer of exactly
// that size. A non-zero code abandons the send.
ErrorCode writeNetworkMessage(NetworkMessage& message, std::unique_ptr<NetworkBuffer>& buffer);
// Rebuilds a message from received bytes; null and a non-zero code when they
// do not hold a whole message of a known kind.
ErrorCode readNetworkMessage(const void* bytes, uint32_t size, std::unique_ptr<NetworkMessage>& message);
