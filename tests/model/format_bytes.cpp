#include "format_bytes.h"

FormatBytes& FormatBytes::Int(int32_t v)
{
    for (int i = 0; i < 4; ++i)
        m_bytes.push_back(uint8_t(uint32_t(v) >> (8 * i)));
    return *this;
}

FormatBytes& FormatBytes::Byte(uint8_t v)
{
    m_bytes.push_back(v);
    return *this;
}

FormatBytes& FormatBytes::Str(const std::string& s)
{
    m_bytes.push_back(uint8_t(s.size()));
    m_bytes.insert(m_bytes.end(), s.begin(), s.end());
    return *this;
}

FormatBytes& FormatBytes::Face(const std::string& face)
{
    std::string padded = face;
    padded.resize(32, '\0');
    m_bytes.insert(m_bytes.end(), padded.begin(), padded.end());
    return *this;
}

FormatBytes& FormatBytes::Entry(int32_t kind, int32_t alignWord, const std::string& text,
                                std::vector<int32_t> page, std::vector<int32_t> screen, int32_t order)
{
    Int(kind).Int(alignWord).Str(text);
    for (int32_t v : page)
        Int(v);
    for (int32_t v : screen)
        Int(v);
    Int(1).Int(0).Int(order);                 // caption left, colour, order
    Int(35).Int(0).Int(0).Int(0).Int(400);    // height, width, escapement, orientation, weight
    for (uint8_t b : {0, 0, 0, 0, 3, 2, 1, 0x22})
        Byte(b);
    return Face("Arial");
}
