#pragma once
// CControles: what every element of a format shares (page and screen rectangles, font,
// colour, text, alignment, capture order) and the operations through which the three
// working modes reach the elements. The kinds derive from it.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "base/archive.h"
#include "base/dc.h"
#include "base/entry_control.h"
#include "base/geometry.h"
#include "base/log_font.h"

// Kind numbers as stored in the format file.
enum ElementKind : int32_t {
    kKindTextlineVar = 0,
    kKindParrafoVar = 1,
    kKindCuadrosVar = 2,
    kKindMarcaVar = 3,
    kKindGrid = 4,
    kKindConsText = 5,
    kKindConsParrafo = 6,
    kKindLinea = 7,
    kKindRectangulo = 8,
    kKindImagen = 9,
    kKindEtiqueta = 10,
    kKindCodigoBarras = 11,
};

// Handle numbers of HitHandle and ResizeByHandle.
enum Handle : int { kNoHandle = 0, kHandleLeft = 1, kHandleRight = 2, kHandleBottom = 3, kHandleTop = 4 };

// Bit of the stored alignment word that records m_screenPlaced.
inline constexpr int32_t kScreenPlacedBit = 0x20;

// The design view draws every page rectangle 5 mm right of and below its page position.
inline constexpr int32_t kDesignMarginX = 50;
inline constexpr int32_t kDesignMarginY = -50;

// Capture-screen control ids are this base plus the capture order.
inline constexpr int kFirstControlId = 1173;

class CControles {
public:
    virtual ~CControles() = default;
    CControles(const CControles&) = delete;
    CControles& operator=(const CControles&) = delete;

    // --- Stored record -------------------------------------------------------------
    // Reads the element record that follows the kind number (and the kind's tail).
    void Read(ArchiveReader& ar);
    // Writes the element record without the kind number (and the kind's tail).
    void Write(ArchiveWriter& ar) const;

    // --- Virtual operations ----------------------------------------------------------
    virtual void LoadValue(ArchiveReader&) {}
    virtual void SaveValue(ArchiveWriter&) const {}
    // Creates the entry control on the capture screen; returns the number created (0 when
    // the element has none or already has it).
    virtual int CreateEntryControl(Dc&, EntryFactory&, int /*controlId*/, const LogFont& /*font*/) { return 0; }
    virtual void FixFontHeight() {}
    virtual void UpdateHandles() {}
    virtual void ResizeByHandle(int handle, int dx, int dy);
    virtual void DrawDesign(Dc&) {}
    virtual void DrawScreen(Dc& dc, bool showOrder);
    virtual void ClearValue() {}
    virtual void Print(Dc&) {}

    // --- Non-virtual operations ------------------------------------------------------
    bool HitTest(int x, int y, bool onScreen) const;
    int HitHandle(int x, int y) const;
    void Offset(int dx, int dy, bool onScreen);
    void ResizeScreen(int handle, int dx, int dy);
    LogFont GetFont() const { return m_logFont; }
    void SetFont(const LogFont& font) { m_logFont = font; }
    bool HasFont() const;
    std::string KindName() const;
    void DrawCaption(Dc& dc) const;

    static std::string KindName(int32_t kind);

    // --- Fields ------------------------------------------------------------------------
    Rect m_rcPage;
    std::array<Rect, 4> m_rcHandle{};  // left, right, bottom, top edge handles
    Rect m_rcScreen;
    LogFont m_logFont;
    ColorRef m_textColor = 0;
    std::string m_text;
    int32_t m_selected = 0;
    int32_t m_screenPlaced = 0;
    int32_t m_constant = 0;
    int32_t m_kind = 0;
    int32_t m_captionLeft = 1;
    int32_t m_align = 0;
    int32_t m_order = 0;
    int32_t m_bottomAnchored = 0;
    int32_t m_layoutMode = 0;
    const LogFont* m_screenFont = nullptr;  // lent by the screen views, never owned

    bool IsVariable() const { return !m_constant && m_kind != kKindEtiqueta; }

protected:
    CControles(int32_t kind, int32_t constant, int32_t bottomAnchored, int32_t align, int32_t captionLeft);

    virtual void ReadTail(ArchiveReader&) {}
    virtual void WriteTail(ArchiveWriter&) const {}
    // Runs after the record is read: the kinds that keep handles recompute them.
    virtual void AfterRead() {}

    enum class HandleSet { LeftRight, BottomTop, All };
    // Handle rectangles from m_rcPage (shifted into design-view coordinates, 20-unit
    // squares) or, in layout mode, from m_rcScreen (8-pixel squares).
    void ComputeHandles(HandleSet set);
    static Rect ResizedEdge(Rect rc, int handle, int dx, int dy);
};
