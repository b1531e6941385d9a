#include "Network/GameMessages.h"
#include "Network/NetworkEndpoint.h"
#include "Network/NetworkStreams.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
using Bytes = std::vector<uint8_t>;

class MessageWire : public ::testing::Test
{
protected:
    void SetUp() override
    {
        registerGameMessages();
        NetworkEndpoint registersKindZero;
    }

    static Bytes write(NetworkMessage& message)
    {
        std::unique_ptr<NetworkBuffer> buffer;
        EXPECT_EQ(writeNetworkMessage(message, buffer), ERROR_OK);
        if (!buffer)
            return {};
        return Bytes(buffer->data(), buffer->data() + buffer->capacity());
    }

    static std::unique_ptr<NetworkMessage> read(const Bytes& bytes)
    {
        std::unique_ptr<NetworkMessage> message;
        EXPECT_EQ(readNetworkMessage(bytes.data(), static_cast<uint32_t>(bytes.size()), message), ERROR_OK);
        return message;
    }

    static uint32_t countedSize(NetworkMessage& message)
    {
        SizeCountingStream counter;
        uint32_t kind = message.getKind();
        EXPECT_EQ(counter.transferValue(kind), ERROR_OK);
        EXPECT_EQ(message.serialize(counter), ERROR_OK);
        return counter.tell();
    }

    template <typename T> static T* as(const std::unique_ptr<NetworkMessage>& message)
    {
        return dynamic_cast<T*>(message.get());
    }
};

std::unique_ptr<MovePayload> payload(uint8_t piece, uint8_t index)
{
    auto p = std::make_unique<MovePayload>(piece, index);
    p->computeSize();
    return p;
}
} // namespace

TEST_F(MessageWire, EveryKindHasItsExactBytesCountedSizeAndReadsBack)
{
    PlayerNameMessage name("Bob");
    ChatMessage chat("salut");
    ChatMessage empty("");
    StartGameMessage start;
    MoveMessage move(payload(5, 2));
    LobbyRequest request("log", "pw", "FR", 7);
    LoginReplyMessage reply(1);
    ValueMessageA valueA(0x01020304);
    ValueMessageB valueB(0xDEADBEEF);

    struct Case
    {
        NetworkMessage& message;
        Bytes bytes;
    } cases[] = {
        {name, {0, 0, 0, 0, 3, 0, 0, 0, 'B', 'o', 'b'}},
        {chat, {1, 0, 0, 0, 5, 0, 0, 0, 's', 'a', 'l', 'u', 't'}},
        {empty, {1, 0, 0, 0, 0, 0, 0, 0}},
        {start, {2, 0, 0, 0}},
        {move, {3, 0, 0, 0, 6, 0, 0, 0, 5, 2}},
        {request, {4,   0, 0, 0, 3, 0,   0,   0, 'l', 'o', 'g', 2, 0, 0, 0, 'p',
                   'w', 2, 0, 0, 0, 'F', 'R', 0, 0,   0,   0,   7, 0, 0, 0}},
        {reply, {5, 0, 0, 0, 1}},
        {valueA, {6, 0, 0, 0, 4, 3, 2, 1}},
        {valueB, {7, 0, 0, 0, 0xEF, 0xBE, 0xAD, 0xDE}},
    };
    for (Case& c : cases)
    {
        SCOPED_TRACE(c.message.getKind());
        EXPECT_EQ(write(c.message), c.bytes);
        EXPECT_EQ(countedSize(c.message), c.bytes.size());
        // Every field is read back: writing what was read gives the same bytes.
        auto back = read(c.bytes);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->getKind(), c.message.getKind());
        EXPECT_EQ(write(*back), c.bytes);
    }
    MoveMessage sent(payload(7, 11));
    auto moveBack = read(write(sent));
    ASSERT_TRUE(as<MoveMessage>(moveBack) && as<MoveMessage>(moveBack)->getPayload());
    EXPECT_EQ(as<MoveMessage>(moveBack)->getPayload()->getPiece(), 7);
    EXPECT_EQ(as<MoveMessage>(moveBack)->getPayload()->getMoveIndex(), 11);
}

TEST_F(MessageWire, TheTextReadBackEndsAtAnEmbeddedZero)
{
    // The bytes after a zero travel, but the text read back ends at it.
    ChatMessage embedded(std::string("ab\0cd", 5));
    Bytes bytes = write(embedded);
    EXPECT_EQ(bytes, (Bytes{1, 0, 0, 0, 5, 0, 0, 0, 'a', 'b', 0, 'c', 'd'}));
    auto cut = read(bytes);
    ASSERT_TRUE(as<ChatMessage>(cut));
    EXPECT_EQ(as<ChatMessage>(cut)->getText(), "ab");
}

TEST_F(MessageWire, EveryTruncationFailsAndLeavesNoMessage)
{
    MoveMessage move(payload(1, 2));
    LobbyRequest request("a", "b", "FR", 1);
    ChatMessage chat("hello");
    for (NetworkMessage* message : std::initializer_list<NetworkMessage*>{&move, &request, &chat})
    {
        Bytes whole = write(*message);
        for (size_t n = 0; n < whole.size(); ++n)
        {
            Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
            std::unique_ptr<NetworkMessage> out = std::make_unique<StartGameMessage>();
            EXPECT_NE(readNetworkMessage(prefix.data(), static_cast<uint32_t>(n), out), ERROR_OK) << n;
            EXPECT_FALSE(out) << n;
        }
    }
}

