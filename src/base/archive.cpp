#include "base/archive.h"

#include "base/cp1252.h"

#include <algorithm>
#include <cstring>

namespace {

// Text without a byte above 0x7F reads and writes the same in UTF-8 and in the code
// page, and needs no conversion: nearly every text of a format is such.
bool IsAscii(std::string_view text)
{
    // The high bits of all bytes gathered eight at a time: a text may be long, and this
    // check runs on every string read or written.
    uint64_t bits = 0;
    size_t i = 0;
    for (; text.size() - i >= sizeof bits; i += sizeof bits) {
        uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        bits |= word;
    }
    for (; i < text.size(); ++i)
        bits |= static_cast<unsigned char>(text[i]);
    return (bits & 0x8080808080808080u) == 0;
}

}  // namespace

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
    const std::string_view bytes(reinterpret_cast<const char*>(m_bytes.data() + m_pos), n);
    m_pos += n;
    return IsAscii(bytes) ? std::string(bytes) : cp1252::ToUtf8(bytes);
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

void ArchiveWriter::MakeRoom(size_t n)
{
    m_bytes.resize(std::max({m_size + n, 2 * m_size, size_t(256)}));
}

void ArchiveWriter::WriteBytes(std::string_view raw)
{
    if (!raw.empty())
        std::memcpy(Grow(raw.size()), raw.data(), raw.size());
}

void ArchiveWriter::WriteString(std::string_view utf8)
{
    std::string converted;
    const std::string_view bytes = IsAscii(utf8) ? utf8 : std::string_view(converted = cp1252::FromUtf8(utf8));
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
