#pragma once
// The baseline of the drawing benchmarks: what the elements draw (outlines, lines and
// texts with their fonts), recorded once on a RecordingDc in 0.1 mm, converted to device
// pixels, and drawn again with bare QPainter calls onto any paint device. Also the
// 2,000-element format of the design benchmarks and the Qt set-up their main() shares.
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
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
// `fonts`, one entry per face, pixel size, weight and slant.
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
    };
    std::vector<FontSpec> fonts;
    std::vector<Text> texts;
    std::vector<QRectF> outlines;
    std::vector<QLineF> lines;
};

// The scene of what `dc` recorded in 0.1 mm (y up), at `dpi` device pixels per inch.
inline BareScene SceneFromRecording(const RecordingDc& dc, double dpi)
{
    const auto toPixels = [dpi](int x, int y) { return QPointF(x * dpi / 254.0, -y * dpi / 254.0); };
    const auto toRect = [&](const Rect& r) {
        return QRectF(toPixels(r.left, r.top), toPixels(r.right, r.bottom)).normalized();
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
        scene.texts.push_back({cell, QString::fromStdString(t.text), it->second});
    }
    for (const auto& o : dc.outlines)
        scene.outlines.push_back(toRect(o.rect));
    for (const auto& l : dc.lines)
        scene.lines.push_back(QLineF(toPixels(l.from.x, l.from.y), toPixels(l.to.x, l.to.y)));
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

// Draws the scene with bare QPainter calls: a one-pixel black pen for the outlines and
// lines, each text into its cell from the lower left corner.
inline void ReplayScene(const BareScene& scene, const std::vector<QFont>& fonts, QPainter& painter)
{
    painter.setPen(QPen(Qt::black, 0));
    for (const auto& r : scene.outlines)
        painter.drawRect(r);
    for (const auto& l : scene.lines)
        painter.drawLine(l);
    for (const auto& t : scene.texts) {
        painter.setFont(fonts[t.font]);
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
