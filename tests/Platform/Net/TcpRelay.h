#pragma once
// A TCP relay for one connection, playing the network between a joiner and
// its host.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

// A TCP relay between one joiner and its host that plays the network in
// between: it passes bytes on after a delay, holds them (a cut that heals:
// TCP retransmits, nothing is lost) or drops them (a cut for good; the
// sockets stay open as a pulled cable leaves them).
class Relay
{
public:
    using Clock = std::chrono::steady_clock;
    enum class Mode
    {
        Pass,
        Hold,
        Drop
    };

    // Listens on a free port of listenIp; passes on to targetIp:targetPort.
    Relay(uint16_t targetPort, int delayMs = 0, uint32_t listenIp = INADDR_LOOPBACK,
          uint32_t targetIp = INADDR_LOOPBACK, uint16_t listenPort = 0)
        : mTarget(targetPort), mTargetIp(targetIp), mDelay(delayMs)
    {
        mListener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(listenIp);
        address.sin_port = htons(listenPort);
        int yes = 1;
        setsockopt(mListener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        ::bind(mListener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(mListener, 1);
        socklen_t length = sizeof address;
        getsockname(mListener, reinterpret_cast<sockaddr*>(&address), &length);
        mPort = ntohs(address.sin_port);
        mThread = std::thread([this] { run(); });
    }
    ~Relay()
    {
        mStop = true;
        mThread.join();
        for (int fd : {mListener, mSides[0], mSides[1]})
            if (fd >= 0)
                ::close(fd);
    }
    uint16_t port() const { return mPort; }
    void setMode(Mode mode) { mMode = mode; }

    // The longest time bytes stopped going one way, from the first bytes each
    // way until now or until the link ended. Neither end can have gone longer
    // without hearing from the other: a bound on the silence each saw,
    // however late the machine ran any of the threads.
    int64_t longestSilenceMs()
    {
        std::lock_guard lock(mPassedMutex);
        const Clock::time_point end = mEnded ? mEnd : Clock::now();
        Clock::duration longest{};
        for (int side = 0; side < 2; ++side)
        {
            if (mPassed[side].any)
                longest = std::max({longest, mPassed[side].longest, end - mPassed[side].lastBefore});
        }
        return std::chrono::duration_cast<std::chrono::milliseconds>(longest).count();
    }

private:
    struct Chunk
    {
        Clock::time_point due;
        std::vector<uint8_t> bytes;
    };
    // Bytes passed one way: the silence between two sends is counted from
    // before the first to after the second, so that it is never short.
    struct Passed
    {
        bool any = false;
        Clock::time_point lastBefore;
        Clock::duration longest{};
    };

    void notePassed(int side, Clock::time_point before, Clock::time_point after)
    {
        std::lock_guard lock(mPassedMutex);
        Passed& passed = mPassed[side];
        if (passed.any)
            passed.longest = std::max(passed.longest, after - passed.lastBefore);
        passed.any = true;
        passed.lastBefore = before;
    }
    void noteEnded()
    {
        std::lock_guard lock(mPassedMutex);
        if (!mEnded)
            mEnd = Clock::now();
        mEnded = true;
    }

    void run()
    {
        pollfd entry{mListener, POLLIN, 0};
        while (!mStop && ::poll(&entry, 1, 10) <= 0)
        {
        }
        if (mStop)
            return;
        mSides[0] = ::accept(mListener, nullptr, nullptr);
        mSides[1] = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(mTargetIp);
        address.sin_port = htons(mTarget);
        if (::connect(mSides[1], reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            return;
        std::deque<Chunk> queues[2];
        while (!mStop)
        {
            pollfd fds[2] = {{mSides[0], POLLIN, 0}, {mSides[1], POLLIN, 0}};
            const Mode mode = mMode;
            ::poll(fds, mode == Mode::Hold ? 0 : 2, 5);
            for (int side = 0; side < 2 && mode != Mode::Hold; ++side)
            {
                uint8_t buffer[4096];
                ssize_t got = ::recv(mSides[side], buffer, sizeof buffer, MSG_DONTWAIT);
                if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK))
                    noteEnded();
                if (got == 0)
                    return;
                if (got > 0 && mode == Mode::Pass)
                    queues[side].push_back({Clock::now() + std::chrono::milliseconds(mDelay),
                                            std::vector<uint8_t>(buffer, buffer + got)});
            }
            if (mode == Mode::Hold)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            for (int side = 0; side < 2; ++side)
            {
                while (mode == Mode::Pass && !queues[side].empty() &&
                       queues[side].front().due <= Clock::now())
                {
                    const auto& bytes = queues[side].front().bytes;
                    const Clock::time_point before = Clock::now();
                    (void)::send(mSides[1 - side], bytes.data(), bytes.size(), MSG_NOSIGNAL);
                    notePassed(side, before, Clock::now());
                    queues[side].pop_front();
                }
            }
        }
    }

    uint16_t mTarget;
    uint32_t mTargetIp;
    int mDelay;
    int mListener = -1;
    int mSides[2] = {-1, -1};
    uint16_t mPort = 0;
    std::atomic<Mode> mMode{Mode::Pass};
    std::atomic<bool> mStop{false};
    std::mutex mPassedMutex;
    Passed mPassed[2];
    bool mEnded = false;
    Clock::time_point mEnd;
    std::thread mThread;
};
