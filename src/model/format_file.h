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

#include "base/file_fingerprint.h"
#include "model/controles.h"

using ElementList = std::list<std::unique_ptr<CControles>>;

struct Format {
    std::string title;
    ElementList elements;  // front: the entry read (or inserted) last
    Rect screenExtent{0, 0, 100, 100};
};

// The three places that write a format.
enum class FormatWriter {
    Design,        // numbers the capture order 1..n (NumberCaptureOrder) while writing
    ScreenLayout,  // the same numbering; marks every variable element and label as placed
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

// Gives the variable elements the capture orders 1..n without gaps or repeats, keeping
// the order the clerk set: elements with an order keep their relative order (a repeated
// number keeps writing order), elements without one (0, new ones) follow in writing
// order. Orders already running 1..n uniquely are kept as they are, so captured-data
// files, which store each value under its element's order, keep loading. Constants get
// 0; labels keep theirs.
void NumberCaptureOrder(ElementList& elements);

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
// the file (and, for a malformed file, the byte offset). `read`, when given, remembers
// the bytes read (forgotten on failure).
bool LoadFormatFile(const std::string& path, Format& format, std::string& message,
                    FileFingerprint* read = nullptr);

// Writes a format file through a temporary file renamed over the target, so a failure
// leaves the previous file intact. `written`, when given, remembers the bytes written.
bool SaveFormatFile(const std::string& path, Format& format, FormatWriter writer, std::string& message,
                    FileFingerprint* written = nullptr);
