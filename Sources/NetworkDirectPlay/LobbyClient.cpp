#include "NetworkDirectPlay/LobbyClient.h"

#include "Framework/ErrorText.h"
#include "Network/GameMessages.h"
#include "NetworkDirectPlay/DirectPlayCommon.h"

#include <mutex>

// Marks a stretch during which the connection's lock is held. A connection
// replaced meanwhile is kept until the outermost stretch has let the lock go:
// deleting it earlier would destroy a held lock, and its shutdown would wait
// for a network thread that waits for that lock.
class LobbyClient::BusyScope
{
public:
    explicit BusyScope(LobbyClient& owner) : mOwner(owner) { ++mOwner.mBusyDepth; }
    ~BusyScope()
    {
        if (--mOwner.mBusyDepth == 0)
            mOwner.mRetired.clear();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    LobbyClient& mOwner;
};

LobbyClient::LobbyClient(Platform::NetTimings timings) : mTimings(timings) {}

LobbyClient::~LobbyClient() = default;

ErrorCode LobbyClient::resetConnection(uint32_t mode)
{
    mMode = mode;
    if (mConnection)
    {
        if (mBusyDepth > 0)
            mRetired.push_back(std::move(mConnection));
        else
            mConnection.reset();
    }
    mConnection = std::make_unique<NetworkClientDirectPlay>(mTimings);
    mConnection->setPorts(DirectPlay::kLobbyPort, DirectPlay::kLobbyPort);
    mConnection->setApplicationGuid(DirectPlay::kLobbyApplicationGuid, 16);
    mConnection->setListener(this);
    return mConnection->init();
}

ErrorCode LobbyClient::login(const std::string& serverName, const std::string& login,
                             const std::string& password)
{
    if (!mConnection)
        return ERROR_INVALID;
    NetworkClientDirectPlay& connection = *mConnection;
    BusyScope busy(*this);
    std::scoped_lock guard(connection);
    mServerName = serverName;
    mLogin = login;
    mPassword = password;
    mRetryCount = 0;
    if (ErrorCode error = tryOnce())
        return error;
    setState(LOBBY_STATE_LOOKING_FOR_SERVER);
    return ERROR_OK;
}

ErrorCode LobbyClient::tryOnce()
{
    std::scoped_lock guard(*mConnection);
    ErrorCode error = mConnection->enumHosts(mServerName, 1);
    if (error == ERROR_OK)
        mRetryTimer.start();
    return error;
}

void LobbyClient::setState(uint32_t state)
{
    uint32_t previous = mState;
    mState = state;
    onStateChanged(previous);
}

bool LobbyClient::fail(NetworkClientDirectPlay& connection, const std::string& text)
{
    uint32_t state = mState;
    onFailure(text);
    // The screen may have started again from its notification.
    if (isCurrent(connection) && mState == state)
        setState(LOBBY_STATE_IDLE);
    return false;
}

void LobbyClient::update()
{
    if (!mConnection)
        return;
    NetworkClientDirectPlay& connection = *mConnection;
    BusyScope busy(*this);
    std::scoped_lock guard(connection);

    // 1. No answer yet: try again, at most kMaxTries times in all.
    if (mState == LOBBY_STATE_LOOKING_FOR_SERVER && mRetryTimer.getElapsed() >= kRetryIntervalMs)
    {
        if (!retrySearch(connection))
            return;
    }
    // 2. Everything the connection has reported since the last frame.
    for (uint32_t handled = 0; handled < NetworkEndpoint::kEventsPerFrame && isCurrent(connection); ++handled)
    {
        std::unique_ptr<NetworkEvent> event = connection.popEvent();
        if (!event || !handleEvent(connection, *event))
            return;
    }
}

bool LobbyClient::retrySearch(NetworkClientDirectPlay& connection)
{
    ++mRetryCount;
    if (mRetryCount >= kMaxTries)
        return fail(connection, getNetworkText(LobbyTextId::NoServer));
    if (ErrorCode error = tryOnce())
        return fail(connection, errorCodeToText(error));
    return true;
}

bool LobbyClient::handleEvent(NetworkClientDirectPlay& connection, NetworkEvent& event)
{
    switch (event.getKind())
    {
    case NETWORK_EVENT_SESSIONS_CHANGED:
        if (mState != LOBBY_STATE_LOOKING_FOR_SERVER || connection.getServers().empty())
            return true;
        if (ErrorCode error = connection.connect(*connection.getServers().front()))
            return fail(connection, errorCodeToText(error));
        setState(LOBBY_STATE_CONNECTING);
        return isCurrent(connection);
    case NETWORK_EVENT_CONNECT_RESULT:
        if (auto* result = dynamic_cast<NetworkDataEvent*>(&event);
            result && mState == LOBBY_STATE_CONNECTING)
            return handleConnectResult(connection, result->getData());
        return true;
    case NETWORK_EVENT_SESSION_ENDED:
    {
        auto* ended = dynamic_cast<NetworkDataEvent*>(&event);
        onDisconnected(getNetworkText(LobbyTextId::Disconnected) + " : " +
                       (ended != nullptr ? ended->getDisconnectText() : std::string()));
        return isCurrent(connection);
    }
    case NETWORK_EVENT_MESSAGE:
        // A chat line comes back through onChat.
        if (auto* received = dynamic_cast<NetworkMessageEvent*>(&event); received && received->getMessage())
            received->getMessage()->execute(&connection, received->getSender());
        return isCurrent(connection);
    default:
        return true;
    }
}

bool LobbyClient::handleConnectResult(NetworkClientDirectPlay& connection, uint32_t result)
{
    switch (result)
    {
    case CONNECT_RESULT_OK:
    {
        setState(LOBBY_STATE_REQUEST_SENT);
        if (!isCurrent(connection))
            return false;
        std::string languageId = getNetworkText(LobbyTextId::LanguageId);
        if (languageId.empty())
            languageId = kLobbyDefaultLanguageId;
        if (ErrorCode error =
                connection.send(std::make_unique<LobbyRequest>(mLogin, mPassword, languageId, mMode)))
            return fail(connection, errorCodeToText(error));
        return true;
    }
    case CONNECT_RESULT_REJECTED:
        return fail(connection, getNetworkText(LobbyTextId::ServerRejected));
    case CONNECT_RESULT_SESSION_FULL:
        return fail(connection, getNetworkText(LobbyTextId::ServerFull));
    case CONNECT_RESULT_OTHER:
        return fail(connection, getNetworkText(LobbyTextId::ServerError));
    default:
        // A password refusal: the server sets none, so nothing is shown.
        return true;
    }
}
