#pragma once
// The archive encoding shared by the format file, the captured-data file and the table
// element's records: little-endian integers and length-prefixed Windows-1252 strings.
//
// The reader never trusts a length or a count: every read is checked against the bytes
// that remain, and a failure raises ArchiveError with the offset of the first byte that
// could not be read, so that no input can make it read past the end or allocate more
// than the input holds.
//
// The fixed-size reads and writes are defined here, inline: a format of many elements
// calls them two dozen times per element.
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class ArchiveError : public std::runtime_error {
public:
    ArchiveError(size_t offset, const std::string& what)
        : std::runtime_error(what), m_offset(offset) {}
    size_t Offset() const { return m_offset; }

private:
    size_t m_offset;
};

// Bytes that read well but hold what the reader will not take (a picture too large, a
// value outside its range): the message names what, for the clerk.
class ArchiveRefusal : public ArchiveError {
public:
    using ArchiveError::ArchiveError;
};

class ArchiveReader {
public:
    explicit ArchiveReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    int32_t ReadInt32() { return static_cast<int32_t>(ReadUInt32()); }
    uint32_t ReadUInt32()
    {
        Need(4);
        const uint8_t* p = m_bytes.data() + m_pos;
        m_pos += 4;
        return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    }
    uint16_t ReadUInt16()
    {
        Need(2);
        const uint8_t* p = m_bytes.data() + m_pos;
        m_pos += 2;
        return uint16_t(p[0] | (p[1] << 8));
    }
    uint8_t ReadByte()
    {
        Need(1);
        return m_bytes[m_pos++];
    }
    // Exactly n raw bytes.
    std::string ReadBytes(size_t n);
    // A length-prefixed string (1-, 3- or 7-byte prefix; also the wide form), as UTF-8.
    std::string ReadString();
    // A count that announces `count` items of at least `minItemBytes` each: refused when
    // the bytes that remain cannot hold them.
    int32_t ReadCount(size_t minItemBytes);

    size_t Offset() const { return m_pos; }
    size_t Remaining() const { return m_bytes.size() - m_pos; }
    bool AtEnd() const { return m_pos == m_bytes.size(); }
    [[noreturn]] void Fail(const std::string& what) const { throw ArchiveError(m_pos, what); }

private:
    // Every fixed-size read checks its bytes: the check stays small enough to be inlined,
    // the failure is made elsewhere.
    void Need(size_t n) const
    {
        if (n > Remaining()) [[unlikely]]
            FailAtEnd();
    }
    [[noreturn]] void FailAtEnd() const;
    size_t ReadLength();

    std::span<const uint8_t> m_bytes;
    size_t m_pos = 0;
};

class ArchiveWriter {
public:
    // Room for this many bytes in all, so that a large file grows its buffer once.
    void Reserve(size_t bytes)
    {
        if (bytes > m_bytes.size())
            m_bytes.resize(bytes);
    }

    void WriteInt32(int32_t v) { WriteUInt32(static_cast<uint32_t>(v)); }
    void WriteUInt32(uint32_t v)
    {
        uint8_t* p = Grow(4);
        p[0] = uint8_t(v);
        p[1] = uint8_t(v >> 8);
        p[2] = uint8_t(v >> 16);
        p[3] = uint8_t(v >> 24);
    }
    void WriteUInt16(uint16_t v)
    {
        uint8_t* p = Grow(2);
        p[0] = uint8_t(v);
        p[1] = uint8_t(v >> 8);
    }
    void WriteByte(uint8_t v) { *Grow(1) = v; }
    void WriteBytes(std::string_view raw);
    // UTF-8 in memory, written as Windows-1252 with the shortest length prefix.
    void WriteString(std::string_view utf8);

    // The bytes written so far (the spare room is dropped first).
    const std::vector<uint8_t>& Bytes() const
    {
        m_bytes.resize(m_size);
        return m_bytes;
    }
    std::vector<uint8_t> Take()
    {
        m_bytes.resize(m_size);
        m_size = 0;
        return std::move(m_bytes);
    }

private:
    // n more bytes at the end, to be filled by the caller. The buffer is grown only when
    // its spare room runs out, so each write is a check and a few stores.
    uint8_t* Grow(size_t n)
    {
        if (m_bytes.size() - m_size < n)
            MakeRoom(n);
        uint8_t* p = m_bytes.data() + m_size;
        m_size += n;
        return p;
    }
    void MakeRoom(size_t n);

    // Holds the m_size bytes written, followed by spare room.
    mutable std::vector<uint8_t> m_bytes;
    size_t m_size = 0;
};
