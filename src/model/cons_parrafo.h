#pragma once
#include "model/controles.h"

// Constant paragraph (kind 6): several lines printed as they stand.
class CConsParrafo : public CControles {
public:
    CConsParrafo() : CControles(kKindConsParrafo, 1, 0, 0, 1) {}
    // As the designer inserts it: (x, y) is the top-left corner; the rectangle fits
    // itself to the text on the first drawing.
    static std::unique_ptr<CConsParrafo> CreateAt(int x, int y);

    void FixFontHeight() override;
    void DrawDesign(Dc& dc) override;
    void Print(Dc& dc) override;
};
