#pragma once
// The baseline of the drawing benchmarks: what the elements draw (outlines, lines, texts
// with their fonts and colours, filled rectangles, a barcode's runs of modules, pictures),
// recorded once on a RecordingDc in 0.1 mm, converted to device pixels, and drawn again
// with bare QPainter calls onto any paint device. Also the 2,000-element format of the
// design benchmarks and the Qt set-up their main() shares.
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/recording_dc.h"
#include "model/element_factory.h"
#include "model/format_file.h"
#include "platform/qt_dc.h"
#include "ratio_reporter.h"

// A page of `count` elements of every drawn kind in turn, laid out in a grid of eight
// columns and forty rows (repeated over the same places once full), each text numbered.
inline void AddMixedElements(ElementList& elements, int count)
{
    const int kinds[] = {kKindTextlineVar, kKindParrafoVar, kKindCuadrosVar, kKindMarcaVar, kKindConsText,
                         kKindConsParrafo, kKindLinea,      kKindRectangulo, kKindEtiqueta};
    for (int i = 0; i < count; ++i) {
        const int x = (i % 8) * 250;
        const int y = -(i / 8 % 40) * 70;
        auto e = CreateElementAt(kinds[i % 9], x, y);
        e->m_text += " " + std::to_string(i);
        e->m_screenPlaced = 1;
        elements.push_front(std::move(e));
    }
}

// The recorded primitives in device pixels; each text names its font by index into
// `fonts`, one entry per face, pixel size, weight and slant. A pen of width 0 draws one
// device pixel.
struct BareScene {
    struct FontSpec {
        QString face;
        int pixelSize = 1;
        int weight = 400;
        bool italic = false;
    };
    struct Text {
        QRectF cell;
        QString text;
        size_t font = 0;
        QColor color;
    };
    struct Pen {
        QColor color;
        double width = 0;
    };
    struct Outline {
        QRectF rect;
        Pen pen;
    };
    struct Line {
        QLineF line;
        Pen pen;
    };
    struct Fill {
        QRectF rect;
        QColor color;
    };
    // Many rectangles filled as one shape (a barcode's modules).
    struct FillRun {
        QPainterPath shape;
        QColor color;
    };
    struct Picture {
        QRectF rect;
        QImage image;
    };
    std::vector<FontSpec> fonts;
    std::vector<Text> texts;
    std::vector<Outline> outlines;
    std::vector<Line> lines;
    std::vector<Fill> fills;
    std::vector<FillRun> fillRuns;
    std::vector<Picture> pictures;
};

// The picture of a recorded image as QPainter takes it, made once per picture content:
// every page of a batch draws the same QImage, as the program does, so that a PDF holds
// the picture once.
inline QImage ScenePicture(const DcImage& image)
{
    static std::map<uint64_t, QImage> made;
    auto it = made.find(image.key);
    if (it == made.end()) {
        const QImage view(image.rgba->data(), image.width, image.height, image.width * 4,
                          image.opaque ? QImage::Format_RGBX8888 : QImage::Format_RGBA8888);
        it = made.emplace(image.key, view.copy()).first;
    }
    return it->second;
}

