#pragma once
// Elements on the clipboard: the records of the format file, in file order, framed as a
// format of their own (an empty title, the count, the entries, an extent). Whatever a
// format file may hold, the clipboard may hold; whatever the format reader refuses, a
// paste refuses, for the same reasons.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/format_file.h"

// The clipboard's type for elements of a format.
inline constexpr const char* kElementsMimeType = "application/x-ordexa-elementos";

// The elements' records, in the order given (file order).
std::vector<uint8_t> EncodeElements(const std::vector<const CControles*>& elements);

// Reads elements back: on success `elements` holds them as a format read would (the
// front is the one read last) and nothing is selected. On failure `elements` is empty
// and `message` says, in Spanish, why the paste is refused.
bool DecodeElements(std::span<const uint8_t> bytes, ElementList& elements, std::string& message);
