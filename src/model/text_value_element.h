#pragma once
#include "model/controles.h"

// A variable element whose captured value is the text of its edit: the text line, the
// paragraph and the boxes. The value lives nowhere but in the edit, which exists only on
// the capture screen; without it the value saves as empty and a loaded one is dropped.
class CTextValueElement : public CControles {
public:
    // Value record: the capture order, then the text.
    void SaveValue(ArchiveWriter& ar) const override;
    // Reads only the text (the capture screen has read the order to choose the element).
    void LoadValue(ArchiveReader& ar) override;
    void ClearValue() override;

    std::unique_ptr<TextEntry> m_pControl;

protected:
    using CControles::CControles;
    // Creates the edit once; a second call creates nothing and returns 0.
    int CreateTextControl(EntryFactory& factory, TextEntryKind kind, int controlId, const LogFont& font,
                          int maxLength = 0);
};
