#pragma once
#include "model/controles.h"

// Label (kind 10): text for the people who design and fill the form, never printed.
class CEtiqueta : public CControles {
public:
    CEtiqueta() : CControles(kKindEtiqueta, 0, 1, 8, 1) {}
    // As the designer inserts it: (x, y) is the bottom-left corner; the rectangle fits
    // itself to the text on the first drawing.
    static std::unique_ptr<CEtiqueta> CreateAt(int x, int y);

    void FixFontHeight() override;
    void DrawDesign(Dc& dc) override;
    // On the screen layout and the capture screen: the text and a colon, in the screen
    // font with the label's own weight. A label has no caption and no order badge.
    void DrawScreen(Dc& dc, bool showOrder) override;
};
