#include "model/text_value_element.h"

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
    TextEntryParams params;
    params.kind = kind;
    params.rcScreen = m_rcScreen;
    params.controlId = controlId;
    params.maxLength = maxLength;
    params.font = font;
    m_pControl = factory.CreateTextEntry(params);
    return m_pControl ? 1 : 0;
}
