// Drawing a format of 2,000 mixed elements as the design view does, onto a QImage,
// against a baseline that draws the same rectangles, lines and strings with bare QPainter
// calls (positions converted to pixels beforehand, one font per height made in advance).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <map>

#include "model/element_factory.h"
#include "model/format_file.h"
#include "platform/qt_dc.h"
#include "ratio_reporter.h"
#include "base/recording_dc.h"

namespace {

constexpr double kDpi = 96;
constexpr int kElements = 2000;

Format MakeFormat()
{
    const int kinds[] = {kKindTextlineVar, kKindParrafoVar, kKindCuadrosVar, kKindMarcaVar, kKindConsText,
                         kKindConsParrafo, kKindLinea,      kKindRectangulo, kKindEtiqueta};
    Format format;
    for (int i = 0; i < kElements; ++i) {
        const int x = (i % 8) * 250;
        const int y = -(i / 8 % 40) * 70;
        auto e = CreateElementAt(kinds[i % 9], x, y);
        e->m_text += " " + std::to_string(i);
        e->m_screenPlaced = 1;
        format.elements.push_front(std::move(e));
    }
    return format;
}

// What the elements draw, in device pixels, for the baseline.
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

Scene RecordScene(Format& format)
{
    RecordingDc dc(MapMode::LoMetric, int(kDpi));
    for (auto& e : format.elements)
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

QImage Canvas()
{
    QImage image(900, 1200, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void BM_DesignViewOfMixedElements(benchmark::State& state)
{
    Format format = MakeFormat();
    QImage image = Canvas();
    for (auto _ : state) {
        QPainter painter(&image);
        QtDc dc(painter, kDpi);
        dc.SetMapMode(MapMode::LoMetric);
        dc.SetBkTransparent(true);
        for (auto& e : format.elements)
            e->DrawDesign(dc);
    }
    benchmark::DoNotOptimize(image.constBits());
}

void BM_BareQPainterSameShapes(benchmark::State& state)
{
    Format format = MakeFormat();
    const Scene scene = RecordScene(format);
    std::map<int, QFont> fonts;
    for (const auto& t : scene.texts)
        if (!fonts.count(t.fontPx)) {
            QFont f("Arial");
            f.setPixelSize(t.fontPx);
            fonts[t.fontPx] = f;
        }
    QImage image = Canvas();
    for (auto _ : state) {
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

BENCHMARK(BM_DesignViewOfMixedElements)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareQPainterSameShapes)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (!std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    return RunWithRatios(argc, argv, {{"BM_DesignViewOfMixedElements", "BM_BareQPainterSameShapes"}});
}
