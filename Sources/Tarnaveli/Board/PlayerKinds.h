#pragma once
// The table of creator functions by player kind, through which saved games
// rebuild their players, and the player record of a saved game: the u32 kind
// followed by the player's own transfer.
#include "Tarnaveli/Board/Player.h"

#include <memory>
#include <vector>

using PlayerCreator = std::unique_ptr<Player> (*)();

std::unique_ptr<Player> createHumanPlayer();
std::unique_ptr<Player> createComputerPlayer();

// Indexed by kind; an empty entry has no creator.
std::vector<PlayerCreator>& playerCreators();
// Called once by the game's initialisation: kinds 0 and 1 get their creators.
void registerPlayerKinds();

// Writing stores the kind and the player's transfer; a player whose kind has
// no creator could never be read back and is refused without writing. Reading
// builds the player of the kind read and replaces `player` only when the whole
// record was read and valid: an unknown kind, a bad side or level, a computer
// with no board in the stream's context or a short stream give an error code
// and leave `player` untouched. A computer player takes its board from the
// stream's context, which must point at the Board being read.
ErrorCode transferPlayer(BinaryStream& stream, std::unique_ptr<Player>& player);
