// Batch printing 1,000 filled invoices (the sample invoice: client, date, concept, twelve
// table rows, totals and amount in words) from a CSV file into one PDF file, as the
// capture screen's "Imprimir lote..." and `ordexa-cli print --csv` do: the file read
// and its header checked, every row typed with its calculations, every page drawn and
// streamed out. The baseline draws the same primitives of the same 1,000 pages (recorded
// beforehand, positions already in device pixels, fonts made in advance) with bare
// QPainter calls into a 1,000-page PDF file of the same paper and resolution.
//
// `bench_batch --write-rows N FILE.csv` writes the benchmark's spreadsheet of N rows, for
// measuring ordexa-cli's time and memory on larger batches.
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "bare_scene.h"
#include "base/fixed_locale.h"
#include "capture/batch_print.h"
#include "platform/batch_printer.h"

namespace {

constexpr int kDpi = 1200;
constexpr int kRows = 1000;

const char* const kClients[] = {"Constructora del Valle, S.A. de C.V.", "Ferretería El Clavo", "Tlapalería Luz",
                                "Refaccionaria Núñez", "Materiales Peña y Hijos"};

// The spreadsheet: a header naming the invoice's fields and cells, then `rows` rows.
void WriteRows(const std::string& path, int rows)
{
    std::ofstream out(path, std::ios::binary);
    out << "CLIENTE;RFC;FECHA;CONCEPTO;CONTADO";
    for (int r = 1; r <= 12; ++r)
        out << ";DETALLE[" << r << ",1];DETALLE[" << r << ",2]";
    out << "\r\n";
    for (int i = 1; i <= rows; ++i) {
        out << '"' << kClients[i % 5] << " #" << i << "\";CVA" << (100000 + i) << "KJ3;07/12/2026;"
            << "\"Material de ferretería\r\npara obra " << i << "\";" << (i % 2);
        for (int r = 1; r <= 12; ++r)
            out << ';' << (r + i % 7) << ';' << (17 * r + i % 100) << ".25";
        out << "\r\n";
    }
}

QPageLayout Letter()
{
    return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0));
}

struct Files {
    QTemporaryDir dir;
    std::string csv = dir.filePath("facturas.csv").toStdString();
    std::string pdf = dir.filePath("lote.pdf").toStdString();
    Files() { WriteRows(csv, kRows); }
};

Files& TheFiles()
{
    static Files files;
    return files;
}

// Records what each row prints, as the baseline's pages.
class RecordingSink : public BatchPageSink {
public:
    std::vector<BareScene> scenes;
    bool Continue(long, long) override { return true; }
    bool PrintPage(const CaptureSession& session) override
    {
        RecordingDc dc(MapMode::LoMetric, kDpi);
        session.Print(dc, {0, 0});
        scenes.push_back(SceneFromRecording(dc, kDpi));
        return true;
    }
};

void BM_BatchOf1000InvoicesFromCsvToPdf(benchmark::State& state)
{
    FixedLocale locale;
    std::string message;
    long printed = 0;
    for (auto _ : state) {
        BatchPrint batch(locale);
        if (!batch.LoadFormat(ORDEXA_SAMPLES "/Factura.fmt", message) || !batch.OpenRows(TheFiles().csv, message))
            std::abort();
        BatchOutcome outcome;
        if (!PrintBatchToPdfFile(TheFiles().pdf, Letter(), batch, {0, 0}, nullptr, outcome, message))
            std::abort();
        printed = outcome.printed;
    }
    if (printed != kRows)
        std::abort();
    state.counters["pages_per_s"] = benchmark::Counter(double(kRows), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["pdf_bytes"] = double(QFile(QString::fromStdString(TheFiles().pdf)).size());
}

// Where the time goes: the rows read and typed (calculations, the table element's rows),
// with nothing drawn.
class NoPages : public BatchPageSink {
public:
    bool Continue(long, long) override { return true; }
    bool PrintPage(const CaptureSession&) override { return true; }
};

void BM_BatchOf1000FilledWithoutDrawing(benchmark::State& state)
{
    FixedLocale locale;
    std::string message;
    for (auto _ : state) {
        BatchPrint batch(locale);
        if (!batch.LoadFormat(ORDEXA_SAMPLES "/Factura.fmt", message) || !batch.OpenRows(TheFiles().csv, message))
            std::abort();
        NoPages sink;
        if (batch.Run(sink).printed != kRows)
            std::abort();
    }
}

void BM_BareQPainter1000PagesToPdf(benchmark::State& state)
{
    FixedLocale locale;
    BatchPrint batch(locale);
    std::string message;
    if (!batch.LoadFormat(ORDEXA_SAMPLES "/Factura.fmt", message) || !batch.OpenRows(TheFiles().csv, message))
        std::abort();
    RecordingSink recorder;
    batch.Run(recorder);
    std::vector<QFont> fonts = MakeSceneFonts(recorder.scenes.front());
    for (const BareScene& scene : recorder.scenes)
        if (scene.fonts.size() != recorder.scenes.front().fonts.size())
            std::abort();  // every page uses the same fonts in the same order
    const std::string path = TheFiles().pdf + ".bare";
    for (auto _ : state) {
        QFile file(QString::fromStdString(path));
        if (!file.open(QIODevice::WriteOnly))
            std::abort();
        QPdfWriter writer(&file);
        writer.setResolution(kDpi);
        writer.setPageLayout(Letter());
        QPainter painter(&writer);
        for (size_t i = 0; i < recorder.scenes.size(); ++i) {
            if (i > 0)
                writer.newPage();
            ReplayScene(recorder.scenes[i], fonts, painter);
        }
        painter.end();
    }
    state.counters["pages_per_s"] = benchmark::Counter(double(kRows), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["pdf_bytes"] = double(QFile(QString::fromStdString(path)).size());
}

}  // namespace

BENCHMARK(BM_BatchOf1000InvoicesFromCsvToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BatchOf1000FilledWithoutDrawing)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BareQPainter1000PagesToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--write-rows") == 0) {
        WriteRows(argv[3], std::atoi(argv[2]));
        return 0;
    }
    return RunDrawingBenchmarks(argc, argv,
                                {{"BM_BatchOf1000InvoicesFromCsvToPdf/iterations:3", "BM_BareQPainter1000PagesToPdf/iterations:3"}});
}
