#pragma once
// Builds format-file bytes field by field, independently of the program's writers, so
// that tests compare our reader and writers against bytes laid out by hand.
#include <cstdint>
#include <string>
#include <vector>

class FormatBytes {
public:
    FormatBytes& Int(int32_t v);
    FormatBytes& Byte(uint8_t v);
    FormatBytes& Str(const std::string& cp1252);  // one-byte length prefix only
    FormatBytes& Face(const std::string& face);   // padded to 32 bytes
    // A whole entry's common record with the usual font (height, weight, bytes 0..0x22).
    FormatBytes& Entry(int32_t kind, int32_t alignWord, const std::string& text,
                       std::vector<int32_t> page, std::vector<int32_t> screen, int32_t order);
    const std::vector<uint8_t>& Get() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};
