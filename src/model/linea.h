#pragma once
#include "controles.h"

// Line (kind 7): a rule through the middle of a 4 mm band.
class CLinea : public CControles {
public:
    CLinea() : CControles(kKindLinea, 1, 0, 0, 1) {}
    void UpdateHandles() override { ComputeHandles(m_horizontal ? HandleSet::LeftRight : HandleSet::BottomTop); }

    int32_t m_horizontal = 1;  // 1 horizontal, 0 vertical

protected:
    void ReadTail(ArchiveReader& ar) override { m_horizontal = ar.ReadInt32(); }
    void WriteTail(ArchiveWriter& ar) const override { ar.WriteInt32(m_horizontal); }
    void AfterRead() override { UpdateHandles(); }
};
