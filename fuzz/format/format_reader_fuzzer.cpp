// Any bytes given to the format reader are either refused or read into a format that
// writes back to bytes which read again to the same format. A format that reads is then
// drawn as the design view, the screen layout and the printer draw it: whatever its
// values, drawing does not overflow, and the screen layout's loans (the layout mode and
// the screen font) are given back.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "base/recording_dc.h"
#include "model/format_file.h"
#include "model/kind_drawing.h"

namespace {

// The design view's surface: a window of 400 x 300 pixels at 96 dpi over the page's
// corner, which is all the view draws on. What lies outside is still measured (a table
// finds its rows and columns shown from all of them), but not drawn, as on the screen.
class DesignWindowDc : public RecordingDc {
public:
    DesignWindowDc() : RecordingDc(MapMode::LoMetric, 96) {}
    Rect ClipBox() const override { return {0, -794, 1058, 0}; }
};

void DrawEveryWay(Format& format)
{
    // The surfaces are made once and reset for each input, which then draws as on new
    // ones. What is drawn is never looked at, so they keep no record: they still measure
    // and lay out every text, and every call returns what it would on any surface.
    static DesignWindowDc design;
    static RecordingDc screen(MapMode::Pixels, 96);
    static RecordingDc print(MapMode::LoMetric, 600);
    design.KeepRecords(false);
    screen.KeepRecords(false);
    print.KeepRecords(false);
    design.Reset();
    screen.Reset();
    print.Reset();
    LogFont screenFont;
    screenFont.height = 14;
    for (auto& element : format.elements) {
        element->DrawDesign(design);
        element->m_selected = 1;
        element->UpdateHandles();
        element->DrawDesign(design);
        const int32_t layoutMode = element->m_layoutMode;
        const auto handles = element->m_rcHandle;
        {
            const ScreenDrawingLoan loan(*element, &screenFont, HasScreenHandles(element->m_kind));
            element->DrawScreen(screen, true);
        }
        if (element->m_layoutMode != layoutMode || element->m_screenFont || element->m_rcHandle != handles)
            std::abort();
        element->Print(print);
        (void)element->HitHandle(element->m_rcPage.left, element->m_rcPage.top);
        (void)element->HitTest(element->m_rcPage.right, element->m_rcPage.bottom, false);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Format format;
    FormatReadError error;
    if (!ReadFormat(std::span<const uint8_t>(data, size), format, error)) {
        if (error.offset > size || !format.elements.empty())
            std::abort();
        return 0;
    }
    const std::vector<uint8_t> written = WriteFormat(format, FormatWriter::Rewrite);
    Format again;
    if (!ReadFormat(written, again, error))
        std::abort();
    if (WriteFormat(again, FormatWriter::Rewrite) != written)
        std::abort();
    DrawEveryWay(format);
    return 0;
}
