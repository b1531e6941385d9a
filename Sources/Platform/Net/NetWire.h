#pragma once
// The bytes of the session layer: frames on a session connection and
// discovery datagrams, with the readers that check them. Everything here comes
// from an untrusted peer: a reader checks every length against the bytes
// really there and says no rather than guess.
#include "Platform/Net/NetAddress.h"
#include "Platform/System/ByteReader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace Platform
{

struct NetHostInfo;

namespace NetWire
{

// Frames on a session connection: u32 length of what follows, u8 type, body.
// A kind is never given a new meaning: an end that meets a kind it does not
// know drops the connection.
enum FrameType : uint8_t
{
    FRAME_JOIN = 1,             // joiner: guid application, guid instance, u8 role, u16 n, n bytes password,
                                // from version 2 on: u8 the joiner's session version
    FRAME_ACCEPT = 2,           // host: u32 your id, u32 host id, u32 count, count x (u32 id, u32 ip),
                                // to a joiner of version 2 or later: u8 the host's session version
    FRAME_REJECT = 3,           // host: u8 reason, a RejectReason
    FRAME_PLAYER_CREATED = 4,   // host: u32 id, u32 ip
    FRAME_PLAYER_DESTROYED = 5, // host: u32 id
    FRAME_DATA = 6,             // u32 from, u32 to, the message
    FRAME_END = 7,              // host: the session ended
    FRAME_KEEP_ALIVE = 8        // either end, version 2 on both: nothing; sent after a silence so that
                                // the other end can tell a quiet link from a dead one
};

// Why a host refused a join. A joiner reads a reason it does not know as
// REJECT_REFUSED, as copies before REJECT_NO_SUCH_SESSION did.
enum RejectReason : uint8_t
{
    REJECT_REFUSED = 1,        // another application or role
    REJECT_FULL = 2,
    REJECT_PASSWORD = 3,
    REJECT_NO_SUCH_SESSION = 4 // the join names a session this host no longer runs
};

// Version 1 sent no version byte. Version 2 adds the keep-alive: both ends of
// a link send it only when both said version 2 or later, so that an older
// copy, which would drop a frame of an unknown kind, never receives one.
constexpr uint8_t kSessionVersion = 2;
constexpr uint8_t kFirstKeepAliveVersion = 2;

// Discovery datagrams: magic, version, then the fields.
constexpr uint8_t kQueryMagic[4] = {'V', 'L', 'M', 'Q'};  // guid application
constexpr uint8_t kAnswerMagic[4] = {'V', 'L', 'M', 'R'}; // guid application, guid instance, u32 max,
                                                          // u32 current, u16 port, u16 n, n bytes name
constexpr uint8_t kDiscoveryVersion = 1;
constexpr uint32_t kMaxPasswordLength = 256;

class Writer
{
public:
    void u8(uint8_t value) { mBytes.push_back(value); }
    void u16(uint16_t value);
    void u32(uint32_t value);
    void raw(const void* data, size_t size);
    void guid(const NetGuid& value) { raw(value.bytes.data(), value.bytes.size()); }
    std::vector<uint8_t>& bytes() { return mBytes; }

private:
    std::vector<uint8_t> mBytes;
};

// Starts a frame; finishFrame patches its length.
Writer startFrame(FrameType type);
std::vector<uint8_t> finishFrame(Writer& writer);

// Reads little-endian fields; any read past the end fails and sticks.
class Reader : public ByteReader
{
public:
    using ByteReader::ByteReader;
    NetGuid guid();
    std::string text(size_t length);
};

struct JoinRequest
{
    NetGuid application;
    NetGuid instance; // zero: any session of the application
    uint8_t role = 0;
    std::string password;
    uint8_t version = kSessionVersion; // 1 when the frame carries none
};
// The whole frame.
std::vector<uint8_t> encodeJoin(const JoinRequest& join);
bool decodeJoin(const uint8_t* body, size_t size, JoinRequest& join);

struct AcceptInfo
{
    uint32_t yourId = 0;
    uint32_t hostId = 0;
    std::vector<std::pair<uint32_t, uint32_t>> players; // id, IPv4 address (0 for the host)
    // Written only when 2 or more (the joiner said so); 1 when the frame
    // carries none.
    uint8_t version = 1;
};
std::vector<uint8_t> encodeAccept(const AcceptInfo& accept);
// Refuses a list without the joiner, with a player twice, with the id that
// means everybody, or longer than a session holds.
bool decodeAccept(const uint8_t* body, size_t size, AcceptInfo& accept);

struct DataHeader
{
    uint32_t from = 0;
    uint32_t to = 0;
    const uint8_t* message = nullptr; // inside the body given to decodeData
    size_t size = 0;
};
std::vector<uint8_t> encodeData(uint32_t from, uint32_t to, const void* message, size_t size);
bool decodeData(const uint8_t* body, size_t size, DataHeader& data);

std::vector<uint8_t> encodeKeepAlive();

std::vector<uint8_t> encodeQuery(const NetGuid& application);
bool decodeQuery(const uint8_t* bytes, size_t size, NetGuid& application);

// The answer carries everything of the host but its address, which is where
// the datagram came from.
std::vector<uint8_t> encodeAnswer(const NetHostInfo& host);
bool decodeAnswer(const uint8_t* bytes, size_t size, NetHostInfo& host);

} // namespace NetWire
} // namespace Platform
