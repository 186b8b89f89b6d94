#pragma once
#include <vector>

#include "controles.h"

// One column of the table element as stored in the format.
struct GridColumn {
    int32_t align = 0;
    std::string title;
    int32_t width = 0;        // 0.1 mm on the page
    int32_t screenWidth = 0;  // pixels on the capture screen
    int32_t type = 0;         // data type of the column's values
    std::string formula;      // calculation of a calculated column

    friend bool operator==(const GridColumn&, const GridColumn&) = default;
};

// Table element (kind 4): rows and columns of captured values.
class CFmtGrid : public CControles {
public:
    CFmtGrid() : CControles(kKindGrid, 0, 0, 0, 0) {}
    void UpdateHandles() override { ComputeHandles(HandleSet::All); }

    std::vector<GridColumn> m_columns;
    std::vector<int32_t> m_rowHeights;  // 0.1 mm

protected:
    void ReadTail(ArchiveReader& ar) override;
    void WriteTail(ArchiveWriter& ar) const override;
    void AfterRead() override { UpdateHandles(); }
};
