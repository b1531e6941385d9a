#pragma once
// The players an endpoint knows while it is in a session: a table of slots for
// the players of a peer session, or a client's single link to its server.
#include "Network/NetworkPlayerInfo.h"

#include <cstdint>
#include <memory>
#include <vector>

class NetworkClient;
class NetworkEndpoint;

class NetworkPlayerSet
{
public:
    virtual ~NetworkPlayerSet() = default;
    virtual bool isPlayerTable() const = 0;
};

class SlotTable : public NetworkPlayerSet
{
public:
    SlotTable(NetworkEndpoint* owner, uint32_t capacity);
    bool isPlayerTable() const override { return true; }

    // Puts the record in the first empty slot. A full table, a null record or
    // one already held is refused (false) and the table keeps no share of it.
    bool add(std::shared_ptr<NetworkPlayerInfo> player);
    // Empties the player's slot and hands back the table's share; null when
    // the player is not held.
    std::shared_ptr<NetworkPlayerInfo> remove(const NetworkPlayerInfo* player);
    // Slot index, or -1.
    int indexOf(const NetworkPlayerInfo* player) const;
    // The table's share of a held record, or null.
    std::shared_ptr<NetworkPlayerInfo> find(const NetworkPlayerInfo* player) const;

    uint32_t getCapacity() const { return static_cast<uint32_t>(mSlots.size()); }
    uint32_t getCount() const { return mCount; }
    // Null for an empty slot.
    const std::shared_ptr<NetworkPlayerInfo>& getSlot(uint32_t index) const { return mSlots[index]; }
    NetworkEndpoint* getOwner() const { return mOwner; }

private:
    NetworkEndpoint* mOwner;
    std::vector<std::shared_ptr<NetworkPlayerInfo>> mSlots;
    uint32_t mCount = 0;
};

// The players of the current peer session.
class NetworkSession : public SlotTable
{
public:
    NetworkSession(NetworkEndpoint* owner, uint32_t maxPlayers, bool isHost)
        : SlotTable(owner, maxPlayers), mIsHost(isHost)
    {
    }
    bool isHost() const { return mIsHost; }

private:
    bool mIsHost;
};

// A client's connection to its server; the server is no player of a table.
class NetworkServerLink : public NetworkPlayerSet
{
public:
    NetworkServerLink(NetworkClient* client, uint32_t connection) : mClient(client), mConnection(connection)
    {
    }
    bool isPlayerTable() const override { return false; }
    NetworkClient* getClient() const { return mClient; }
    uint32_t getConnection() const { return mConnection; }

private:
    NetworkClient* mClient;
    uint32_t mConnection;
};
