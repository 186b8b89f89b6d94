#pragma once
// The header of a table's data file, little-endian: the data offset (u32, where record 1
// begins), the field count (u16), then per field its name (16 bytes), width (u16),
// offset (u16), type (one byte), index flags (one byte) and, only for an indexed field,
// its index name (9 bytes).
#include "tables/kv_field.h"

#include <cstdint>
#include <span>
#include <vector>

struct TableHeader {
    uint32_t dataOffset = 0;
    std::vector<CKVField> fields;  // widths and offsets as stored
    // The record length the fields take: the end of the field that ends last.
    uint32_t RecordLength() const;
};

// The header bytes of laid-out fields, data offset included.
std::vector<uint8_t> BuildTableHeader(std::span<const CKVField> fields);

// Reads a header from the start of a data file. Every count is checked against what the
// bytes hold; throws ArchiveError (with the offset) on a short or inconsistent header.
TableHeader ParseTableHeader(std::span<const uint8_t> bytes);
