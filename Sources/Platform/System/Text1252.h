#pragma once
// Texts are Windows-1252 bytes inside the program; UTF-8 exists only at the
// boundary with SDL and the file system. These two functions are that
// boundary.
#include <string>
#include <string_view>

namespace Platform
{

std::string cp1252ToUtf8(std::string_view text);
// Characters with no Windows-1252 form become '?'; malformed UTF-8 bytes too.
std::string utf8ToCp1252(std::string_view text);

// The Unicode code point of one Windows-1252 byte (0 for the five unassigned
// bytes 0x81, 0x8D, 0x8F, 0x90, 0x9D), and the byte of a code point (-1 when
// it has none).
char32_t cp1252ToCodePoint(unsigned char byte);
int codePointToCp1252(char32_t codePoint);

} // namespace Platform
