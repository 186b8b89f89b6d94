#include "platform/screen_form_bounds.h"

#include <QImage>
#include <QPainter>

#include "platform/format_render.h"
#include "platform/qt_dc.h"

namespace {

// The caption and badge offsets of the elements' screen drawing.
constexpr int kCaptionGapLeft = 2;
constexpr int kCaptionDropSide = 2;
constexpr int kCaptionRiseAbove = 16;
constexpr int kBadgeInsetLeft = 6;
constexpr int kBadgeRise = 4;

Rect TextRect(Dc& dc, int x, int y, const std::string& text, bool rightAligned)
{
    Rect measured{0, 0, 0, 0};
    const int height = dc.DrawText(text, measured, DrawTextFlag::kCalcRect);
    const int width = measured.Width();
    const int left = rightAligned ? AddSaturated(x, -int64_t(width)) : x;
    return {left, y, AddSaturated(left, width), AddSaturated(y, height)};
}

}  // namespace

Rect ScreenFormBounds(const Format& format, bool withOrderBadges)
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    QtDc dc(painter, 96);
    dc.SetMapMode(MapMode::Pixels);
    const LogFont font = CaptureScreenFont();
    dc.SelectFont(font);

    Rect bounds = DrawableRect(format.screenExtent).Normalized();
    for (const auto& element : format.elements) {
        if (element->m_constant)
            continue;
        const Rect rc = DrawableRect(element->m_rcScreen).Normalized();
        // The outline's pen draws on the right and lower edges' own pixels.
        bounds = bounds.United({rc.left, rc.top, AddSaturated(rc.right, 1), AddSaturated(rc.bottom, 1)});
        if (element->m_kind != kKindEtiqueta) {
            const std::string caption = element->m_text + ":";
            const Rect text = element->m_captionLeft == 1
                                  ? TextRect(dc, AddSaturated(rc.left, -kCaptionGapLeft),
                                             AddSaturated(rc.top, kCaptionDropSide), caption, true)
                                  : TextRect(dc, rc.left, AddSaturated(rc.top, -kCaptionRiseAbove), caption, false);
            bounds = bounds.United(text);
        }
        if (withOrderBadges) {
            const std::string badge = " " + std::to_string(element->m_order) + " ";
            bounds = bounds.United(TextRect(dc, AddSaturated(rc.left, kBadgeInsetLeft),
                                            AddSaturated(rc.top, -kBadgeRise), badge, false));
        }
    }
    return bounds;
}
