// The letter, colour and alignment that the selected elements share, and changing them on
// every selected element that has them at once.
#include "design/design_document.h"
#include "model/controles.h"

namespace {

// A weight from this on is shown as bold, as the font dialog does.
constexpr int kBoldFrom = 600;

bool HasColour(const CControles& e)
{
    return e.m_kind != kKindImagen;
}

bool IsParagraph(const CControles& e)
{
    return e.m_kind == kKindParrafoVar || e.m_kind == kKindConsParrafo;
}

// Paragraphs keep the draw-text codes (0 left, 1 centre, 2 right); the other kinds the
// text-out codes, whose centre (6) holds the right bit (2) as well.
DesignAlign AlignOf(const CControles& e)
{
    if (IsParagraph(e))
        return e.m_align == 1 ? DesignAlign::Centre : e.m_align == 2 ? DesignAlign::Right : DesignAlign::Left;
    if ((e.m_align & 6) == 6)
        return DesignAlign::Centre;
    return (e.m_align & 2) ? DesignAlign::Right : DesignAlign::Left;
}

// Folds one element's value into what the selection shares so far: `first` says whether
// any element gave a value before; a value that differs leaves the field empty for good.
template <typename T>
void Share(std::optional<T>& shared, bool& first, bool& mixed, const T& value)
{
    if (mixed)
        return;
    if (first) {
        shared = value;
        first = false;
    } else if (shared != value) {
        shared.reset();
        mixed = true;
    }
}

}  // namespace

bool DesignDocument::AnySelectedHasFont() const
{
    for (const CControles* e : m_selected)
        if (e->HasFont())
            return true;
    return false;
}

bool DesignDocument::AnySelectedHasColour() const
{
    for (const CControles* e : m_selected)
        if (HasColour(*e))
            return true;
    return false;
}

DesignStyle DesignDocument::CommonStyle() const
{
    DesignStyle style;
    struct Field {
        bool first = true;
        bool mixed = false;
    } face, height, bold, italic, underline, colour, align;
    for (const CControles* e : m_selected) {
        if (HasColour(*e))
            Share(style.colour, colour.first, colour.mixed, e->m_textColor);
        if (!e->HasFont())
            continue;
        const LogFont& font = e->m_logFont;
        Share(style.face, face.first, face.mixed, font.face);
        // A negative height is the same letter as its positive one.
        Share(style.heightUnits, height.first, height.mixed, font.height < 0 ? -font.height : font.height);
        Share(style.bold, bold.first, bold.mixed, font.weight >= kBoldFrom);
        Share(style.italic, italic.first, italic.mixed, font.italic != 0);
        Share(style.underline, underline.first, underline.mixed, font.underline != 0);
        Share(style.align, align.first, align.mixed, AlignOf(*e));
    }
    return style;
}

bool DesignDocument::ApplyStyle(const DesignStyle& change)
{
    const bool letter = change.face || change.heightUnits || change.bold || change.italic || change.underline;
    bool any = false;
    for (CControles* e : m_selected) {
        if (change.colour && HasColour(*e)) {
            e->m_textColor = *change.colour;
            any = true;
        }
        if (!letter || !e->HasFont())
            continue;
        LogFont font = e->GetFont();
        if (change.face)
            font.face = *change.face;
        // A height stored negative (the letter's own height, not its cell's) stays so.
        if (change.heightUnits)
            font.height = font.height < 0 ? -*change.heightUnits : *change.heightUnits;
        // A face's own semi-bold weight stays while its boldness is not changed.
        if (change.bold && (font.weight >= kBoldFrom) != *change.bold)
            font.weight = *change.bold ? LogFont::kBoldWeight : LogFont::kNormalWeight;
        if (change.italic)
            font.italic = *change.italic ? 1 : 0;
        if (change.underline)
            font.underline = *change.underline ? 1 : 0;
        e->SetFont(font);
        e->FixFontHeight();
        any = true;
    }
    if (change.align && AnySelectedHasFont()) {
        AlignSelection(*change.align);
        any = true;
    }
    return any;
}
