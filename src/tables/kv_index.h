#pragma once
// The sorted index of one field, as held in its index file: entries of a 32-bit record
// number (1-based, little-endian) followed by the field's first `width` bytes, in
// ascending key order, with no header.
#include <cstdint>
#include <span>
#include <vector>

class CKVIndex {
public:
    CKVIndex(int32_t type, uint16_t width) : m_type(type), m_width(width) {}

    // Takes whole entries from the bytes of an index file, at most maxEntries; a trailing
    // partial entry and anything past maxEntries are ignored.
    void Load(std::span<const uint8_t> bytes, size_t maxEntries);
    void Clear() { m_bytes.clear(); }

    size_t EntryBytes() const { return 4 + size_t(m_width); }
    size_t Count() const { return m_bytes.size() / EntryBytes(); }
    // 0-based entry.
    uint32_t RecordAt(size_t entry) const;
    std::span<const uint8_t> KeyAt(size_t entry) const;
    // 0-based place of the first entry holding the record, or Count() when none does.
    size_t FindRecord(uint32_t record) const;

    struct Place {
        size_t slot = 0;     // 0-based insertion slot
        bool equal = false;  // an entry with an equal key was found
    };
    // Binary search for a key of `width` bytes. On an equal key the slot is right after
    // the equal entry found, so that insertions among equal keys keep the search's order.
    Place Search(std::span<const uint8_t> key) const;
    void Insert(size_t slot, uint32_t record, std::span<const uint8_t> key);
    // Removes the entry at a 0-based slot (taking back an insert).
    void EraseAt(size_t slot);
    // Removes the entry of a deleted record and renumbers the records after it.
    void RemoveRecord(uint32_t record);

    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    // The entries from a 0-based slot to the end, and where they start in the file: an
    // insert changes nothing before its slot.
    std::span<const uint8_t> BytesFrom(size_t slot) const;
    uint64_t FilePosition(size_t slot) const { return uint64_t(slot) * EntryBytes(); }

    // Key a minus key b: negative, 0 or positive, by the field type's rule. Types without
    // an order compare equal; floats closer than 1 compare equal.
    static int CompareKeys(int32_t type, uint16_t width, std::span<const uint8_t> a, std::span<const uint8_t> b);

private:
    int32_t m_type;
    uint16_t m_width;
    std::vector<uint8_t> m_bytes;
};
