#include "base/archive.h"

#include "base/cp1252.h"

#include <algorithm>
#include <cstring>

void ArchiveReader::FailAtEnd() const
{
    Fail("fin de archivo inesperado");
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
    // The length prefix as ReadLength reads it, with the wide form's mark (0xFF 0xFFFE)
    // looked for on the way.
    size_t n = ReadByte();
    if (n == 0xFF) {
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
        n = w < 0xFFFF ? w : ReadUInt32();
    }
    if (n > Remaining())
        throw ArchiveError(m_pos, "cadena más larga que el archivo");
    const std::string_view bytes(reinterpret_cast<const char*>(m_bytes.data() + m_pos), n);
    m_pos += n;
    return cp1252::IsAscii(bytes) ? std::string(bytes) : cp1252::ToUtf8(bytes);
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
    const std::string_view bytes = cp1252::IsAscii(utf8) ? utf8 : std::string_view(converted = cp1252::FromUtf8(utf8));
    const size_t n = bytes.size();
    if (n < 0xFF) {
        // Nearly every text: its one-byte prefix and its bytes in one piece of the buffer.
        uint8_t* p = Grow(1 + n);
        p[0] = uint8_t(n);
        if (n > 0)
            std::memcpy(p + 1, bytes.data(), n);
        return;
    }
    if (n < 0xFFFE) {
        WriteByte(0xFF);
        WriteUInt16(uint16_t(n));
    } else {
        WriteByte(0xFF);
        WriteUInt16(0xFFFF);
        WriteUInt32(uint32_t(n));
    }
    WriteBytes(bytes);
}
