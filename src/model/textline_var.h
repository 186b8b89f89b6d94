#pragma once
#include "controles.h"

// Variable text line (kind 0): a single-line field, possibly calculated from others.
class CTextlineVar : public CControles {
public:
    CTextlineVar() : CControles(kKindTextlineVar, 0, 1, 0, 1) {}
    void UpdateHandles() override { ComputeHandles(HandleSet::LeftRight); }

    std::string m_formula;  // calculation text; empty for an ordinary field
    std::unique_ptr<TextEntry> m_pControl;

protected:
    void ReadTail(ArchiveReader& ar) override { m_formula = ar.ReadString(); }
    void WriteTail(ArchiveWriter& ar) const override { ar.WriteString(m_formula); }
    void AfterRead() override { UpdateHandles(); }
};
