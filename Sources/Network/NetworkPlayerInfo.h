#pragma once
// A player known to the network layer. Records are shared: the session's table
// holds one share, and every queued event or message that names the player
// holds another, so a record never disappears under an event that the game
// thread has not handled yet.
#include <cstdint>
#include <string>

class NetworkPlayerInfo
{
public:
    explicit NetworkPlayerInfo(std::string name, bool namePending = false)
        : mName(std::move(name)), mNamePending(namePending)
    {
    }
    virtual ~NetworkPlayerInfo() = default;
    NetworkPlayerInfo(const NetworkPlayerInfo&) = delete;
    NetworkPlayerInfo& operator=(const NetworkPlayerInfo&) = delete;

    // Read and written under the owning endpoint's lock.
    const std::string& getName() const { return mName; }
    void setName(std::string name) { mName = std::move(name); }
    bool isNamePending() const { return mNamePending; }
    void setNamePending(bool pending) { mNamePending = pending; }
    // A word the game may keep beside the player; it never goes on the wire.
    uint32_t getUserWord() const { return mUserWord; }
    void setUserWord(uint32_t word) { mUserWord = word; }

private:
    std::string mName;
    bool mNamePending;
    uint32_t mUserWord = 0;
};
