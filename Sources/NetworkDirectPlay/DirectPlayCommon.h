#pragma once
// What the peer and the client share on top of the session layer.
#include "Framework/ErrorCodes.h"
#include "Framework/SourceLocation.h"
#include "Network/NetworkMessage.h"
#include "Network/NetworkSessionInfo.h"
#include "Platform/Net/NetSession.h"

#include <memory>
#include <string>
#include <vector>

namespace DirectPlay
{

// The game's ports and application ids.
constexpr uint32_t kGamePort = 2301;
constexpr uint32_t kLobbyPort = 2300;
// {0E6483C6-CF28-4495-B722-124C41B30D8A}, the peer's own until the game sets its id.
extern const uint8_t kDefaultApplicationGuid[16];
// {20668E3E-DBDC-4206-98C6-4950DDCBE257}
extern const uint8_t kGameApplicationGuid[16];
// {D7D1857E-8A0A-479A-AA70-A370B5BE6ACA}
extern const uint8_t kLobbyApplicationGuid[16];

Platform::NetGuid toNetGuid(const uint8_t (&bytes)[16]);
// The data of a kind-1 event for a connect completion.
uint32_t connectResultCode(Platform::NetConnectResult result);
std::unique_ptr<NetworkSessionInfo> makeSessionInfo(const Platform::NetHostInfo& host);
// Measures, writes and hands the message to the session layer.
ErrorCode sendMessage(Platform::NetSession& session, NetworkMessage& message, Platform::NetPlayerId target);
// A session-layer failure with no code of its own: shown with its place in
// the source, then ERROR_DPLAY.
ErrorCode reportFailure(const char* what, SourceLocation where = SourceLocation::current());

// Makes and starts the session layer once; ERROR_NO_TCP_IP where it cannot
// start.
ErrorCode startSessionLayer(std::unique_ptr<Platform::NetSession>& net, Platform::NetHandler& handler,
                            Platform::NetTimings timings);
// Starts the search for hosts of the application; the caller has already
// stopped any earlier search and cleared its list.
ErrorCode startEnumeration(Platform::NetSession* net, const uint8_t (&application)[16],
                           const std::string& hostName, uint32_t port, uint32_t count);
void stopEnumeration(bool& enumerating, Platform::NetSession* net);
// The most sessions a search lists: a local network has a few.
constexpr size_t kMaxFoundSessions = 64;
// Adds a host the search reached, or updates its entry when the same address
// answers again for the same session; false when nothing changed (already
// listed, or the list is full).
bool addFoundHost(std::vector<std::unique_ptr<NetworkSessionInfo>>& sessions,
                  const Platform::NetHostInfo& host);
// Takes out the session that address listed; false when it was not listed.
bool removeFoundHost(std::vector<std::unique_ptr<NetworkSessionInfo>>& sessions,
                     const Platform::NetHostInfo& host);

} // namespace DirectPlay
