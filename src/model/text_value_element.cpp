#include "text_value_element.h"

void CTextValueElement::SaveValue(ArchiveWriter& ar) const
{
    ar.WriteInt32(m_order);
    ar.WriteString(m_pControl ? m_pControl->Text() : std::string());
}

void CTextValueElement::LoadValue(ArchiveReader& ar)
{
    const std::string value = ar.ReadString();
    if (m_pControl)
        m_pControl->SetText(value);
}

void CTextValueElement::ClearValue()
{
    if (m_pControl)
        m_pControl->SetText("");
}

int CTextValueElement::CreateTextControl(EntryFactory& factory, TextEntryKind kind, int controlId,
                                         const LogFont& font, int maxLength)
{
    if (m_pControl)
        return 0;
    TextEntrySpec spec;
    spec.kind = kind;
    spec.rcScreen = m_rcScreen;
    spec.controlId = controlId;
    spec.maxLength = maxLength;
    spec.font = font;
    m_pControl = factory.CreateTextEntry(spec);
    return m_pControl ? 1 : 0;
}
