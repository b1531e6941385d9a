#pragma once
// How an error code or a platform result code becomes a text for the player,
// and the two error boxes of the engines, the sound and the network.
#include "Framework/ErrorCodes.h"
#include "Platform/System/PlatformResult.h"

#include "Framework/SourceLocation.h"
#include <cstdint>
#include <string>

// The code's identifier ("ERROR_FILEIO_EOF"), or null outside 0 to 33.
const char* errorCodeIdentifier(ErrorCode code);
// The language id that shows a code 0 to 33: codes 24 to 29 use ids 26 to 31,
// codes 30 to 33 ids 57 to 60, the others 33 + code.
uint32_t errorCodeLangId(ErrorCode code);

// The text of a code from the language table when it is loaded, else the
// code's identifier; an unknown code gives "Code d'erreur inconnu", or the
// fallback text without a loaded table.
std::string errorCodeToText(ErrorCode code);

// The file that the error being passed up concerns, noted where the file is
// known (the archive, a configuration file, the game description), so that
// the start-up's error box can name it. take clears the note.
void noteErrorFile(const std::string& path);
std::string takeErrorFile();

// Noted where the error being passed up has already been put before the
// player in a box of its own, so that the start-up's error box does not say
// it a second time. take returns the noted code (0 for none) and clears it.
void noteErrorShown(ErrorCode code);
ErrorCode takeErrorShown();
// The noted code, left noted.
ErrorCode errorShown();

// An error box whose text is a description of the result followed directly
// by the formatted text (the engines pass their source position as
// "(line %i in file %s)"). Returns ERROR_D3D.
ErrorCode reportD3DError(uint32_t result, const char* format, ...) __attribute__((format(printf, 2, 3)));
// The box of a failed device call of the engines and the board view, with
// the caller's position: "(line L in file F)", F being the name the caller's
// source file goes by in these boxes. Returns ERROR_D3D.
ErrorCode reportD3DErrorAt(Platform::PlatformResult result, const char* sourceName,
                           SourceLocation where = SourceLocation::current());
// The same for the other platform services, captioned with the error code's
// text. Returns the error code.
ErrorCode reportDirectXError(ErrorCode code, uint32_t result, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
