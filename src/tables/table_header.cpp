#include "tables/table_header.h"

#include "base/archive.h"
#include "tables/kv_register.h"

#include <algorithm>

namespace {

constexpr size_t kPlainDescriptorBytes = 22;  // without the index name

}  // namespace

uint32_t TableHeader::RecordLength() const
{
    uint32_t end = 0;
    for (const CKVField& f : fields)
        end = std::max(end, uint32_t(f.Offset()) + CKVRegister::BytesTaken(f.Type(), f.Width()));
    return end;
}

std::vector<uint8_t> BuildTableHeader(std::span<const CKVField> fields)
{
    ArchiveWriter ar;
    ar.WriteUInt32(0);
    ar.WriteUInt16(uint16_t(fields.size()));
    for (const CKVField& f : fields) {
        ar.WriteBytes(f.NameBytes());
        ar.WriteUInt16(f.Width());
        ar.WriteUInt16(f.Offset());
        ar.WriteByte(uint8_t(f.Type()));
        ar.WriteByte(f.Flags());
        if (f.IsIndexed())
            ar.WriteBytes(f.IndexNameBytes());
    }
    std::vector<uint8_t> bytes = ar.Take();
    const auto size = uint32_t(bytes.size());
    for (int i = 0; i < 4; ++i)
        bytes[size_t(i)] = uint8_t(size >> (8 * i));
    return bytes;
}

TableHeader ParseTableHeader(std::span<const uint8_t> bytes)
{
    ArchiveReader ar(bytes);
    TableHeader header;
    header.dataOffset = ar.ReadUInt32();
    const uint16_t count = ar.ReadUInt16();
    if (size_t(count) > ar.Remaining() / kPlainDescriptorBytes)
        ar.Fail("más campos que bytes en el encabezado");
    header.fields.reserve(count);
    for (uint16_t i = 0; i < count; ++i) {
        const std::string name = CKVField::NameFromBytes(ar.ReadBytes(CKVField::kNameBytes));
        const uint16_t width = ar.ReadUInt16();
        const uint16_t offset = ar.ReadUInt16();
        const uint8_t type = ar.ReadByte();
        const uint8_t flags = ar.ReadByte();
        std::string indexName;
        if (flags != 0)
            indexName = CKVField::NameFromBytes(ar.ReadBytes(CKVField::kIndexNameBytes));
        CKVField field(name, width, int32_t(type), flags, indexName);
        field.SetOffset(offset);
        header.fields.push_back(std::move(field));
    }
    if (header.dataOffset != ar.Offset())
        throw ArchiveError(0, "el desplazamiento de los datos no coincide con el encabezado");
    return header;
}
