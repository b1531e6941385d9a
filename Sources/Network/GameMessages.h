#pragma once
// The message kinds of the game and of the online server. Each serialize
// documents the bytes that follow the u32 kind on the wire.
#include "Network/NetworkMessage.h"

#include <memory>
#include <string>

// Kind 0. Wire: u32 n, n bytes of the sender's nickname.
class PlayerNameMessage : public NetworkMessage
{
public:
    explicit PlayerNameMessage(std::string name = std::string())
        : NetworkMessage(MESSAGE_PLAYER_NAME), mName(std::move(name))
    {
    }
    // A name is typed in a field of 24 characters; a longer one from the
    // wire is cut to this before it is shown anywhere.
    static constexpr size_t kMaxNameLength = 64;

    static std::unique_ptr<NetworkMessage> create() { return std::make_unique<PlayerNameMessage>(); }
    ErrorCode serialize(BinaryStream& stream) override { return stream.transferString(mName); }
    // Names the sender when it is a player of the receiver's session table;
    // the first name posts a player-named event.
    ErrorCode execute(NetworkEndpoint* receiver, NetworkPlayerInfo* sender) override;
    const std::string& getName() const { return mName; }

private:
    std::string mName;
};

// Kind 1. Wire: u32 n, n bytes of one chat line.
class ChatMessage : public NetworkMessage
{
public:
    explicit ChatMessage(std::string text = std::string())
        : NetworkMessage(MESSAGE_CHAT), mText(std::move(text))
    {
    }
    static std::unique_ptr<NetworkMessage> create() { return std::make_unique<ChatMessage>(); }
    ErrorCode serialize(BinaryStream& stream) override { return stream.transferString(mText); }
    // To the lobby client when one listens, else to the game's chat panel,
    // else to the waiting window's; otherwise the line is dropped.
    ErrorCode execute(NetworkEndpoint* receiver, NetworkPlayerInfo* sender) override;
    const std::string& getText() const { return mText; }

private:
    std::string mText;
};

// Kind 2. Wire: nothing. The waiting window starts the game when it sees one.
class StartGameMessage : public NetworkMessage
{
public:
    StartGameMessage() : NetworkMessage(MESSAGE_START_GAME) {}
    static std::unique_ptr<NetworkMessage> create() { return std::make_unique<StartGameMessage>(); }
    ErrorCode serialize(BinaryStream&) override { return ERROR_OK; }
};

// Kind 3. Wire: u32 payload size (6), u8 piece rank, u8 move index.
class MoveMessage : public NetworkMessage
{
public:
    MoveMessage() : NetworkMessage(MESSAGE_MOVE) {}
    // The payload's size must have been computed.
    explicit MoveMessage(std::unique_ptr<MovePayload> payload)
        : NetworkMessage(MESSAGE_MOVE), mPayload(std::move(payload))
    {
    }
    static std::unique_ptr<NetworkMessage> create() { return std::make_unique<MoveMessage>(); }
    ErrorCode serialize(BinaryStream& stream) override;
    // Plays the move when it comes from the remote player on turn and names a
    // legal move; anything else ends the game with the synchronisation text.
    ErrorCode execute(NetworkEndpoint* receiver, NetworkPlayerInfo* sender) override;
    const MovePayload* getPayload() const { return mPayload.get(); }

private:
    std::unique_ptr<MovePayload> mPayload;
};

// Kind 4, to the online server. Wire: string login, string password, string
// language id, u32 reserved (0), u32 request mode.
class LobbyRequest : public NetworkMessage
{
public:
    LobbyRequest() : NetworkMessage(MESSAGE_LOBBY_REQUEST) {}
    LobbyRequest(std::string login, std::string password, std::string languageId, uint32_t mode)
        : NetworkMessage(MESSAGE_LOBBY_REQUEST), mLogin(std::move(login)), mPassword(std::move(password)),
          mLanguageId(std::move(languageId)), mMode(mode)
    {
    }
    static std::unique_ptr<NetworkMessage> create() { return std::make_unique<LobbyRequest>(); }
    ErrorCode serialize(BinaryStream& stream) override;

    const std::string& getLogin() const { return mLogin; }
    const std::string& getPassword() const { return mPassword; }
    const std::string& getLanguageId() const { return mLanguageId; }
    uint32_t getReserved() const { return mReserved; }
    uint32_t getMode() const { return mMode; }

private:
    std::string mLogin;
    std::string mPassword;
    std::string mLanguageId;
    uint32_t mReserved = 0;
    uint32_t mMode = 0;
};

// Kind 5, from the online server. Wire: u8 status (non-zero: already logged in).
class LoginReplyMessage : public NetworkMessage
{
public:
    explicit LoginReplyMessage(uint8_t status = 0) : NetworkMessage(MESSAGE_LOGIN_REPLY), mStatus(status) {}
    static std::unique_ptr<NetworkMessage> create() { return std::make_unique<LoginReplyMessage>(); }
    ErrorCode serialize(BinaryStream& stream) override { return stream.transferValue(mStatus); }
    // Reaches the lobby client only in its login state (4).
    ErrorCode execute(NetworkEndpoint* receiver, NetworkPlayerInfo* sender) override;
    uint8_t getStatus() const { return mStatus; }

private:
    uint8_t mStatus;
};

// Kinds 6 and 7, from the online server. Wire: u32 value. Read and dropped.
class ValueMessage : public NetworkMessage
{
public:
    ValueMessage(uint32_t kind, uint32_t value) : NetworkMessage(kind), mValue(value) {}
    ErrorCode serialize(BinaryStream& stream) override { return stream.transferValue(mValue); }
    uint32_t getValue() const { return mValue; }

private:
    uint32_t mValue;
};

class ValueMessageA : public ValueMessage
{
public:
    explicit ValueMessageA(uint32_t value = 0) : ValueMessage(MESSAGE_VALUE_A, value) {}
    static std::unique_ptr<NetworkMessage> create() { return std::make_unique<ValueMessageA>(); }
};

class ValueMessageB : public ValueMessage
{
public:
    explicit ValueMessageB(uint32_t value = 0) : ValueMessage(MESSAGE_VALUE_B, value) {}
    static std::unique_ptr<NetworkMessage> create() { return std::make_unique<ValueMessageB>(); }
};

// Sets the creators of kinds 1 to 7 (kind 0 comes with the first endpoint).
void registerGameMessages();

// The lobby client's state in which a login reply is shown.
constexpr uint32_t kLobbyStateAwaitingLogin = 4;
