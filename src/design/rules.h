#pragma once
// CRules: one ruler of the format design frame, horizontal above the page view or
// vertical to its left, graduated in centimetres and millimetres from the page's origin.
//
// The ruler is passive: it never changes the format and takes no mouse input. The frame
// gives it its orientation, the page size and the scale when it builds its panes, and
// passes every report of the view on to both rulers through UpdateRuler.
//
// Units: reports arrive in page units (0.1 mm); the ruler draws in ruler units (0.01 mm,
// ten per page unit, y upward, origin at the ruler's top-left corner) converted to pixels
// with the widget's logical resolution, the same conversion the design view uses, so a
// graduation stands exactly where the view shows that page coordinate. Graduation 0 lies
// 5 mm from the ruler's start, like the page's origin in the view.
//
// The marker: a pointer report draws a cyan line, combined with what is under it by
// exclusive-or, at the reported coordinate. The ruler keeps the marker as state and
// repaints the strips of the old and new positions at once, so a marker can never stay
// behind after it has moved; a scroll report repaints the whole ruler without a marker.
#include <QWidget>

class CRules : public QWidget {
    Q_OBJECT
public:
    // Values of m_orientation.
    static constexpr int kVertical = 0;
    static constexpr int kHorizontal = 1;

    // Codes of UpdateRuler (and of the frame's ReportToRulers), values in page units.
    static constexpr int kCodeScrollX = 1;   // horizontal scroll position (>= 0)
    static constexpr int kCodeScrollY = 2;   // vertical scroll position (<= 0)
    static constexpr int kCodePointerX = 3;  // pointer or reference x on the page
    static constexpr int kCodePointerY = 4;  // pointer or reference y on the page (<= 0 on the page)

    // Thickness of a ruler and size of the corner pane, in pixels.
    static constexpr int kThicknessPx = 16;
    // m_markerPos when no marker has been drawn since the last scroll.
    static constexpr int kNoMarker = -1000000000;

    explicit CRules(QWidget* parent = nullptr);

    // kHorizontal or kVertical; also fixes the ruler's thickness (16 pixels high for the
    // horizontal ruler, 16 wide for the vertical one) and repaints.
    void SetOrientation(int orientation);
    int Orientation() const { return m_orientation; }
    // The frame's page extent in page units (4000 x 4000: 0 to 40 cm on both rulers) and
    // its ruler scale (1). Both repaint.
    void SetPageSize(int widthUnits, int heightUnits);
    void SetScale(int scale);
    // The page view's zoom as a factor (1 at 100 %): graduations and the marker stand
    // where the zoomed view shows their coordinate; labels keep their size and thin out
    // where they would crowd.
    void SetZoom(double factor);
    double ZoomFactor() const { return m_zoom; }

    // The only input of a ruler. A scroll code along this ruler's axis (1 horizontal, 2
    // vertical) moves the graduation and repaints at once, removing any marker; a pointer
    // code along the axis (3, 4) moves the marker to that coordinate, unless it lies more
    // than the page's extent from the origin (then the earlier marker stays where it is).
    // Codes of the other axis are ignored; any other code repaints later.
    void UpdateRuler(int code, int value);

    // State, for the frame and for tests: the scroll offset along the axis and the
    // marker's position, both in ruler units (the marker before subtracting the offset).
    int OffsetRulerUnits() const { return m_offset; }
    int MarkerPos() const { return m_markerPos; }
    bool MarkerHidden() const { return m_markerHidden; }
    // The pixel column (horizontal ruler) or row (vertical ruler) of a ruler coordinate
    // along the axis, as this ruler draws it.
    double RulerUnitsToPixels(double rulerUnits) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool IsHorizontal() const { return m_orientation == kHorizontal; }
    double Dpi() const;
    // The strip of the widget, in pixels, that a marker at this position covers.
    QRect MarkerStrip(int markerPos) const;

    int m_orientation = kHorizontal;
    int m_pageWidth = 4000;
    int m_pageHeight = 4000;
    int m_scale = 1;
    double m_zoom = 1.0;
    int m_offset = 0;
    int m_markerPos = kNoMarker;
    bool m_markerHidden = true;
};
