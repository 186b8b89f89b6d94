#include "base/archive.h"

#include "base/cp1252.h"

void ArchiveReader::Need(size_t n) const
{
    if (n > Remaining())
        throw ArchiveError(m_pos, "fin de archivo inesperado");
}

uint8_t ArchiveReader::ReadByte()
{
    Need(1);
    return m_bytes[m_pos++];
}

uint16_t ArchiveReader::ReadUInt16()
{
    Need(2);
    const uint16_t v = uint16_t(m_bytes[m_pos] | (m_bytes[m_pos + 1] << 8));
    m_pos += 2;
    return v;
}

uint32_t ArchiveReader::ReadUInt32()
{
    Need(4);
    const uint32_t v = uint32_t(m_bytes[m_pos]) | (uint32_t(m_bytes[m_pos + 1]) << 8) |
                       (uint32_t(m_bytes[m_pos + 2]) << 16) | (uint32_t(m_bytes[m_pos + 3]) << 24);
    m_pos += 4;
    return v;
}

int32_t ArchiveReader::ReadInt32()
{
    return static_cast<int32_t>(ReadUInt32());
}

std::string ArchiveReader::ReadBytes(size_t n)
{
    Need(n);
    std::string out(reinterpret_cast<const char*>(m_bytes.data() + m_pos), n);
    m_pos += n;
    return out;
}

size_t ArchiveReader::ReadLength()
{
    const uint8_t b = ReadByte();
    if (b < 0xFF)
        return b;
    const uint16_t w = ReadUInt16();
    if (w < 0xFFFF)
        return w;
    return ReadUInt32();
}

std::string ArchiveReader::ReadString()
{
    const size_t start = m_pos;
    const uint8_t b = ReadByte();
    if (b == 0xFF) {
        const uint16_t w = ReadUInt16();
        if (w == 0xFFFE) {
            // Wide form: a second prefix counting UTF-16 units, then the units.
            const size_t units = ReadLength();
            if (units > Remaining() / 2)
                throw ArchiveError(m_pos, "cadena más larga que el archivo");
            std::u16string wide(units, u'\0');
            for (size_t i = 0; i < units; ++i)
                wide[i] = static_cast<char16_t>(ReadUInt16());
            // Characters outside the code page become "?", as a narrow reader would see them.
            return cp1252::ToUtf8(cp1252::FromUtf8(cp1252::Utf16ToUtf8(wide)));
        }
        m_pos = start;
    } else {
        m_pos = start;
    }
    const size_t n = ReadLength();
    if (n > Remaining())
        throw ArchiveError(m_pos, "cadena más larga que el archivo");
    return cp1252::ToUtf8(ReadBytes(n));
}

int32_t ArchiveReader::ReadCount(size_t minItemBytes)
{
    const int32_t n = ReadInt32();
    if (n < 0)
        throw ArchiveError(m_pos - 4, "cantidad negativa");
    if (minItemBytes > 0 && static_cast<size_t>(n) > Remaining() / minItemBytes)
        throw ArchiveError(m_pos - 4, "cantidad mayor que el archivo");
    return n;
}

void ArchiveWriter::WriteByte(uint8_t v)
{
    m_bytes.push_back(v);
}

void ArchiveWriter::WriteUInt16(uint16_t v)
{
    m_bytes.push_back(uint8_t(v));
    m_bytes.push_back(uint8_t(v >> 8));
}

void ArchiveWriter::WriteUInt32(uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        m_bytes.push_back(uint8_t(v >> (8 * i)));
}

void ArchiveWriter::WriteInt32(int32_t v)
{
    WriteUInt32(static_cast<uint32_t>(v));
}

void ArchiveWriter::WriteBytes(std::string_view raw)
{
    m_bytes.insert(m_bytes.end(), raw.begin(), raw.end());
}

void ArchiveWriter::WriteString(std::string_view utf8)
{
    const std::string bytes = cp1252::FromUtf8(utf8);
    const size_t n = bytes.size();
    if (n < 0xFF) {
        WriteByte(uint8_t(n));
    } else if (n < 0xFFFE) {
        WriteByte(0xFF);
        WriteUInt16(uint16_t(n));
    } else {
        WriteByte(0xFF);
        WriteUInt16(0xFFFF);
        WriteUInt32(uint32_t(n));
    }
    WriteBytes(bytes);
}