TEST_F(MessageWire, HostileInputIsRefused)
{
    std::unique_ptr<NetworkMessage> out;
    // A kind nobody registered.
    Bytes unknown{8, 0, 0, 0, 1, 2, 3, 4};
    EXPECT_NE(readNetworkMessage(unknown.data(), 8, out), ERROR_OK);
    EXPECT_FALSE(out);
    Bytes huge{0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_NE(readNetworkMessage(huge.data(), 4, out), ERROR_OK);
    EXPECT_FALSE(out);
    // String lengths far past the data, up to the one that would wrap a
    // 32-bit position: refused before anything is allocated.
    for (uint32_t length : {6u, 0x7FFFFFFFu, 0xFFFFFFFCu, 0xFFFFFFFFu})
    {
        Bytes chat{1, 0, 0, 0};
        for (int i = 0; i < 4; ++i)
            chat.push_back(static_cast<uint8_t>(length >> (8 * i)));
        chat.insert(chat.end(), {'a', 'b', 'c', 'd', 'e'});
        EXPECT_EQ(readNetworkMessage(chat.data(), static_cast<uint32_t>(chat.size()), out), ERROR_INVALID);
        EXPECT_FALSE(out);
    }
    // Bytes after a whole message are not part of it and do no harm.
    Bytes trailing{2, 0, 0, 0, 0xAA};
    EXPECT_EQ(readNetworkMessage(trailing.data(), 5, out), ERROR_OK);
    EXPECT_TRUE(as<StartGameMessage>(out));
}

TEST_F(MessageWire, WritingAMessageWithoutItsPayloadFails)
{
    MoveMessage empty;
    std::unique_ptr<NetworkBuffer> buffer;
    EXPECT_NE(writeNetworkMessage(empty, buffer), ERROR_OK);
    EXPECT_FALSE(buffer);
    std::unique_ptr<NetworkMessage> none;
    NetworkBuffer sink(16);
    EXPECT_EQ(transferMessage(sink, none), ERROR_INVALID);
}

TEST(NetworkStreams, BuffersNeverPassTheirEnds)
{
    NetworkBuffer buffer(6);
    uint32_t value = 0x11223344;
    EXPECT_EQ(buffer.transfer(&value, 4), ERROR_OK);
    EXPECT_EQ(buffer.transfer(&value, 4), ERROR_INVALID);
    EXPECT_EQ(buffer.tell(), 4u);
    EXPECT_EQ(buffer.transfer(&value, 0xFFFFFFFF), ERROR_INVALID);
    EXPECT_FALSE(buffer.isAtEnd());
    EXPECT_EQ(buffer.transfer(&value, 2), ERROR_OK);
    EXPECT_TRUE(buffer.isAtEnd());
    EXPECT_EQ(buffer.seek(7), ERROR_INVALID);
    EXPECT_EQ(buffer.seek(6), ERROR_OK);
    EXPECT_TRUE(buffer.isWriting());

    NetworkBuffer empty(0);
    EXPECT_TRUE(empty.isAtEnd());
    EXPECT_EQ(empty.transfer(&value, 1), ERROR_INVALID);

    uint8_t bytes[3] = {1, 2, 3};
    NetworkReadBuffer reader(bytes, 3);
    EXPECT_TRUE(reader.isReading());
    EXPECT_EQ(reader.transferValue(value), ERROR_INVALID);
    EXPECT_EQ(reader.tell(), 0u);
    uint16_t half = 0;
    EXPECT_EQ(reader.transferValue(half), ERROR_OK);
    EXPECT_EQ(half, 0x0201);
    EXPECT_EQ(reader.seek(3), ERROR_OK);
    EXPECT_TRUE(reader.isAtEnd());
    EXPECT_EQ(reader.seek(4), ERROR_INVALID);
}

TEST(NetworkStreams, SizeCounterCountsWithoutWriting)
{
    SizeCountingStream counter;
    std::string text = "abc";
    EXPECT_EQ(counter.transferString(text), ERROR_OK);
    EXPECT_EQ(counter.tell(), 7u);
    EXPECT_EQ(counter.transfer(nullptr, 0xFFFFFFFF), ERROR_INVALID);
    EXPECT_EQ(counter.tell(), 7u);
    EXPECT_EQ(counter.seek(2), ERROR_OK);
    EXPECT_EQ(counter.tell(), 2u);
    EXPECT_FALSE(counter.isAtEnd());
}

TEST(NetworkMessageTable, CreatorsAreFoundByKindOnly)
{
    registerGameMessages();
    for (uint32_t kind = 1; kind < 8; ++kind)
    {
        auto message = createNetworkMessage(kind);
        ASSERT_TRUE(message) << kind;
        EXPECT_EQ(message->getKind(), kind);
    }
    EXPECT_FALSE(createNetworkMessage(8));
    EXPECT_FALSE(createNetworkMessage(0xFFFFFFFF));
    NetworkEndpoint endpoint;
    ASSERT_TRUE(createNetworkMessage(0));
    EXPECT_EQ(createNetworkMessage(0)->getKind(), 0u);
}
