#pragma once
#include "model/text_value_element.h"

// Variable paragraph (kind 1): a multi-line field.
class CParrafoVar : public CTextValueElement {
public:
    CParrafoVar() : CTextValueElement(kKindParrafoVar, 0, 0, 0, 0) {}
    // As the designer inserts it: (x, y) is the top-left corner, 60 mm wide, three lines
    // of the current font high.
    static std::unique_ptr<CParrafoVar> CreateAt(int x, int y);

    void UpdateHandles() override { ComputeHandles(HandleSet::All); }
    void FixFontHeight() override;
    void DrawDesign(Dc& dc) override;
    void DrawScreen(Dc& dc, bool showOrder) override;
    void Print(Dc& dc) override;
    int CreateEntryControl(Dc& dc, EntryFactory& factory, int controlId, const LogFont& font) override;


protected:
    void AfterRead() override { UpdateHandles(); }
};
