#pragma once
// The toolkit's look objects for the entries of the game's look table.
#include "Tarnaveli/StartupTables.h"

#include <memory>

class Look;
class LookTable;

// Null for a look class the toolkit does not provide yet.
std::unique_ptr<Look> makeGameLook(const LookEntry& entry);

// What the looks need once they are all in the table: the up and down arrows
// of the lift look are 26 by 47 pictures, and the default list look's lift
// is 27 wide.
void finishGameLooks(LookTable& table);
