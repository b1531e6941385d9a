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

    // The most events a screen handles in one frame: a peer that sends
    // faster than that waits for the next frames instead of freezing this one.
    static constexpr uint32_t kEventsPerFrame = 8;
    // Received messages waiting to be handled at most: chat lines, then any
    // message. A peer that sends faster than the game handles them loses what
    // is beyond, rather than growing the queue without end; an honest peer
    // never has more than a few waiting.
    static constexpr size_t kMaxQueuedChatLines = 32;
    static constexpr size_t kMaxQueuedMessages = 256;

    // Appends at the end; from any thread. A null event is ignored.
    void postEvent(std::unique_ptr<NetworkEvent> event);
    // Queues a received message and its sender, unless the queue is full
    // for that kind of message; false when it is dropped.
    bool postReceived(std::unique_ptr<NetworkMessage> message, std::shared_ptr<NetworkPlayerInfo> sender);
    size_t getQueuedMessageCount();
    // Received messages dropped so far because the queue was full.
    size_t getDroppedMessageCount();
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
    size_t mQueuedMessages = 0;
    size_t mQueuedChatLines = 0;
    size_t mDroppedMessages = 0;
    NetworkListener* mListener = nullptr;
};
