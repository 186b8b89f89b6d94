#include "design/design_document.h"

#include <algorithm>
#include <set>

#include "model/element_clipboard.h"
#include "model/element_factory.h"
#include "model/fmt_grid.h"
#include "model/imagen.h"
#include "model/linea.h"

bool DesignDocument::IsSelected(const CControles* element) const
{
    return std::find(m_selected.begin(), m_selected.end(), element) != m_selected.end();
}

void DesignDocument::MirrorSelection()
{
    for (auto& e : m_format.elements)
        e->m_selected = 0;
    for (CControles* e : m_selected)
        e->m_selected = 1;
}

void DesignDocument::Select(CControles* element)
{
    m_selected.clear();
    if (element)
        m_selected.push_back(element);
    MirrorSelection();
}

void DesignDocument::ToggleSelected(CControles* element)
{
    if (!element)
        return;
    const auto it = std::find(m_selected.begin(), m_selected.end(), element);
    if (it == m_selected.end())
        m_selected.push_back(element);
    else
        m_selected.erase(it);
    MirrorSelection();
}

CControles* DesignDocument::ElementAt(int x, int y) const
{
    for (const auto& e : m_format.elements)
        if (e->HitTest(x, y, false))
            return e.get();
    return nullptr;
}

void DesignDocument::SelectAt(int x, int y)
{
    Select(ElementAt(x, y));
}

void SelectEnclosed(std::vector<CControles*>& selected, const ElementList& elements, const Rect& band, bool add,
                    bool onScreen, bool (*eligible)(const CControles&))
{
    const Rect b = band.Normalized();
    if (!add)
        selected.clear();
    // The list runs front to back; the file's first element is drawn first.
    for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
        CControles* e = it->get();
        const Rect rc = (onScreen ? e->m_rcScreen : e->m_rcPage).Normalized();
        if (rc.left >= b.left && rc.right <= b.right && rc.top >= b.top && rc.bottom <= b.bottom &&
            (!eligible || eligible(*e)) && std::find(selected.begin(), selected.end(), e) == selected.end())
            selected.push_back(e);
    }
}

void DesignDocument::SelectWithin(const Rect& band, bool add)
{
    SelectEnclosed(m_selected, m_format.elements, band, add, false);
    MirrorSelection();
}

void DesignDocument::SelectAll()
{
    m_selected.clear();
    for (auto it = m_format.elements.rbegin(); it != m_format.elements.rend(); ++it)
        m_selected.push_back(it->get());
    MirrorSelection();
}

void DesignDocument::SelectNextInOrder(bool backwards)
{
    if (m_format.elements.empty())
        return;
    // File order runs from the back of the list to its front.
    std::vector<CControles*> order;
    for (auto it = m_format.elements.rbegin(); it != m_format.elements.rend(); ++it)
        order.push_back(it->get());
    const int n = int(order.size());
    int at = -1;
    if (!m_selected.empty())
        at = int(std::find(order.begin(), order.end(), m_selected.back()) - order.begin());
    int next;
    if (at < 0 || at >= n)
        next = backwards ? n - 1 : 0;
    else
        next = ((backwards ? at - 1 : at + 1) + n) % n;
    Select(order[size_t(next)]);
}

std::vector<int> DesignDocument::SelectedIndices() const
{
    std::vector<int> indices;
    for (const CControles* s : m_selected) {
        int index = 0;
        for (const auto& e : m_format.elements) {
            if (e.get() == s) {
                indices.push_back(index);
                break;
            }
            ++index;
        }
    }
    return indices;
}

void DesignDocument::SelectIndices(const std::vector<int>& indices)
{
    m_selected.clear();
    for (int index : indices)
        if (index >= 0 && index < int(m_format.elements.size()))
            m_selected.push_back(std::next(m_format.elements.begin(), index)->get());
    MirrorSelection();
}

int DesignDocument::SelectionIndex() const
{
    if (m_selected.size() != 1)
        return -1;
    return SelectedIndices().front();
}

void DesignDocument::SelectIndex(int index)
{
    SelectIndices(index < 0 ? std::vector<int>{} : std::vector<int>{index});
}

void DesignDocument::Replace(Format format)
{
    m_selected.clear();
    m_format = std::move(format);
    MirrorSelection();
}

