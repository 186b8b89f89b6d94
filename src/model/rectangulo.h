#pragma once
#include "controles.h"

// Rectangle (kind 8): an outline, never filled.
class CRectangulo : public CControles {
public:
    CRectangulo() : CControles(kKindRectangulo, 1, 0, 0, 1) {}
    void UpdateHandles() override { ComputeHandles(HandleSet::All); }

protected:
    void AfterRead() override { UpdateHandles(); }
};
