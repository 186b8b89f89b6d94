#pragma once
#include "model/controles.h"

// Check mark (kind 3): prints its mark inside a square when ticked.
class CMarcaVar : public CControles {
public:
    CMarcaVar() : CControles(kKindMarcaVar, 0, 1, 6, 1) {}
    // As the designer inserts it: (x, y) is the bottom-left corner of a square one line
    // of the current font high.
    static std::unique_ptr<CMarcaVar> CreateAt(int x, int y);

    void FixFontHeight() override;
    void DrawDesign(Dc& dc) override;
    void DrawScreen(Dc& dc, bool showOrder) override;
    void Print(Dc& dc) override;
    int CreateEntryControl(Dc& dc, EntryFactory& factory, int controlId, const LogFont& font) override;
    void SaveValue(ArchiveWriter& ar) const override;
    void LoadValue(ArchiveReader& ar) override;
    void ClearValue() override;

    std::string m_mark = "X";
    std::unique_ptr<CheckEntry> m_pControl;

protected:
    void ReadTail(ArchiveReader& ar) override { m_mark = ar.ReadString(); }
    void WriteTail(ArchiveWriter& ar) const override { ar.WriteString(m_mark); }

private:
    void DrawMark(Dc& dc, const Rect& rc) const;
};
