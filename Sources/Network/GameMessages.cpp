#include "Network/GameMessages.h"

#include "Framework/Text1252Literal.h"
#include "Framework/Utilities.h"
#include "Network/NetworkEndpoint.h"
#include "Network/NetworkGameLinks.h"

#include <mutex>

namespace
{
constexpr uint32_t kRemoteNetworkPlayer = 2; // player kind of the remote player
constexpr uint32_t kPiecesPerSide = 8;
} // namespace

ErrorCode PlayerNameMessage::execute(NetworkEndpoint* receiver, NetworkPlayerInfo* sender)
{
    if (receiver == nullptr || sender == nullptr)
        return ERROR_OK;
    std::scoped_lock guard(*receiver);
    NetworkPlayerSet* players = receiver->getPlayerSet();
    if (players == nullptr || !players->isPlayerTable())
        return ERROR_OK;
    std::shared_ptr<NetworkPlayerInfo> held = static_cast<SlotTable*>(players)->find(sender);
    if (!held)
        return ERROR_OK;
    std::string name = mName.substr(0, kMaxNameLength);
    replaceControlCharacters(name);
    held->setName(name);
    if (held->isNamePending())
    {
        held->setNamePending(false);
        receiver->postEvent(std::make_unique<NetworkPlayerEvent>(NETWORK_EVENT_PLAYER_NAMED, held));
    }
    return ERROR_OK;
}

ErrorCode ChatMessage::execute(NetworkEndpoint* receiver, NetworkPlayerInfo* sender)
{
    if (receiver != nullptr && receiver->getListener() != nullptr)
    {
        receiver->getListener()->onChat(mText);
        return ERROR_OK;
    }
    NetworkGameLinks* links = getNetworkGameLinks();
    if (links == nullptr)
        return ERROR_OK;
    NetworkChatPanel* panel = nullptr;
    if (NetworkGameScreen* screen = links->getGameScreen())
        panel = screen->getChatPanel();
    else if (NetworkWaitingWindow* window = links->getWaitingWindow())
        panel = window->getChatPanel();
    if (panel != nullptr)
        panel->appendMessage(*this, sender);
    return ERROR_OK;
}

ErrorCode MoveMessage::serialize(BinaryStream& stream)
{
    if (stream.isReading())
        mPayload = std::make_unique<MovePayload>();
    if (!mPayload)
        return ERROR_INVALID;
    return mPayload->serialize(stream);
}

ErrorCode MoveMessage::execute(NetworkEndpoint* receiver, NetworkPlayerInfo* sender)
{
    // 1. Not for a lobby connection, and only during a game.
    if (receiver == nullptr || receiver->getListener() != nullptr)
        return ERROR_OK;
    NetworkGameLinks* links = getNetworkGameLinks();
    NetworkGameScreen* screen = links != nullptr ? links->getGameScreen() : nullptr;
    if (screen == nullptr)
        return ERROR_OK;
    // 2. The sender must be the remote player, and on turn.
    uint32_t kind = 0;
    uint32_t side = 0;
    bool valid = mPayload != nullptr && screen->findPlayerByNetworkRecord(sender, kind, side) &&
                 kind == kRemoteNetworkPlayer && side == screen->getSideToMove();
    // 3. The piece must be one of the mover's, still on the board.
    uint32_t rank = valid ? mPayload->getPiece() : 0;
    valid = valid && rank < kPiecesPerSide && screen->isPieceOnBoard(side, rank);
    // 4. The move must be one the board generates for it.
    uint32_t moveIndex = valid ? mPayload->getMoveIndex() : 0;
    valid = valid && moveIndex < screen->countPieceMoves(side, rank);
    if (valid)
        screen->playMove(side, rank, moveIndex);
    else
        screen->leaveToMainMenu(getNetworkText(NetworkTextId::SyncError));
    return ERROR_OK;
}

ErrorCode LobbyRequest::serialize(BinaryStream& stream)
{
    if (ErrorCode error = stream.transferString(mLogin))
        return error;
    if (ErrorCode error = stream.transferString(mPassword))
        return error;
    if (ErrorCode error = stream.transferString(mLanguageId))
        return error;
    if (ErrorCode error = stream.transferValue(mReserved))
        return error;
    return stream.transferValue(mMode);
}

ErrorCode LoginReplyMessage::execute(NetworkEndpoint* receiver, NetworkPlayerInfo*)
{
    NetworkListener* listener = receiver != nullptr ? receiver->getListener() : nullptr;
    if (listener == nullptr || listener->getState() != kLobbyStateAwaitingLogin)
        return ERROR_OK;
    // Windows-1252 texts.
    listener->onFailure(mStatus != 0 ? TEXT_1252("Vous êtes déjà connecté")
                                     : "Login ou mot de passe invalide");
    return ERROR_OK;
}

void registerGameMessages()
{
    registerNetworkMessage(MESSAGE_CHAT, &ChatMessage::create);
    registerNetworkMessage(MESSAGE_START_GAME, &StartGameMessage::create);
    registerNetworkMessage(MESSAGE_MOVE, &MoveMessage::create);
    registerNetworkMessage(MESSAGE_LOBBY_REQUEST, &LobbyRequest::create);
    registerNetworkMessage(MESSAGE_LOGIN_REPLY, &LoginReplyMessage::create);
    registerNetworkMessage(MESSAGE_VALUE_A, &ValueMessageA::create);
    registerNetworkMessage(MESSAGE_VALUE_B, &ValueMessageB::create);
}
