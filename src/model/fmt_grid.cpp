#include "fmt_grid.h"

namespace {
// The smallest stored column: four integers and two empty strings.
constexpr size_t kMinColumnBytes = 4 * 4 + 2;
}  // namespace

void CFmtGrid::ReadTail(ArchiveReader& ar)
{
    const int32_t columns = ar.ReadCount(kMinColumnBytes);
    m_columns.clear();
    m_columns.reserve(size_t(columns));
    for (int32_t i = 0; i < columns; ++i) {
        GridColumn c;
        c.align = ar.ReadInt32();
        c.title = ar.ReadString();
        c.width = ar.ReadInt32();
        c.screenWidth = ar.ReadInt32();
        c.type = ar.ReadInt32();
        c.formula = ar.ReadString();
        m_columns.push_back(std::move(c));
    }
    const int32_t rows = ar.ReadCount(4);
    m_rowHeights.clear();
    m_rowHeights.reserve(size_t(rows));
    for (int32_t i = 0; i < rows; ++i)
        m_rowHeights.push_back(ar.ReadInt32());
}

void CFmtGrid::WriteTail(ArchiveWriter& ar) const
{
    ar.WriteInt32(int32_t(m_columns.size()));
    for (const GridColumn& c : m_columns) {
        ar.WriteInt32(c.align);
        ar.WriteString(c.title);
        ar.WriteInt32(c.width);
        ar.WriteInt32(c.screenWidth);
        ar.WriteInt32(c.type);
        ar.WriteString(c.formula);
    }
    ar.WriteInt32(int32_t(m_rowHeights.size()));
    for (int32_t h : m_rowHeights)
        ar.WriteInt32(h);
}
