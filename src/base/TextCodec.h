#pragma once
// Text from files and tags written by older versions of the program, or by
// Russian Windows systems, is 8-bit Windows-1251. Everything new is UTF-8.
// These helpers decide which one a byte string is and give UTF-8 back.

#include <string>
#include <string_view>

namespace orve {

// True when the bytes form well-formed UTF-8 (no overlongs, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// The length in bytes of the well-formed UTF-8 character that starts at
// `at` (1 to 4), or 0 when none does.
int Utf8CharacterLength(std::string_view bytes, size_t at);

// Decodes Windows-1251 bytes into UTF-8. Every byte maps to a character;
// the one unassigned code (0x98) becomes U+FFFD.
std::string Cp1251ToUtf8(std::string_view bytes);

// UTF-8 is kept as it is; anything else is taken as Windows-1251.
std::string LegacyTextToUtf8(std::string_view bytes);

}  // namespace orve
