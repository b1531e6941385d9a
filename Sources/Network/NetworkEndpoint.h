#pragma once
// The common base of the peer and the client. The network threads turn what
// they learn into events on a FIFO; the game thread pops and handles them once
// per frame. One re-entrant lock guards the FIFO, the player set and every
// network operation: callers on the game thread hold it (std::scoped_lock on
// the endpoint) around every send, host, connect and close.
#include "Network/NetworkEvent.h"
#include "Network/NetworkPlayerSet.h"

#include <deque>
#include <memory>
#include <mutex>

class NetworkListener;

class NetworkEndpoint
{
public:
    NetworkEndpoint();
    // Deletes every event still queued.
    virtual ~NetworkEndpoint();
    NetworkEndpoint(const NetworkEndpoint&) = delete;
    NetworkEndpoint& operator=(const NetworkEndpoint&) = delete;

    void lock() { mLock.lock(); }
    void unlock() { mLock.unlock(); }
    bool try_lock() { return mLock.try_lock(); }

    // Appends at the end; from any thread. A null event is ignored.
    void postEvent(std::unique_ptr<NetworkEvent> event);
    // The oldest event, or null when there is none.
    std::unique_ptr<NetworkEvent> popEvent();

    // Null outside a session.
    NetworkPlayerSet* getPlayerSet() const { return mPlayerSet.get(); }
    NetworkListener* getListener() const { return mListener; }
    void setListener(NetworkListener* listener) { mListener = listener; }

protected:
    std::recursive_mutex mLock;
    std::unique_ptr<NetworkPlayerSet> mPlayerSet;

private:
    std::deque<std::unique_ptr<NetworkEvent>> mEvents;
    NetworkListener* mListener = nullptr;
};
