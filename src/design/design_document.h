#pragma once
// The format being designed and its selection, with the edits the design commands make
// on it. Free of widgets, so the rules can be checked without a window.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "model/format_file.h"

// Alignment commands.
enum class DesignAlign { Left, Centre, Right };

// Arranging several selected elements against each other.
enum class DesignArrange {
    AlignLeft,
    AlignRight,
    AlignTop,
    AlignBottom,
    AlignCentresHorizontally,  // one vertical line through every centre
    AlignCentresVertically,    // one horizontal line through every centre
    DistributeHorizontally,
    DistributeVertically,
    SameWidth,
    SameHeight,
};

// The letter, colour and alignment of the selected elements as the properties panel shows
// them: each is set where every selected element that has it agrees, empty where they
// differ or none has it. Given to ApplyStyle, the fields that are set are the change.
struct DesignStyle {
    std::optional<std::string> face;
    std::optional<int> heightUnits;  // character height, 0.1 mm
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<bool> underline;
    std::optional<ColorRef> colour;
    std::optional<DesignAlign> align;

    friend bool operator==(const DesignStyle&, const DesignStyle&) = default;
};

// A measure typed into the properties panel.
enum class DesignMeasure { X, Y, Width, Height };

// The page the elements are held on by keys, arrangements and pastes: 0 to 400 mm to the
// right of and below the origin.
inline constexpr int kPageExtentUnits = 4000;

class DesignDocument {
public:
    Format& GetFormat() { return m_format; }
    const Format& GetFormat() const { return m_format; }
    ElementList& Elements() { return m_format.elements; }
    const ElementList& Elements() const { return m_format.elements; }

    // --- Selection ---------------------------------------------------------------------
    // Selected elements have m_selected 1 and every other element 0. Selection() is the
    // selected element while exactly one is; with none or several it is null, and the
    // commands that work on several go through Selected().
    CControles* Selection() const { return m_selected.size() == 1 ? m_selected.front() : nullptr; }
    // In the order they were selected; the first is the one the others are sized to.
    const std::vector<CControles*>& Selected() const { return m_selected; }
    size_t SelectedCount() const { return m_selected.size(); }
    bool IsSelected(const CControles* element) const;
    // Only `element` (or nothing) selected.
    void Select(CControles* element);
    // Shift+click: adds the element to the selection or takes it out.
    void ToggleSelected(CControles* element);
    // The element nearest the front of the list whose page rectangle holds the point.
    CControles* ElementAt(int x, int y) const;
    // Selects the element nearest the front of the list whose page rectangle holds the
    // point, or nothing. The front element is painted first, so where two overlap the
    // click takes the one drawn underneath, as the view has always done.
    void SelectAt(int x, int y);
    // Every element whose page rectangle lies wholly inside `band` (any orientation),
    // added to the selection or replacing it.
    void SelectWithin(const Rect& band, bool add);
    void SelectAll();
    // Tab and Shift+Tab: the element after (before) the selected one in file order, which
    // is the capture order of the variable elements; from nothing, the first (last).
    void SelectNextInOrder(bool backwards);
    // The positions of the selected elements in the list (0 = front), in selection order.
    std::vector<int> SelectedIndices() const;
    void SelectIndices(const std::vector<int>& indices);
    // The position of the one selected element, or -1 (none or several).
    int SelectionIndex() const;
    void SelectIndex(int index);

    // Replaces the whole format (a file read, an undo); nothing stays selected.
    void Replace(Format format);
    void ClearElements();

    // --- Edits -------------------------------------------------------------------------
    // A new element of `kind` at (x, y), taking the font of the front element when the
    // list is not empty (the first element of a format keeps Arial 4 mm). It goes to the
    // front and becomes the selection. Null for a kind the insert commands do not make.
    // An image is placed from the picture chosen before (SetPictureToPlace), with the
    // click as its top-left corner; without one nothing is inserted.
    CControles* InsertAt(int kind, int x, int y);
    // The picture (PNG or JPEG bytes) the next image insertion places, `widthUnits` wide.
    void SetPictureToPlace(std::vector<uint8_t> bytes, int widthUnits);
    bool HasPictureToPlace() const { return !m_pictureBytes.empty(); }
    // A new element filling `area` (page units, any orientation) as far as its kind can:
    // its top-left corner on the area's, its width and height the area's where the kind
    // lets them be set (a line runs along the longer side).
    CControles* InsertIn(int kind, const Rect& area);
    // Destroys the selected elements; false when nothing is selected.
    bool DeleteSelection();

