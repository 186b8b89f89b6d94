#pragma once
// The format being designed and its selection, with the edits the design commands make
// on it. Free of widgets, so the rules can be checked without a window.
#include <memory>
#include <vector>

#include "base/geometry.h"
#include "model/format_file.h"

// Alignment commands.
enum class DesignAlign { Left, Centre, Right };

class DesignDocument {
public:
    Format& GetFormat() { return m_format; }
    const Format& GetFormat() const { return m_format; }
    ElementList& Elements() { return m_format.elements; }
    const ElementList& Elements() const { return m_format.elements; }

    // At most one element is selected; its m_selected is 1 and every other element's 0.
    CControles* Selection() const { return m_selection; }
    void Select(CControles* element);
    // Selects the element nearest the front of the list whose page rectangle holds the
    // point, or nothing. The front element is painted first, so where two overlap the
    // click takes the one drawn underneath, as the view has always done.
    void SelectAt(int x, int y);
    // The position of the selection in the list (0 = front), or -1.
    int SelectionIndex() const;
    void SelectIndex(int index);

    // Replaces the whole format (a file read, an undo); nothing stays selected.
    void Replace(Format format);
    void ClearElements();

    // A new element of `kind` at (x, y), taking the font of the front element when the
    // list is not empty (the first element of a format keeps Arial 4 mm). It goes to the
    // front and becomes the selection. Null for a kind the insert commands do not make.
    // An image is placed from the picture chosen before (SetPictureToPlace), with the
    // click as its top-left corner; without one nothing is inserted.
    CControles* InsertAt(int kind, int x, int y);
    // The picture (PNG or JPEG bytes) the next image insertion places, `widthUnits` wide.
    void SetPictureToPlace(std::vector<uint8_t> bytes, int widthUnits);
    bool HasPictureToPlace() const { return !m_pictureBytes.empty(); }
    // Destroys the selected element; false when nothing is selected.
    bool DeleteSelection();

    // Text alignment of the selection: 0 / 6 / 2 for the text kinds (the text-out codes),
    // 0 / 1 / 2 for the paragraphs (the draw-text codes), and for a table element with a
    // selected column that column's cell alignment as well.
    void AlignSelection(DesignAlign align);
    // Every element is placed again on the capture screen from its page position.
    void ResetScreenPlacement();

private:
    Format m_format;
    CControles* m_selection = nullptr;
    std::vector<uint8_t> m_pictureBytes;
    int m_pictureWidthUnits = 0;
};
