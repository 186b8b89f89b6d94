#pragma once
// One field descriptor of a record: name, width, offset in the record buffer, type code,
// index flags and the base name of the field's index file.
#include <cstdint>
#include <string>
#include <string_view>

class ArchiveReader;
class ArchiveWriter;

// Type codes of the fields. The code is kept as written in the files; codes outside this
// list are legal in a file and take no space.
enum KVType : int32_t {
    kvInt32 = 0,
    kvUInt32 = 1,
    kvInt16 = 2,
    kvUInt16 = 3,
    kvInt8 = 4,
    kvUInt8 = 5,
    kvText = 6,
    kvRaw = 7,
    kvRaw4 = 8,
    kvDate = 9,
    kvFloat = 10,
    kvBool = 11,
    kvRaw60 = 12,
    kvDouble = 13,
    kvCurrency = 14,
};

// Index flags: any non-zero value means the field has an index file.
constexpr uint8_t kvIndexDefault = 0x01;  // chosen when an order is selected with an empty name
constexpr uint8_t kvIndexUnique = 0x02;   // an add with an existing key is refused

class CKVField {
public:
    static constexpr size_t kNameBytes = 16;       // zero-terminated, at most 15 characters
    static constexpr size_t kIndexNameBytes = 9;   // zero-terminated, at most 8 characters
    static constexpr size_t kArchiveBytes = 34;

    CKVField() = default;
    // Names are UTF-8 in memory; they are cut to what their Windows-1252 form can hold in
    // the file, so that a name compares the same before and after a round trip.
    CKVField(std::string_view name, uint16_t width, int32_t type, uint8_t flags = 0,
             std::string_view indexName = {});

    const std::string& Name() const { return m_name; }
    uint16_t Width() const { return m_width; }
    uint16_t Offset() const { return m_offset; }
    int32_t Type() const { return m_type; }
    uint8_t Flags() const { return m_flags; }
    const std::string& IndexName() const { return m_indexName; }
    bool IsIndexed() const { return m_flags != 0; }

    void SetWidth(uint16_t width) { m_width = width; }
    void SetOffset(uint16_t offset) { m_offset = offset; }
    void SetIndexName(std::string_view indexName);

    // The 34-byte archive form: name, width, offset, type (32 bits), flags, index name.
    void Serialize(ArchiveWriter& ar) const;
    void Deserialize(ArchiveReader& ar);

    // The name or index name as the zero-padded Windows-1252 bytes of the files.
    std::string NameBytes() const;
    std::string IndexNameBytes() const;

    // Fixed-size, zero-terminated Windows-1252 bytes to a UTF-8 name.
    static std::string NameFromBytes(std::string_view bytes);

private:
    std::string m_name;
    uint16_t m_width = 0;
    uint16_t m_offset = 0;
    int32_t m_type = 0;
    uint8_t m_flags = 0;
    std::string m_indexName;
};
