#pragma once
// Fills a language text's "%s", "%c" and "%i" places with the given values,
// in order. Language texts come from lang.ini, which the player may edit, so
// they never reach printf: any other '%' sequence, or a place beyond the
// values, is kept as it stands; "%%" gives '%'.
#include <cstddef>
#include <initializer_list>
#include <string>

std::string formatGameText(const std::string& format, std::initializer_list<std::string> values,
                           size_t maxLength = 255);
