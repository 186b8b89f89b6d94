#pragma once
#include "model/controles.h"

// Constant text line (kind 5): printed as it stands.
class CConsText : public CControles {
public:
    CConsText() : CControles(kKindConsText, 1, 1, 8, 1) {}
    // As the designer inserts it: (x, y) is the bottom-left corner; the rectangle fits
    // itself to the text on the first drawing.
    static std::unique_ptr<CConsText> CreateAt(int x, int y);

    void FixFontHeight() override;
    void DrawDesign(Dc& dc) override;
    void Print(Dc& dc) override;
};
