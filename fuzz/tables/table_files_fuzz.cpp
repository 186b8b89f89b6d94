// Reading table files from untrusted bytes: a data file's header and records, an index
// file, and the archive form of a record. Input layout: data-file length (u16), the data
// file, then the index file.
#include "base/archive.h"
#include "base/fixed_locale.h"
#include "tables/kv_index.h"
#include "tables/kv_register.h"
#include "base/prompts.h"
#include "tables/table_header.h"
#include "base/user_locale.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <span>

namespace {

// Bounds the work per input: a few records and index entries are enough to reach every
// conversion and comparison.
constexpr size_t kMaxRecords = 64;

void ReadIndex(const CKVField& field, std::span<const uint8_t> bytes, size_t expected,
               std::span<const uint8_t> key)
{
    CKVIndex index(field.Type(), field.Width());
    index.Load(bytes, expected);
    for (size_t i = 0; i < index.Count() && i < kMaxRecords; ++i)
        (void)index.RecordAt(i);
    const CKVIndex::Place place = index.Search(key);
    index.Insert(place.slot, 1, key);
    (void)index.FindRecord(1);
    index.RemoveRecord(1);
}

void ReadTable(std::span<const uint8_t> data, std::span<const uint8_t> indexBytes)
{
    TableHeader header;
    try {
        header = ParseTableHeader(data);
    } catch (const ArchiveError&) {
        return;
    }
    ScriptedPrompts prompts;
    FixedLocale locale;
    CKVRegister rec(prompts, locale);
    rec.LayoutFields(header.fields);
    const std::span<const uint8_t> records = data.subspan(header.dataOffset);
    const size_t length = rec.RecordLength();
    const size_t count = length == 0 ? 0 : records.size() / length;
    std::vector<uint8_t> key;
    for (size_t r = 0; r < count && r < kMaxRecords; ++r) {
        // Each record's bytes go into the fields as the engine reads them.
        CKVRegister& row = rec;
        row.ClearRecord();
        const auto bytes = records.subspan(r * length, length);
        for (int i = 0; i < row.FieldCount(); ++i) {
            const CKVField& f = row.Field(i);
            if (f.Offset() < bytes.size())
                row.PutRaw(i, bytes.subspan(f.Offset()));
        }
        for (int i = 0; i < row.FieldCount(); ++i) {
            (void)row.GetText(i);
            (void)row.GetDouble(i);
            (void)row.IsFilled(i);
        }
        (void)row.CheckIndexedFilled();
    }
    for (int i = 0; i < rec.FieldCount(); ++i) {
        const CKVField& f = rec.Field(i);
        if (!f.IsIndexed())
            continue;
        const auto first = records.first(std::min(records.size(), length));
        key.assign(f.Width(), 0);
        for (size_t k = 0; k < key.size() && f.Offset() + k < first.size(); ++k)
            key[k] = first[f.Offset() + k];
        ReadIndex(f, indexBytes, count, key);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> input(data, size);
    if (size >= 2) {
        const size_t dataLength = std::min<size_t>(size - 2, size_t(data[0] | (data[1] << 8)));
        ReadTable(input.subspan(2, dataLength), input.subspan(2 + dataLength));
    }
    // The same bytes as the archive form of a record.
    ScriptedPrompts prompts;
    FixedLocale locale;
    CKVRegister rec(prompts, locale);
    ArchiveReader ar(input);
    try {
        rec.Deserialize(ar);
        for (int i = 0; i < rec.FieldCount(); ++i)
            (void)rec.GetText(i);
    } catch (const ArchiveError&) {
    }
    return 0;
}
