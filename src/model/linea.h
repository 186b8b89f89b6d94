#pragma once
#include "model/controles.h"

// Line (kind 7): a rule through the middle of a 4 mm band.
class CLinea : public CControles {
public:
    CLinea() : CControles(kKindLinea, 1, 0, 0, 1) {}
    // As the designer inserts it: horizontal, 40 mm long from x, centred on y.
    static std::unique_ptr<CLinea> CreateAt(int x, int y);

    void UpdateHandles() override { ComputeHandles(m_horizontal ? HandleSet::LeftRight : HandleSet::BottomTop); }
    void DrawDesign(Dc& dc) override;
    void Print(Dc& dc) override;

    // Turn the line about, keeping its length (nothing when it already runs that way).
    void MakeHorizontal();
    void MakeVertical();

    int32_t m_horizontal = 1;  // 1 horizontal, 0 vertical

protected:
    void ReadTail(ArchiveReader& ar) override { m_horizontal = ar.ReadInt32(); }
    void WriteTail(ArchiveWriter& ar) const override { ar.WriteInt32(m_horizontal); }
    void AfterRead() override { UpdateHandles(); }

private:
    void DrawRule(Dc& dc, const Rect& rc) const;
};
