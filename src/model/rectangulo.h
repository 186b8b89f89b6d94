#pragma once
#include "model/controles.h"

// Rectangle (kind 8): an outline, never filled.
class CRectangulo : public CControles {
public:
    CRectangulo() : CControles(kKindRectangulo, 1, 0, 0, 1) {}
    // As the designer inserts it: a 60 mm square with (x, y) as its top-left corner.
    static std::unique_ptr<CRectangulo> CreateAt(int x, int y);

    void UpdateHandles() override { ComputeHandles(HandleSet::All); }
    void DrawDesign(Dc& dc) override;
    void Print(Dc& dc) override;

protected:
    void AfterRead() override { UpdateHandles(); }
};
