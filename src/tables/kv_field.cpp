#include "tables/kv_field.h"

#include "base/archive.h"
#include "base/cp1252.h"

namespace {

// UTF-8 text cut so that its Windows-1252 form has at most maxBytes bytes.
std::string FitName(std::string_view utf8, size_t maxBytes)
{
    std::string bytes = cp1252::FromUtf8(utf8);
    if (bytes.size() > maxBytes)
        bytes.resize(maxBytes);
    return cp1252::ToUtf8(bytes);
}

std::string Padded(const std::string& utf8, size_t size)
{
    std::string bytes = cp1252::FromUtf8(utf8);
    bytes.resize(size, '\0');
    return bytes;
}

}  // namespace

CKVField::CKVField(std::string_view name, uint16_t width, int32_t type, uint8_t flags,
                   std::string_view indexName)
    : m_name(FitName(name, kNameBytes - 1)),
      m_width(width),
      m_type(type),
      m_flags(flags),
      m_indexName(FitName(indexName, kIndexNameBytes - 1))
{
}

void CKVField::SetIndexName(std::string_view indexName)
{
    m_indexName = FitName(indexName, kIndexNameBytes - 1);
}

std::string CKVField::NameFromBytes(std::string_view bytes)
{
    const size_t end = bytes.find('\0');
    std::string_view text = bytes.substr(0, end);
    // The last byte of the fixed area is the terminator even when a writer forgot it.
    if (!bytes.empty() && text.size() == bytes.size())
        text.remove_suffix(1);
    return cp1252::ToUtf8(text);
}

std::string CKVField::NameBytes() const
{
    return Padded(m_name, kNameBytes);
}

std::string CKVField::IndexNameBytes() const
{
    return Padded(m_indexName, kIndexNameBytes);
}

void CKVField::Serialize(ArchiveWriter& ar) const
{
    ar.WriteBytes(NameBytes());
    ar.WriteUInt16(m_width);
    ar.WriteUInt16(m_offset);
    ar.WriteInt32(m_type);
    ar.WriteByte(m_flags);
    ar.WriteBytes(IndexNameBytes());
}

void CKVField::Deserialize(ArchiveReader& ar)
{
    m_name = NameFromBytes(ar.ReadBytes(kNameBytes));
    m_width = ar.ReadUInt16();
    m_offset = ar.ReadUInt16();
    m_type = ar.ReadInt32();
    m_flags = ar.ReadByte();
    m_indexName = NameFromBytes(ar.ReadBytes(kIndexNameBytes));
}
