#include "design/design_document.h"

#include "model/element_factory.h"
#include "model/fmt_grid.h"
#include "model/imagen.h"

void DesignDocument::Select(CControles* element)
{
    for (auto& e : m_format.elements)
        e->m_selected = 0;
    m_selection = element;
    if (element)
        element->m_selected = 1;
}

void DesignDocument::SelectAt(int x, int y)
{
    CControles* hit = nullptr;
    for (auto& e : m_format.elements)
        if (e->HitTest(x, y, false)) {
            hit = e.get();
            break;
        }
    Select(hit);
}

int DesignDocument::SelectionIndex() const
{
    int index = 0;
    for (const auto& e : m_format.elements) {
        if (e.get() == m_selection)
            return index;
        ++index;
    }
    return -1;
}

void DesignDocument::SelectIndex(int index)
{
    CControles* element = nullptr;
    if (index >= 0 && index < int(m_format.elements.size()))
        element = std::next(m_format.elements.begin(), index)->get();
    Select(element);
}

void DesignDocument::Replace(Format format)
{
    m_selection = nullptr;
    m_format = std::move(format);
    Select(nullptr);
}

void DesignDocument::ClearElements()
{
    m_selection = nullptr;
    m_format.elements.clear();
}

CControles* DesignDocument::InsertAt(int kind, int x, int y)
{
    std::unique_ptr<CControles> element;
    if (kind == kKindImagen) {
        // The picture was checked when it was chosen.
        std::string reason;
        if (!m_pictureBytes.empty())
            element = CImagen::CreateAt(x, y, m_pictureWidthUnits, m_pictureBytes, reason);
    } else {
        element = CreateElementAt(kind, x, y);
    }
    if (!element)
        return nullptr;
    const bool copyFont = !m_format.elements.empty();
    LogFont font;
    if (copyFont)
        font = m_format.elements.front()->GetFont();
    CControles* added = element.get();
    m_format.elements.push_front(std::move(element));
    Select(added);
    if (copyFont) {
        added->SetFont(font);
        added->FixFontHeight();
    }
    return added;
}

void DesignDocument::SetPictureToPlace(std::vector<uint8_t> bytes, int widthUnits)
{
    m_pictureBytes = std::move(bytes);
    m_pictureWidthUnits = widthUnits;
}

bool DesignDocument::DeleteSelection()
{
    if (!m_selection)
        return false;
    for (auto it = m_format.elements.begin(); it != m_format.elements.end(); ++it)
        if (it->get() == m_selection) {
            m_selection = nullptr;
            m_format.elements.erase(it);
            return true;
        }
    m_selection = nullptr;
    return false;
}

void DesignDocument::AlignSelection(DesignAlign align)
{
    if (!m_selection)
        return;
    static constexpr int kTextOut[] = {0, 6, 2};
    const int n = static_cast<int>(align);
    m_selection->m_align = kTextOut[n];
    if (m_selection->m_kind == kKindGrid) {
        auto* grid = static_cast<CFmtGrid*>(m_selection);
        if (grid->m_selColumn >= 0 && grid->m_selColumn < grid->ColumnCount())
            grid->m_columns[size_t(grid->m_selColumn)].align = n;
    }
    if (m_selection->m_kind == kKindParrafoVar || m_selection->m_kind == kKindConsParrafo)
        m_selection->m_align = n;
}

void DesignDocument::ResetScreenPlacement()
{
    for (auto& e : m_format.elements)
        e->m_screenPlaced = 0;
}