// The scene of what `dc` recorded in 0.1 mm (y up), at `dpi` device pixels per inch.
inline BareScene SceneFromRecording(const RecordingDc& dc, double dpi)
{
    const auto toPixels = [dpi](int x, int y) { return QPointF(x * dpi / 254.0, -y * dpi / 254.0); };
    const auto toRect = [&](const Rect& r) {
        return QRectF(toPixels(r.left, r.top), toPixels(r.right, r.bottom)).normalized();
    };
    // As the program's surface widens its pens: at least one device pixel.
    const auto toPen = [dpi](int width, ColorRef color) {
        const double px = width * dpi / 254.0;
        return BareScene::Pen{QtDc::ToQColor(color), width <= 1 || px < 1.0 ? 0.0 : px};
    };
    BareScene scene;
    std::map<std::tuple<std::string, int, int, bool>, size_t> fontIndex;
    for (const auto& t : dc.texts) {
        const QRectF cell = toRect(t.cell);
        const int cellPx = std::max(1, int(std::lround(cell.height())));
        const int weight = t.font.weight <= 0 ? 400 : std::min(t.font.weight, 1000);
        const auto key = std::make_tuple(t.font.face, cellPx, weight, t.font.italic != 0);
        auto it = fontIndex.find(key);
        if (it == fontIndex.end()) {
            it = fontIndex.emplace(key, scene.fonts.size()).first;
            // Sized as the elements size their text: the character cell (ascent plus
            // descent), not the em, fills the cell's height.
            QFont reference(QString::fromStdString(t.font.face));
            reference.setPixelSize(1000);
            reference.setWeight(QFont::Weight(weight));
            const QFontMetricsF metrics(reference);
            const double cellPerPx = (metrics.ascent() + metrics.descent()) / 1000.0;
            const int px = std::max(1, int(std::lround(cellPx / (cellPerPx > 0 ? cellPerPx : 1.0))));
            scene.fonts.push_back({QString::fromStdString(t.font.face), px, weight, t.font.italic != 0});
        }
        scene.texts.push_back({cell, QString::fromStdString(t.text), it->second, QtDc::ToQColor(t.color)});
    }
    for (const auto& o : dc.outlines)
        scene.outlines.push_back({toRect(o.rect), toPen(o.penWidth, o.penColor)});
    for (const auto& l : dc.lines)
        scene.lines.push_back(
            {QLineF(toPixels(l.from.x, l.from.y), toPixels(l.to.x, l.to.y)), toPen(l.penWidth, l.penColor)});
    for (const auto& f : dc.fills)
        scene.fills.push_back({toRect(f.rect), QtDc::ToQColor(f.color)});
    for (const auto& run : dc.fillsF) {
        QPainterPath shape;
        shape.setFillRule(Qt::WindingFill);
        for (const RectF& r : run.rects)
            shape.addRect(QRectF(QPointF(r.left * dpi / 254.0, -r.top * dpi / 254.0),
                                 QPointF(r.right * dpi / 254.0, -r.bottom * dpi / 254.0))
                              .normalized());
        scene.fillRuns.push_back({shape, QtDc::ToQColor(run.color)});
    }
    for (const auto& image : dc.images)
        if (!image.image.IsNull())
            scene.pictures.push_back({toRect(image.rect), ScenePicture(image.image)});
    return scene;
}

// The scene's fonts as QPainter takes them.
inline std::vector<QFont> MakeSceneFonts(const BareScene& scene)
{
    std::vector<QFont> fonts;
    fonts.reserve(scene.fonts.size());
    for (const auto& wanted : scene.fonts) {
        QFont font(wanted.face);
        font.setPixelSize(wanted.pixelSize);
        font.setWeight(QFont::Weight(wanted.weight));
        font.setItalic(wanted.italic);
        fonts.push_back(font);
    }
    return fonts;
}

// Draws the scene with bare QPainter calls: the pictures and filled areas first, then the
// outlines and lines in their pens, each text into its cell from the lower left corner in
// its colour. A pen is set only when it changes.
inline void ReplayScene(const BareScene& scene, const std::vector<QFont>& fonts, QPainter& painter)
{
    if (!scene.pictures.empty()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        for (const auto& p : scene.pictures)
            painter.drawImage(p.rect, p.image);
    }
    for (const auto& f : scene.fills)
        painter.fillRect(f.rect, f.color);
    for (const auto& run : scene.fillRuns)
        painter.fillPath(run.shape, run.color);
    const auto usePen = [&painter](const BareScene::Pen& pen) {
        if (painter.pen().color() != pen.color || painter.pen().widthF() != pen.width)
            painter.setPen(QPen(pen.color, pen.width));
    };
    painter.setPen(QPen(Qt::black, 0));
    for (const auto& r : scene.outlines) {
        usePen(r.pen);
        painter.drawRect(r.rect);
    }
    for (const auto& l : scene.lines) {
        usePen(l.pen);
        painter.drawLine(l.line);
    }
    for (const auto& t : scene.texts) {
        painter.setFont(fonts[t.font]);
        usePen({t.color, 0});
        painter.drawText(t.cell, Qt::AlignLeft | Qt::AlignBottom, t.text);
    }
}

inline void ReplayScene(const BareScene& scene, const std::vector<QFont>& fonts, QPaintDevice& device)
{
    QPainter painter(&device);
    ReplayScene(scene, fonts, painter);
}

// main() of a drawing benchmark: a Qt application (offscreen without a display), then
// the benchmarks with their ratios to the baselines.
inline int RunDrawingBenchmarks(int argc, char** argv, std::vector<std::pair<std::string, std::string>> pairs)
{
    if (!std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    return RunWithRatios(argc, argv, std::move(pairs));
}
