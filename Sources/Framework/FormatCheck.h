#pragma once
// Texts from the language file are used as printf formats. A translated text
// may change the words but never what the format reads from its arguments: a
// stray "%s" in lang.ini must not make the program read a string that was
// never passed.
#include <optional>
#include <string>
#include <string_view>

// The arguments a printf format consumes, one code per argument ("i" an
// integer of int size, "li" a long, "f" a double, "s" a string, "p" a
// pointer). None when the format is malformed, writes through %n or uses
// numbered arguments.
std::optional<std::string> formatArguments(std::string_view format);

// True when the candidate reads the same arguments as the reference format.
bool formatsAgree(std::string_view reference, std::string_view candidate);
