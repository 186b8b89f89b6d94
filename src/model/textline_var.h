#pragma once
#include "model/text_value_element.h"

// Variable text line (kind 0): a single-line field, possibly calculated from others.
class CTextlineVar : public CTextValueElement {
public:
    CTextlineVar() : CTextValueElement(kKindTextlineVar, 0, 1, 0, 1) {}
    // As the designer inserts it: (x, y) is the bottom-left corner, 40 mm wide, one
    // line of the current font high.
    static std::unique_ptr<CTextlineVar> CreateAt(int x, int y);

    void UpdateHandles() override { ComputeHandles(HandleSet::LeftRight); }
    void FixFontHeight() override;
    void DrawDesign(Dc& dc) override;
    void DrawScreen(Dc& dc, bool showOrder) override;
    void Print(Dc& dc) override;
    int CreateEntryControl(Dc& dc, EntryFactory& factory, int controlId, const LogFont& font) override;

    std::string m_formula;  // calculation text; empty for an ordinary field

protected:
    void ReadTail(ArchiveReader& ar) override { m_formula = ar.ReadString(); }
    void WriteTail(ArchiveWriter& ar) const override { ar.WriteString(m_formula); }
    void AfterRead() override { UpdateHandles(); }

private:
    void DrawValue(Dc& dc, const Rect& rc, const std::string& text) const;
};
