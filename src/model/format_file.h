#pragma once
// The format file: a title, the element entries and the capture screen's extent.
//
// Readers insert each element at the front of the list and writers walk the list from
// its back, so a format read and written again keeps its entries in file order.
#include <cstdint>
#include <list>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/controles.h"

using ElementList = std::list<std::unique_ptr<CControles>>;

struct Format {
    std::string title;
    ElementList elements;  // front: the entry read (or inserted) last
    Rect screenExtent{0, 0, 100, 100};
};

// The three places that write a format.
enum class FormatWriter {
    Design,        // renumbers the capture order while writing
    ScreenLayout,  // marks every variable element and label as placed on the screen
    Rewrite,       // writes the elements as they are
};

struct FormatReadError {
    size_t offset = 0;
    std::string reason;       // Spanish, without the file name
    int32_t unknownKind = -1;  // the element kind the program does not know, when that stopped the read
    bool refused = false;      // the bytes read well but hold what the program refuses (reason says what)
};

// Reads a whole format. On failure `format` is left empty and `error` says where and why:
// a truncated file, a length or count larger than what remains, or an element kind the
// program does not know (the file stores no entry lengths, so nothing after an unknown
// kind can be trusted).
bool ReadFormat(std::span<const uint8_t> bytes, Format& format, FormatReadError& error);

// Writes a format; the Design and ScreenLayout writers change the elements first (order
// numbers, placed flag), and every writer stores the extent recomputed from the elements.
std::vector<uint8_t> WriteFormat(Format& format, FormatWriter writer);

// The bytes of the format exactly as it stands, its stored extent included, changing
// nothing (an editor's undo snapshot).
std::vector<uint8_t> WriteFormatAsItStands(const Format& format);

// The union of the screen rectangles of the variable elements and labels, started from
// (0, 0, 100, 100).
Rect ScreenExtent(const ElementList& elements);

// Reads a format file. On failure returns false with a one-line Spanish message naming
// the file (and, for a malformed file, the byte offset).
bool LoadFormatFile(const std::string& path, Format& format, std::string& message);

// Writes a format file through a temporary file renamed over the target, so a failure
// leaves the previous file intact.
bool SaveFormatFile(const std::string& path, Format& format, FormatWriter writer, std::string& message);
