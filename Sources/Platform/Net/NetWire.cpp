#include "Platform/Net/NetWire.h"

#include "Platform/Net/NetSession.h"

#include <algorithm>
#include <cstring>

namespace Platform::NetWire
{

void Writer::u16(uint16_t value)
{
    for (int i = 0; i < 2; ++i)
        mBytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void Writer::u32(uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        mBytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void Writer::raw(const void* data, size_t size)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    mBytes.insert(mBytes.end(), bytes, bytes + size);
}

Writer startFrame(FrameType type)
{
    Writer writer;
    writer.u32(0);
    writer.u8(type);
    return writer;
}

std::vector<uint8_t> finishFrame(Writer& writer)
{
    std::vector<uint8_t>& bytes = writer.bytes();
    uint32_t length = static_cast<uint32_t>(bytes.size() - 4);
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(length >> (8 * i));
    return std::move(bytes);
}

NetGuid Reader::guid()
{
    NetGuid value;
    const uint8_t* start = bytes(value.bytes.size());
    if (start != nullptr)
        std::memcpy(value.bytes.data(), start, value.bytes.size());
    return value;
}

std::string Reader::text(size_t length)
{
    const uint8_t* start = bytes(length);
    if (!ok())
        return std::string();
    return std::string(reinterpret_cast<const char*>(start), length);
}

std::vector<uint8_t> encodeJoin(const JoinRequest& join)
{
    Writer writer = startFrame(FRAME_JOIN);
    writer.guid(join.application);
    writer.guid(join.instance);
    writer.u8(join.role);
    writer.u16(static_cast<uint16_t>(join.password.size()));
    writer.raw(join.password.data(), join.password.size());
    // Version 1 wrote nothing here.
    if (join.version >= kFirstKeepAliveVersion)
        writer.u8(join.version);
    return finishFrame(writer);
}

bool decodeJoin(const uint8_t* body, size_t size, JoinRequest& join)
{
    Reader reader(body, size);
    join.application = reader.guid();
    join.instance = reader.guid();
    join.role = reader.u8();
    uint16_t passwordLength = reader.u16();
    if (passwordLength > kMaxPasswordLength)
        return false;
    join.password = reader.text(passwordLength);
    // A version-1 joiner ends here; anything after the version is for later
    // versions.
    join.version = reader.ok() && reader.left() > 0 ? std::max<uint8_t>(reader.u8(), 1) : 1;
    return reader.ok();
}

std::vector<uint8_t> encodeAccept(const AcceptInfo& accept)
{
    Writer writer = startFrame(FRAME_ACCEPT);
    writer.u32(accept.yourId);
    writer.u32(accept.hostId);
    writer.u32(static_cast<uint32_t>(accept.players.size()));
    for (const auto& [id, ip] : accept.players)
    {
        writer.u32(id);
        writer.u32(ip);
    }
    // A version-1 joiner refuses an accept longer than its list.
    if (accept.version >= kFirstKeepAliveVersion)
        writer.u8(accept.version);
    return finishFrame(writer);
}

bool decodeAccept(const uint8_t* body, size_t size, AcceptInfo& accept)
{
    Reader reader(body, size);
    accept.yourId = reader.u32();
    accept.hostId = reader.u32();
    uint32_t count = reader.u32();
    const size_t listSize = static_cast<size_t>(count) * 8;
    if (!reader.ok() || count == 0 || count > kNetMaxPlayers ||
        (reader.left() != listSize && reader.left() != listSize + 1) || accept.yourId == kNetAllPlayers ||
        accept.hostId == kNetAllPlayers || accept.yourId == accept.hostId)
        return false;
    accept.players.clear();
    bool sawSelf = false;
    for (uint32_t i = 0; i < count; ++i)
    {
        uint32_t id = reader.u32();
        uint32_t ip = reader.u32();
        bool known = std::any_of(accept.players.begin(), accept.players.end(),
                                 [id](const auto& player) { return player.first == id; });
        if (id == kNetAllPlayers || known)
            return false;
        sawSelf = sawSelf || id == accept.yourId;
        accept.players.push_back({id, ip});
    }
    accept.version = 1;
    if (reader.left() == 1)
    {
        // Written only by a version that has it.
        accept.version = reader.u8();
        if (accept.version < kFirstKeepAliveVersion)
            return false;
    }
    return sawSelf;
}

std::vector<uint8_t> encodeData(uint32_t from, uint32_t to, const void* message, size_t size)
{
    Writer writer = startFrame(FRAME_DATA);
    writer.u32(from);
    writer.u32(to);
    writer.raw(message, size);
    return finishFrame(writer);
}

bool decodeData(const uint8_t* body, size_t size, DataHeader& data)
{
    Reader reader(body, size);
    data.from = reader.u32();
    data.to = reader.u32();
    if (!reader.ok())
        return false;
    data.message = reader.position();
    data.size = reader.left();
    return true;
}

std::vector<uint8_t> encodeKeepAlive()
{
    Writer writer = startFrame(FRAME_KEEP_ALIVE);
    return finishFrame(writer);
}

std::vector<uint8_t> encodeQuery(const NetGuid& application)
{
    Writer writer;
    writer.raw(kQueryMagic, 4);
    writer.u8(kDiscoveryVersion);
    writer.guid(application);
    return std::move(writer.bytes());
}

bool decodeQuery(const uint8_t* bytes, size_t size, NetGuid& application)
{
    Reader reader(bytes, size);
    std::string magic = reader.text(4);
    uint8_t version = reader.u8();
    application = reader.guid();
    return reader.ok() && std::memcmp(magic.data(), kQueryMagic, 4) == 0 && version == kDiscoveryVersion;
}

std::vector<uint8_t> encodeAnswer(const NetHostInfo& host)
{
    Writer writer;
    writer.raw(kAnswerMagic, 4);
    writer.u8(kDiscoveryVersion);
    writer.guid(host.application);
    writer.guid(host.instance);
    writer.u32(host.maxPlayers);
    writer.u32(host.currentPlayers);
    writer.u16(host.address.port);
    writer.u16(static_cast<uint16_t>(host.sessionName.size()));
    writer.raw(host.sessionName.data(), host.sessionName.size());
    return std::move(writer.bytes());
}

bool decodeAnswer(const uint8_t* bytes, size_t size, NetHostInfo& host)
{
    Reader reader(bytes, size);
    std::string magic = reader.text(4);
    uint8_t version = reader.u8();
    host.application = reader.guid();
    host.instance = reader.guid();
    host.maxPlayers = reader.u32();
    host.currentPlayers = reader.u32();
    host.address.port = reader.u16();
    uint16_t nameLength = reader.u16();
    if (nameLength > kNetMaxSessionName)
        return false;
    host.sessionName = reader.text(nameLength);
    return reader.ok() && std::memcmp(magic.data(), kAnswerMagic, 4) == 0 && version == kDiscoveryVersion &&
           host.maxPlayers != 0 && host.maxPlayers <= kNetMaxPlayers &&
           host.currentPlayers <= host.maxPlayers && host.address.port != 0;
}

} // namespace Platform::NetWire
