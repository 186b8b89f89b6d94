// One drag step of the design view on a format of 2,000 mixed elements: the editor moves
// the selected element by a snapped difference, then the whole page is drawn again as
// the view draws it. The baseline draws the same rectangles, lines and strings with
// bare QPainter calls (positions converted to pixels beforehand, one font per height
// made in advance).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <map>

#include "base/recording_dc.h"
#include "design/design_document.h"
#include "design/design_editor.h"
#include "model/element_factory.h"
#include "platform/format_render.h"
#include "ratio_reporter.h"

namespace {

constexpr double kDpi = 96;
constexpr int kElements = 2000;

void Fill(DesignDocument& doc)
{
    const int kinds[] = {kKindTextlineVar, kKindParrafoVar, kKindCuadrosVar, kKindMarcaVar, kKindConsText,
                         kKindConsParrafo, kKindLinea,      kKindRectangulo, kKindEtiqueta};
    for (int i = 0; i < kElements; ++i) {
        const int x = (i % 8) * 250;
        const int y = -(i / 8 % 40) * 70;
        auto e = CreateElementAt(kinds[i % 9], x, y);
        e->m_text += " " + std::to_string(i);
        e->m_screenPlaced = 1;
        doc.Elements().push_front(std::move(e));
    }
}

QImage Canvas()
{
    QImage image(900, 1200, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void BM_DragStepWithRepaint(benchmark::State& state)
{
    DesignDocument doc;
    Fill(doc);
    int records = 0;
    CDesignEditor editor(doc, ChangeHooks{[&records] { ++records; }, {}});
    // Press on the front element (the last one drawn over) and drag it to and fro.
    const Rect rc = doc.Elements().front()->m_rcPage.Normalized();
    const Point grip{rc.left + 5, rc.top + 5};
    editor.Press(grip);
    QImage image = Canvas();
    bool away = false;
    for (auto _ : state) {
        away = !away;
        const EditorOutcome out = editor.Move(away ? Point{grip.x + 30, grip.y - 20} : grip);
        benchmark::DoNotOptimize(out.positionText);
        image.fill(Qt::white);
        QPainter painter(&image);
        RenderFormat(doc.GetFormat(), RenderMode::Design, kDpi, painter);
    }
    editor.Release(grip);
    benchmark::DoNotOptimize(image.constBits());
}

// The same repaint without the editor's step, to show what the step itself costs.
void BM_RepaintOnly(benchmark::State& state)
{
    DesignDocument doc;
    Fill(doc);
    QImage image = Canvas();
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        RenderFormat(doc.GetFormat(), RenderMode::Design, kDpi, painter);
    }
    benchmark::DoNotOptimize(image.constBits());
}

struct Scene {
    struct Text {
        QRectF cell;
        QString text;
        int fontPx;
    };
    std::vector<Text> texts;
    std::vector<QRectF> outlines;
    std::vector<QLineF> lines;
};

QPointF ToPixels(int x, int y)
{
    return {x * kDpi / 254.0, -y * kDpi / 254.0};
}

Scene RecordScene(DesignDocument& doc)
{
    RecordingDc dc(MapMode::LoMetric, int(kDpi));
    for (auto& e : doc.Elements())
        e->DrawDesign(dc);
    Scene scene;
    for (const auto& t : dc.texts) {
        const QRectF cell = QRectF(ToPixels(t.cell.left, t.cell.top), ToPixels(t.cell.right, t.cell.bottom)).normalized();
        scene.texts.push_back({cell, QString::fromStdString(t.text), std::max(1, int(cell.height()))});
    }
    for (const auto& o : dc.outlines)
        scene.outlines.push_back(QRectF(ToPixels(o.rect.left, o.rect.top), ToPixels(o.rect.right, o.rect.bottom)).normalized());
    for (const auto& l : dc.lines)
        scene.lines.push_back(QLineF(ToPixels(l.from.x, l.from.y), ToPixels(l.to.x, l.to.y)));
    return scene;
}

void BM_BareRepaintSameShapes(benchmark::State& state)
{
    DesignDocument doc;
    Fill(doc);
    const Scene scene = RecordScene(doc);
    std::map<int, QFont> fonts;
    for (const auto& t : scene.texts)
        if (!fonts.count(t.fontPx)) {
            QFont f("Arial");
            f.setPixelSize(t.fontPx);
            fonts[t.fontPx] = f;
        }
    QImage image = Canvas();
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(QPen(Qt::black, 0));
        for (const auto& r : scene.outlines)
            painter.drawRect(r);
        for (const auto& l : scene.lines)
            painter.drawLine(l);
        for (const auto& t : scene.texts) {
            painter.setFont(fonts[t.fontPx]);
            painter.drawText(t.cell, Qt::AlignLeft | Qt::AlignBottom, t.text);
        }
    }
    benchmark::DoNotOptimize(image.constBits());
}

}  // namespace

BENCHMARK(BM_DragStepWithRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareRepaintSameShapes)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (!std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    return RunWithRatios(argc, argv, {{"BM_DragStepWithRepaint", "BM_BareRepaintSameShapes"},
                                      {"BM_DragStepWithRepaint", "BM_RepaintOnly"}});
}
