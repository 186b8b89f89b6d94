#pragma once
// Windows-1252 text, as stored in every file of the program, converted to and from the
// UTF-8 strings used in memory. The conversion is exact both ways for all 256 byte
// values: the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// become the C1 control characters of the same number and come back unchanged.
#include <string>
#include <string_view>

namespace cp1252 {

// Whether no byte of the text is above 0x7F: such a text is the same in UTF-8 and in the
// code page, one character per byte, and needs no conversion (nearly every text is such).
bool IsAscii(std::string_view text);

// Bytes in Windows-1252 to UTF-8.
std::string ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252 bytes. A character the code page cannot hold, or a malformed
// UTF-8 sequence, becomes "?".
std::string FromUtf8(std::string_view utf8);

// The first character of `utf8` that the code page cannot hold (as its UTF-8 bytes; a
// malformed sequence counts as such a character), or an empty string when all fit.
std::string FirstUnencodable(std::string_view utf8);

// What a clerk is told when a value holds such a character: which one cannot be kept.
std::string CannotKeepMessage(std::string_view character);

// One UTF-16 code unit sequence (the wide string form of the archive) to UTF-8.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace cp1252
