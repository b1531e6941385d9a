#include "NetworkDirectPlay/DirectPlayCommon.h"

#include "Framework/ErrorText.h"
#include "Framework/Utilities.h"
#include "Network/NetworkEvent.h"
#include "Network/NetworkStreams.h"

#include <algorithm>
#include <cstring>

namespace DirectPlay
{

// GUIDs as they lie in memory: u32, u16, u16 little-endian, then 8 bytes.
const uint8_t kDefaultApplicationGuid[16] = {0xC6, 0x83, 0x64, 0x0E, 0x28, 0xCF, 0x95, 0x44,
                                             0xB7, 0x22, 0x12, 0x4C, 0x41, 0xB3, 0x0D, 0x8A};
const uint8_t kGameApplicationGuid[16] = {0x3E, 0x8E, 0x66, 0x20, 0xDC, 0xDB, 0x06, 0x42,
                                          0x98, 0xC6, 0x49, 0x50, 0xDD, 0xCB, 0xE2, 0x57};
const uint8_t kLobbyApplicationGuid[16] = {0x7E, 0x85, 0xD1, 0xD7, 0x0A, 0x8A, 0x9A, 0x47,
                                           0xAA, 0x70, 0xA3, 0x70, 0xB5, 0xBE, 0x6A, 0xCA};

Platform::NetGuid toNetGuid(const uint8_t (&bytes)[16])
{
    Platform::NetGuid guid;
    std::memcpy(guid.bytes.data(), bytes, 16);
    return guid;
}

uint32_t connectResultCode(Platform::NetConnectResult result)
{
    switch (result)
    {
    case Platform::NetConnectResult::Accepted:
        return CONNECT_RESULT_OK;
    case Platform::NetConnectResult::Rejected:
        return CONNECT_RESULT_REJECTED;
    case Platform::NetConnectResult::SessionFull:
        return CONNECT_RESULT_SESSION_FULL;
    case Platform::NetConnectResult::InvalidPassword:
        return CONNECT_RESULT_INVALID_PASSWORD;
    default:
        return CONNECT_RESULT_OTHER;
    }
}

std::unique_ptr<NetworkSessionInfo> makeSessionInfo(const Platform::NetHostInfo& host)
{
    auto info = std::make_unique<NetworkSessionInfo>();
    info->mInstanceGuid = host.instance.bytes;
    info->mMaxPlayers = host.maxPlayers;
    info->mCurrentPlayers = host.currentPlayers;
    info->mSessionName = host.sessionName;
    replaceControlCharacters(info->mSessionName);
    info->mHostIp = host.address.ip;
    info->mHostPort = host.address.port;
    return info;
}

ErrorCode sendMessage(Platform::NetSession& session, NetworkMessage& message, Platform::NetPlayerId target)
{
    std::unique_ptr<NetworkBuffer> buffer;
    if (ErrorCode error = writeNetworkMessage(message, buffer))
        return error;
    return session.sendTo(target, buffer->data(), buffer->capacity()) == Platform::NetResult::Ok
               ? ERROR_OK
               : ERROR_INVALID;
}

ErrorCode reportFailure(const char* what, SourceLocation where)
{
    // The session layer has no result code of its own for these: report the
    // generic failure (E_FAIL) under the DirectPlay caption. The box names
    // the source as the other services do, not by the path it was built from.
    return reportDirectXError(ERROR_DPLAY, 0x80004005u, " %s (line %i in file %s)", what, int(where.line()),
                              "Sources\\NetworkDirectPlay\\DirectPlayCommon.cpp");
}

ErrorCode startSessionLayer(std::unique_ptr<Platform::NetSession>& net, Platform::NetHandler& handler,
                            Platform::NetTimings timings)
{
    if (net)
        return ERROR_OK;
    auto made = std::make_unique<Platform::NetSession>(handler, timings);
    if (!made->start())
        return ERROR_NO_TCP_IP;
    net = std::move(made);
    return ERROR_OK;
}

ErrorCode startEnumeration(Platform::NetSession* net, const uint8_t (&application)[16],
                           const std::string& hostName, uint32_t port, uint32_t count)
{
    if (!net)
        return ERROR_INVALID;
    if (port > 0xFFFF)
        return ERROR_NETWORK_INVALID_HOST_ADRESS;
    switch (net->enumHosts(toNetGuid(application), hostName, static_cast<uint16_t>(port), count))
    {
    case Platform::NetResult::Ok:
        return ERROR_OK;
    case Platform::NetResult::InvalidHost:
        return ERROR_NETWORK_INVALID_HOST_ADRESS;
    default:
        return reportFailure("EnumHosts");
    }
}

void stopEnumeration(bool& enumerating, Platform::NetSession* net)
{
    if (enumerating)
    {
        enumerating = false;
        if (net)
            net->cancelEnumeration();
    }
}

bool addFoundHost(std::vector<std::unique_ptr<NetworkSessionInfo>>& sessions,
                  const Platform::NetHostInfo& host)
{
    for (const auto& known : sessions)
    {
        if (known->mInstanceGuid != host.instance.bytes)
            continue;
        // A game on this machine answers both on the loopback and on the
        // network: listed once, by the address it answered from first.
        if (known->mHostIp != host.address.ip)
            return false;
        std::unique_ptr<NetworkSessionInfo> now = makeSessionInfo(host);
        if (now->mSessionName == known->mSessionName && now->mMaxPlayers == known->mMaxPlayers &&
            now->mCurrentPlayers == known->mCurrentPlayers && now->mHostPort == known->mHostPort)
            return false;
        *known = *now;
        return true;
    }
    // Anyone on the network can answer as many sessions as it likes.
    if (sessions.size() >= kMaxFoundSessions)
        return false;
    sessions.push_back(makeSessionInfo(host));
    return true;
}

bool removeFoundHost(std::vector<std::unique_ptr<NetworkSessionInfo>>& sessions,
                     const Platform::NetHostInfo& host)
{
    return std::erase_if(sessions,
                         [&](const std::unique_ptr<NetworkSessionInfo>& known) {
                             return known->mInstanceGuid == host.instance.bytes &&
                                    known->mHostIp == host.address.ip;
                         }) != 0;
}

} // namespace DirectPlay