void DesignDocument::ClearElements()
{
    m_selected.clear();
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

CControles* DesignDocument::InsertIn(int kind, const Rect& area)
{
    const Rect a = area.Normalized();
    const int width = a.right - a.left;
    const int height = a.bottom - a.top;
    CControles* added = InsertAt(kind, a.left, a.bottom);
    if (!added)
        return nullptr;
    if (kind == kKindLinea && height > width)
        static_cast<CLinea*>(added)->MakeVertical();
    // The top-left corner goes to the area's, whatever corner the kind was made from.
    const Rect made = added->m_rcPage.Normalized();
    added->Offset(a.left - made.left, a.bottom - made.bottom, false);
    if (CanSetWidth(*added))
        added->ResizeByHandle(kHandleRight, width - (made.right - made.left), 0);
    if (CanSetHeight(*added)) {
        const Rect now = added->m_rcPage.Normalized();
        // The lower edge is the numerically smaller y; a page rectangle stores it in
        // `bottom`, so moving that edge down by d makes the element d higher.
        added->ResizeByHandle(kHandleBottom, 0, -(height - (now.bottom - now.top)));
    }
    return added;
}

bool DesignDocument::DeleteSelection()
{
    if (m_selected.empty())
        return false;
    const std::set<const CControles*> doomed(m_selected.begin(), m_selected.end());
    m_selected.clear();
    m_format.elements.remove_if([&](const std::unique_ptr<CControles>& e) { return doomed.count(e.get()) != 0; });
    return true;
}

void DesignDocument::AlignSelection(DesignAlign align)
{
    static constexpr int kTextOut[] = {0, 6, 2};
    const int n = static_cast<int>(align);
    for (CControles* e : m_selected) {
        if (!e->HasFont())
            continue;
        e->m_align = kTextOut[n];
        if (e->m_kind == kKindGrid) {
            auto* grid = static_cast<CFmtGrid*>(e);
            if (grid->m_selColumn >= 0 && grid->m_selColumn < grid->ColumnCount())
                grid->m_columns[size_t(grid->m_selColumn)].align = n;
        }
        if (e->m_kind == kKindParrafoVar || e->m_kind == kKindConsParrafo)
            e->m_align = n;
    }
}

void DesignDocument::ResetScreenPlacement()
{
    for (auto& e : m_format.elements)
        e->m_screenPlaced = 0;
}

// --- Copy and paste -------------------------------------------------------------------

std::vector<uint8_t> DesignDocument::CopySelection() const
{
    std::vector<const CControles*> chosen;
    for (auto it = m_format.elements.rbegin(); it != m_format.elements.rend(); ++it)
        if (IsSelected(it->get()))
            chosen.push_back(it->get());
    return EncodeElements(chosen);
}

namespace {

// "NOMBRE 2" -> ("NOMBRE", 2); "NOMBRE" -> ("NOMBRE", 1).
std::pair<std::string, int> SplitNumber(const std::string& name)
{
    const size_t space = name.find_last_of(' ');
    if (space == std::string::npos || space + 1 >= name.size() || name.size() - space > 6)
        return {name, 1};
    int n = 0;
    for (size_t i = space + 1; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return {name, 1};
        n = n * 10 + (name[i] - '0');
    }
    return {name.substr(0, space), n};
}

}  // namespace

int DesignDocument::Paste(ElementList pasted)
{
    if (pasted.empty())
        return 0;
    std::set<std::string> names;
    int lastOrder = 0;
    for (const auto& e : m_format.elements) {
        if (e->IsVariable()) {
            names.insert(e->m_text);
            lastOrder = std::max(lastOrder, int(e->m_order));
        }
    }
    // File order of the pasted group: its back comes first.
    for (auto it = pasted.rbegin(); it != pasted.rend(); ++it) {
        CControles& e = **it;
        e.m_selected = 0;
        if (!e.IsVariable())
            continue;
        if (names.count(e.m_text)) {
            const auto [base, from] = SplitNumber(e.m_text);
            for (int n = std::max(2, from + 1);; ++n) {
                const std::string candidate = base + " " + std::to_string(n);
                if (!names.count(candidate)) {
                    e.m_text = candidate;
                    break;
                }
            }
        }
        names.insert(e.m_text);
        e.m_order = ++lastOrder;
    }
    // A paste over its own originals (a duplicate, a copy pasted back) moves aside, so
    // the clerk sees the new elements.
    const auto overlapsExactly = [&] {
        for (const auto& p : pasted)
            for (const auto& e : m_format.elements)
                if (e->m_rcPage == p->m_rcPage && e->m_kind == p->m_kind)
                    return true;
        return false;
    };
    for (int tries = 0; tries < 40 && overlapsExactly(); ++tries) {
        Rect group = pasted.front()->m_rcPage.Normalized();
        for (const auto& p : pasted)
            group = group.United(p->m_rcPage.Normalized());
        const int dx = group.right + 50 <= kPageExtentUnits ? 50 : 0;
        const int dy = group.top - 50 >= -kPageExtentUnits ? -50 : 0;
        if (dx == 0 && dy == 0)
            break;
        for (auto& p : pasted)
            p->Offset(dx, dy, false);
    }
    m_selected.clear();
    const int count = int(pasted.size());
    // Spliced to the front as they are: the group keeps its own order in the list.
    for (const auto& p : pasted)
        m_selected.push_back(p.get());
    std::reverse(m_selected.begin(), m_selected.end());
    m_format.elements.splice(m_format.elements.begin(), pasted);
    MirrorSelection();
    return count;
}
