#pragma once
#include "model/text_value_element.h"

// Text in boxes (kind 2): one character per pre-printed box.
class CCuadrosVar : public CTextValueElement {
public:
    CCuadrosVar() : CTextValueElement(kKindCuadrosVar, 0, 1, 6, 1) {}
    // As the designer inserts it: (x, y) is the bottom-left corner, 8 boxes.
    static std::unique_ptr<CCuadrosVar> CreateAt(int x, int y);

    void UpdateHandles() override { ComputeHandles(HandleSet::LeftRight); }
    void FixFontHeight() override;
    void ResizeByHandle(int handle, int dx, int dy) override;
    void DrawDesign(Dc& dc) override;
    void DrawScreen(Dc& dc, bool showOrder) override;
    void Print(Dc& dc) override;
    int CreateEntryControl(Dc& dc, EntryFactory& factory, int controlId, const LogFont& font) override;

    // Sets the number of boxes and rebuilds the rectangle (left and bottom stay).
    void SetBoxCount(int count);
    // Rebuilds the rectangle from the box count, gap and width.
    void RefitBoxes();
    // Left and right edges of box i (counting from 0) within a rectangle whose left edge
    // is `left`.
    int BoxLeft(int left, int i) const;

    int32_t m_boxCount = 8;
    int32_t m_boxGap = 10;    // 0.1 mm
    int32_t m_boxWidth = 50;  // 0.1 mm; also the element's height

protected:
    void ReadTail(ArchiveReader& ar) override
    {
        m_boxCount = ar.ReadInt32();
        m_boxGap = ar.ReadInt32();
        m_boxWidth = ar.ReadInt32();
    }
    void WriteTail(ArchiveWriter& ar) const override
    {
        ar.WriteInt32(m_boxCount);
        ar.WriteInt32(m_boxGap);
        ar.WriteInt32(m_boxWidth);
    }
    void AfterRead() override { UpdateHandles(); }
};
