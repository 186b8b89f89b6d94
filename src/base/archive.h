#pragma once
// The archive encoding shared by the format file, the captured-data file and the table
// element's records: little-endian integers and length-prefixed Windows-1252 strings.
//
// The reader never trusts a length or a count: every read is checked against the bytes
// that remain, and a failure raises ArchiveError with the offset of the first byte that
// could not be read, so that no input can make it read past the end or allocate more
// than the input holds.
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

class ArchiveReader {
public:
    explicit ArchiveReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    int32_t ReadInt32();
    uint32_t ReadUInt32();
    uint16_t ReadUInt16();
    uint8_t ReadByte();
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
    void Need(size_t n) const;
    size_t ReadLength();

    std::span<const uint8_t> m_bytes;
    size_t m_pos = 0;
};

class ArchiveWriter {
public:
    void WriteInt32(int32_t v);
    void WriteUInt32(uint32_t v);
    void WriteUInt16(uint16_t v);
    void WriteByte(uint8_t v);
    void WriteBytes(std::string_view raw);
    // UTF-8 in memory, written as Windows-1252 with the shortest length prefix.
    void WriteString(std::string_view utf8);

    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    std::vector<uint8_t> Take() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};