    // Text alignment of every selected element that has text: 0 / 6 / 2 for the text
    // kinds (the text-out codes), 0 / 1 / 2 for the paragraphs (the draw-text codes), and
    // for a table element with a selected column that column's cell alignment as well.
    void AlignSelection(DesignAlign align);
    // What the selected elements share (design_style.cpp); the letter and the alignment
    // belong to the elements with text, the colour to every kind but the image.
    DesignStyle CommonStyle() const;
    // Sets each field given in `change` on every selected element that has it. False when
    // no selected element has any of them.
    bool ApplyStyle(const DesignStyle& change);
    // Whether any selected element has a letter (a colour).
    bool AnySelectedHasFont() const;
    bool AnySelectedHasColour() const;

    // Every element is placed again on the capture screen from its page position.
    void ResetScreenPlacement();

    // Moves the selected elements together by (dx, dy), held on the page: the group
    // stops at the page's edge and keeps its shape. False when nothing moved.
    bool MoveSelection(int dx, int dy);
    // Moves the right edge (dWidth) and the lower edge (dHeight, positive: lower edge
    // down) of every selected element whose kind can be sized that way, held at the
    // page's edge and at the kind's minimum size. False when nothing changed.
    bool ResizeSelection(int dWidth, int dHeight);
    // Aligns, distributes or sizes the selected elements against each other: aligning
    // and sizing need two, distributing three. False when nothing changed.
    bool Arrange(DesignArrange arrange);
    // A typed measure in page units for every selected element: X and Y place the left
    // and top edges (Y below the page's top edge, positive), width and height size the
    // kinds that can be sized. With a table column or row selected, width or height is
    // that column's or row's. False when nothing changed.
    bool SetMeasure(DesignMeasure measure, int valueUnits);
    // The measure shared by every selected element, or nothing when they differ (or
    // nothing is selected, or the kind has no such measure to set).
    std::optional<int> CommonMeasure(DesignMeasure measure) const;
    // Whether every selected element can be given that measure.
    bool MeasureSettable(DesignMeasure measure) const;

    // --- Copy and paste ---------------------------------------------------------------
    // The selected elements as the format file's records, in file order.
    std::vector<uint8_t> CopySelection() const;
    // Elements read back from such bytes go to the front, keep their file order and
    // become the selection. Variable elements whose name is taken get the next free
    // number ("NOMBRE" -> "NOMBRE 2") and capture orders after the last one; a pasted
    // group that would lie exactly over elements already there moves 5 mm right and
    // down, held on the page. Returns the number pasted.
    int Paste(ElementList pasted);

private:
    void MirrorSelection();

    Format m_format;
    std::vector<uint8_t> m_pictureBytes;
    int m_pictureWidthUnits = 0;
    std::vector<CControles*> m_selected;
};

// Arranging boxes against each other, whatever their units: y runs upward (a screen
// rectangle is turned upside down first). Each step is the box's shift and, for the
// sizing arrangements, its new width or height (the first box is the one the others
// take after). Empty when there are too few boxes (two; three to distribute).
struct ArrangeBox {
    int left, right, lower, upper;
};
struct ArrangeStep {
    int dx = 0;
    int dy = 0;
    std::optional<int> width;
    std::optional<int> height;
};
std::vector<ArrangeStep> PlanArrange(const std::vector<ArrangeBox>& boxes, DesignArrange arrange);

// The rubber band's selection: every element whose rectangle (the page's, or the capture
// screen's with `onScreen`) lies wholly inside `band` (any orientation) and that
// `eligible` takes (all when null), added to `selected` or replacing it. File order, so
// that the element drawn first is the first selected.
void SelectEnclosed(std::vector<CControles*>& selected, const ElementList& elements, const Rect& band, bool add,
                    bool onScreen, bool (*eligible)(const CControles&) = nullptr);

// Whether an element's kind lets its width (its height) be set: it offers the edge's
// handles in the design view.
bool CanSetWidth(CControles& element);
bool CanSetHeight(CControles& element);
