#pragma once
#include "controles.h"

// Variable paragraph (kind 1): a multi-line field.
class CParrafoVar : public CControles {
public:
    CParrafoVar() : CControles(kKindParrafoVar, 0, 0, 0, 0) {}
    void UpdateHandles() override { ComputeHandles(HandleSet::All); }

    std::unique_ptr<TextEntry> m_pControl;

protected:
    void AfterRead() override { UpdateHandles(); }
};
