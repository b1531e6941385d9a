#pragma once
// A hostile process on this machine: it sends well-formed discovery answers,
// each for a new session, to a port as fast as it can until it is destroyed.
#include "Platform/Net/NetSession.h"
#include "Platform/Net/NetWire.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <random>
#include <thread>
#include <vector>

class AnswerFlood
{
public:
    AnswerFlood(uint16_t port, const Platform::NetGuid& application, uint32_t seed)
        : mThread([this, port, application, seed] { run(port, application, seed); })
    {
    }
    ~AnswerFlood()
    {
        mStop = true;
        mThread.join();
    }
    AnswerFlood(const AnswerFlood&) = delete;
    AnswerFlood& operator=(const AnswerFlood&) = delete;
    uint64_t sent() const { return mSent; }

private:
    void run(uint16_t port, const Platform::NetGuid& application, uint32_t seed)
    {
        int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(port);
        std::mt19937 random(seed);
        Platform::NetHostInfo fake;
        fake.application = application;
        fake.maxPlayers = 2;
        fake.currentPlayers = 1;
        fake.address.port = 4000;
        fake.sessionName = "Partie gratuite";
        while (!mStop)
        {
            for (auto& byte : fake.instance.bytes)
                byte = static_cast<uint8_t>(random());
            std::vector<uint8_t> bytes = Platform::NetWire::encodeAnswer(fake);
            if (::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) > 0)
                ++mSent;
        }
        ::close(fd);
    }

    std::atomic<bool> mStop{false};
    std::atomic<uint64_t> mSent{0};
    std::thread mThread;
};
