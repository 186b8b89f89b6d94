#pragma once
#include "controles.h"

// Check mark (kind 3): prints its mark inside a square when ticked.
class CMarcaVar : public CControles {
public:
    CMarcaVar() : CControles(kKindMarcaVar, 0, 1, 6, 1) {}

    std::string m_mark = "X";
    std::unique_ptr<CheckEntry> m_pControl;

protected:
    void ReadTail(ArchiveReader& ar) override { m_mark = ar.ReadString(); }
    void WriteTail(ArchiveWriter& ar) const override { ar.WriteString(m_mark); }
};
