#pragma once
// A record: an ordered list of typed field descriptors and one flat, zero-filled record
// buffer laid out from them, with the conversions between every field type and text or
// a double.
//
// Text is UTF-8 in memory and Windows-1252 in the record buffer, one byte per character,
// as in the files. A field index at or past the fields laid out is ignored by every
// operation: nothing is written, and an empty text, 0 or false is given back.
#include "tables/kv_field.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class ArchiveReader;
class ArchiveWriter;
class Locale;
class Prompts;

class CKVRegister {
public:
    static constexpr const char* kMsgRecordTooLarge = "Se sobrepasó el tamaño máximo del registro (64 Kb)";
    static constexpr const char* kMsgMustHoldData = " debe contener datos válidos, no puedo adicionar.";
    // A running offset that reaches this stops the layout.
    static constexpr uint32_t kMaxRecordBytes = 65535;

    // Messages go to the prompts; currency text and today's date come from the locale.
    // Both are lent and must outlive the record.
    CKVRegister(Prompts& prompts, const Locale& locale);
    virtual ~CKVRegister() = default;
    CKVRegister(const CKVRegister&) = delete;
    CKVRegister& operator=(const CKVRegister&) = delete;

    // Replaces the field list by a copy of the descriptors with widths and offsets
    // computed, and allocates a zeroed buffer. False (after the limit message) when the
    // fields do not fit in 64 KB; the fields laid out so far stay usable.
    bool LayoutFields(std::span<const CKVField> fields);
    void ClearRecord();

    struct FieldRef {
        bool found = false;
        int index = 0;
        int32_t type = 0;
    };
    // The first field whose name equals the given one exactly.
    FieldRef FindField(std::string_view name) const;

    void PutRaw(int index, std::span<const uint8_t> bytes);
    std::vector<uint8_t> GetRaw(int index) const;

    void SetText(int index, std::string_view text);
    void SetText(const std::string& name, std::string_view text);
    std::string GetText(int index) const;
    std::string GetText(const std::string& name) const;
    double GetDouble(int index) const;
    bool IsFilled(int index) const;
    bool IsFilled(const std::string& name) const;
    // Every byte of the buffer is 0 (or there is no buffer).
    bool IsBlank() const;

    // For each field of the target whose name exists here: a text field receives this
    // record's text form, any other field this record's raw bytes.
    void CopyFieldsTo(CKVRegister& target) const;
    // The same, only into target fields that are not filled.
    void CopyFieldsToEmpty(CKVRegister& target) const;
    // Every indexed field must be filled; the first that is not is named in a message.
    bool CheckIndexedFilled() const;

    // Archive form: field count (u16), record length (u16), the 34-byte descriptors, the
    // record buffer. Reading lays the descriptors out again and reads exactly the
    // recomputed length; an ArchiveError leaves the record without fields.
    void Serialize(ArchiveWriter& ar) const;
    void Deserialize(ArchiveReader& ar);

    int FieldCount() const { return int(m_fields.size()); }
    const CKVField& Field(int index) const { return m_fields.at(size_t(index)); }
    const std::vector<CKVField>& Fields() const { return m_fields; }
    uint16_t RecordLength() const { return m_recordLength; }
    std::span<const uint8_t> Buffer() const { return m_record; }

    // The bytes a field of this type and declared width takes in the buffer.
    static uint32_t BytesTaken(int32_t type, uint32_t width);

protected:
    std::span<uint8_t> MutableBuffer() { return m_record; }
    // Replaces the whole buffer; the size must be the record length.
    void SetBuffer(std::span<const uint8_t> bytes);
    Prompts& GetPrompts() const { return *m_prompts; }
    const Locale& GetLocale() const { return *m_locale; }
    bool IsUsable(int index) const { return index >= 0 && index < m_laidOut; }
    void SetFieldIndexName(int index, std::string_view indexName) { m_fields.at(size_t(index)).SetIndexName(indexName); }

private:
    std::span<uint8_t> Slot(int index);
    std::span<const uint8_t> Slot(int index) const;
    int64_t Currency(int index) const;
    void CopyFields(CKVRegister& target, bool onlyEmpty) const;

    Prompts* m_prompts;
    const Locale* m_locale;
    std::vector<CKVField> m_fields;
    int m_laidOut = 0;  // fields laid out; those after the 64 KB limit are not usable
    uint16_t m_recordLength = 0;
    std::vector<uint8_t> m_record;
};
