#pragma once
#include "controles.h"

// Text in boxes (kind 2): one character per pre-printed box.
class CCuadrosVar : public CControles {
public:
    CCuadrosVar() : CControles(kKindCuadrosVar, 0, 1, 6, 1) {}
    void UpdateHandles() override { ComputeHandles(HandleSet::LeftRight); }

    int32_t m_boxCount = 8;
    int32_t m_boxGap = 10;    // 0.1 mm
    int32_t m_boxWidth = 50;  // 0.1 mm; also the element's height
    std::unique_ptr<TextEntry> m_pControl;

protected:
    void ReadTail(ArchiveReader& ar) override
    {
        m_boxCount = ar.ReadInt32();
        m_boxGap = ar.ReadInt32();
        m_boxWidth = ar.ReadInt32();
    }
    void WriteTail(ArchiveWriter& ar) const override
    {
        ar.WriteInt32(m_boxCount);
        ar.WriteInt32(m_boxGap);
        ar.WriteInt32(m_boxWidth);
    }
    void AfterRead() override { UpdateHandles(); }
};
