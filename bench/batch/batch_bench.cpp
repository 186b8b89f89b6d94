// Batch printing 1,000 filled invoices (the sample invoice: client, date, concept, twelve
// table rows, totals and amount in words) from a CSV file into one PDF file, as the
// capture screen's "Imprimir lote..." and `ordexa-cli print --csv` do: the file read
// and its header checked, every row typed with its calculations, every page drawn and
// streamed out. The baseline draws the same primitives of the same 1,000 pages (recorded
// beforehand, positions already in device pixels, fonts made in advance) with bare
// QPainter calls into a 1,000-page PDF file of the same paper and resolution.
//
// The light page is the same job on a full-page invoice of 15 objects (5 constant texts,
// 8 variable lines, a rectangle and a line): there the drawing is little, and the work
// of filling the capture session for each row is what shows.
//
// The electronic invoice is the same job on the sample with a logo, a QR code and a
// Code 128 filled from each row's fields, boxed text and an eight-row table: every page
// has its own codes, and the logo is one picture drawn on every page.
//
// Each batch runs in turn with its baseline, in CPU time (see MeasurePaired).
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
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "bare_scene.h"
#include "base/fixed_locale.h"
#include "capture/batch_print.h"
#include "model/element_factory.h"
#include "model/format_file.h"
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

// The light page's variable lines, as its spreadsheet heads them.
const char* const kLightFields[] = {"NOMBRE", "DOMICILIO", "CIUDAD", "RFC", "FECHA", "CONCEPTO", "IMPORTE", "TOTAL"};

// The light page: a letter-size invoice of five constant texts, eight variable lines,
// a rectangle round the lines and a line under the heading.
void WriteLightFormat(const std::string& path)
{
    Format format;
    format.title = "Factura sencilla";
    const char* const headings[] = {"FACTURA", "Cliente:", "Domicilio:", "Concepto:", "Importe:"};
    for (int i = 0; i < 5; ++i) {
        auto text = CreateElementAt(kKindConsText, 150, -150 - 250 * i);
        text->m_text = headings[i];
        format.elements.push_front(std::move(text));
    }
    for (int i = 0; i < 8; ++i) {
        auto line = CreateElementAt(kKindTextlineVar, 500 + (i % 2) * 800, -400 - 250 * (i / 2));
        line->m_text = kLightFields[i];
        line->m_rcPage.right = line->m_rcPage.left + 700;
        line->m_rcScreen = {20 + (i % 2) * 320, 20 + 30 * (i / 2), 300 + (i % 2) * 320, 42 + 30 * (i / 2)};
        line->m_screenPlaced = 1;
        format.elements.push_front(std::move(line));
    }
    format.elements.push_front(CreateElementAt(kKindRectangulo, 100, -350));
    format.elements.front()->m_rcPage = {100, -350, 2050, -1450};
    format.elements.push_front(CreateElementAt(kKindLinea, 100, -300));
    format.elements.front()->m_rcPage = {100, -300, 2050, -300};
    std::string message;
    if (!SaveFormatFile(path, format, FormatWriter::Design, message))
        std::abort();
}

void WriteLightRows(const std::string& path, int rows)
{
    std::ofstream out(path, std::ios::binary);
    for (size_t i = 0; i < std::size(kLightFields); ++i)
        out << (i ? ";" : "") << kLightFields[i];
    out << "\r\n";
    for (int i = 1; i <= rows; ++i)
        out << '"' << kClients[i % 5] << " #" << i << "\";Av. Juárez " << (100 + i) << ";Puebla, Pue.;CVA"
            << (100000 + i) << "KJ3;07/12/2026;Material de ferretería;" << (1000 + i) << ".50;" << (1160 + i)
            << ".58\r\n";
}

// The electronic invoice's rows: a folio, both RFCs and the seal, and eight table rows.
void WriteCfdiRows(const std::string& path, int rows)
{
    std::ofstream out(path, std::ios::binary);
    out << "UUID;RFC EMISOR;RFC RECEPTOR;SELLO";
    for (int r = 1; r <= 8; ++r)
        out << ";DETALLE[" << r << ",1];DETALLE[" << r << ",2]";
    out << "\r\n";
    char uuid[40];
    for (int i = 1; i <= rows; ++i) {
        std::snprintf(uuid, sizeof uuid, "5E4F3C2A-1B0D-4E8F-9A7B-%012d", i);
        out << uuid << ";FES010203AB1;CVA" << (100000 + i) << "KJ3;Ab" << (1000 + i) << "==";
        for (int r = 1; r <= 8; ++r)
            out << ';' << (r + i % 7) << ';' << (17 * r + i % 100) << ".25";
        out << "\r\n";
    }
}

struct Files {
    QTemporaryDir dir;
    std::string csv = dir.filePath("facturas.csv").toStdString();
    std::string pdf = dir.filePath("lote.pdf").toStdString();
    std::string lightFormat = dir.filePath("ligera.fmt").toStdString();
    std::string lightCsv = dir.filePath("ligera.csv").toStdString();
    std::string cfdiCsv = dir.filePath("cfdi.csv").toStdString();
    Files()
    {
        WriteRows(csv, kRows);
        WriteCfdiRows(cfdiCsv, kRows);
        WriteLightFormat(lightFormat);
        WriteLightRows(lightCsv, kRows);
    }
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

// The batch as ordexa-cli and the capture screen print it: the format and the rows read,
// every row filled and drawn into one PDF file.
long PrintBatch(const std::string& format, const std::string& csv)
{
    FixedLocale locale;
    std::string message;
    BatchPrint batch(locale);
    if (!batch.LoadFormat(format, message) || !batch.OpenRows(csv, message))
        std::abort();
    BatchOutcome outcome;
    if (!PrintBatchToPdfFile(TheFiles().pdf, Letter(), batch, {0, 0}, nullptr, outcome, message))
        std::abort();
    return outcome.printed;
}

// The baseline: the batch's pages, recorded beforehand, drawn with bare QPainter calls
// into a PDF file of as many pages.
class BarePages {
public:
    BarePages(const std::string& format, const std::string& csv)
    {
        FixedLocale locale;
        BatchPrint batch(locale);
        std::string message;
        if (!batch.LoadFormat(format, message) || !batch.OpenRows(csv, message))
            std::abort();
        RecordingSink recorder;
        batch.Run(recorder);
        m_scenes = std::move(recorder.scenes);
        m_fonts = MakeSceneFonts(m_scenes.front());
        for (const BareScene& scene : m_scenes)
            if (scene.fonts.size() != m_scenes.front().fonts.size())
                std::abort();  // every page uses the same fonts in the same order
    }

    void Print() const
    {
        QFile file(QString::fromStdString(Path()));
        if (!file.open(QIODevice::WriteOnly))
            std::abort();
        QPdfWriter writer(&file);
        writer.setResolution(kDpi);
        writer.setPageLayout(Letter());
        QPainter painter(&writer);
        for (size_t i = 0; i < m_scenes.size(); ++i) {
            if (i > 0)
                writer.newPage();
            ReplayScene(m_scenes[i], m_fonts, painter);
        }
        painter.end();
    }

    static std::string Path() { return TheFiles().pdf + ".bare"; }

private:
    std::vector<BareScene> m_scenes;
    std::vector<QFont> m_fonts;
};

// `rounds` batches of each per iteration, the baseline's and the program's in turn.
void MeasureBatch(benchmark::State& state, const std::string& format, const std::string& csv, int rounds = 1)
{
    const BarePages bare(format, csv);
    long printed = 0;
    MeasurePaired<ThreadCpuTimer>(
        state, "bare_qpainter", rounds, [&] { printed = PrintBatch(format, csv); }, [&] { bare.Print(); });
    if (printed != kRows)
        std::abort();
    state.counters["pages_per_s"] =
        benchmark::Counter(double(kRows) * rounds, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["pdf_bytes"] = double(QFile(QString::fromStdString(TheFiles().pdf)).size());
    state.counters["bare_pdf_bytes"] = double(QFile(QString::fromStdString(BarePages::Path())).size());
}

void BM_BatchOf1000InvoicesFromCsvToPdf(benchmark::State& state)
{
    MeasureBatch(state, ORDEXA_SAMPLES "/Factura.fmt", TheFiles().csv);
}

void BM_BatchOf1000LightPagesFromCsvToPdf(benchmark::State& state)
{
    // A light batch takes some 0.4 s: three of each per iteration, so that a moment's
    // load on the machine weighs little on the ratio.
    MeasureBatch(state, TheFiles().lightFormat, TheFiles().lightCsv, 3);
}

void BM_BatchOf1000CfdiInvoicesFromCsvToPdf(benchmark::State& state)
{
    MeasureBatch(state, ORDEXA_SAMPLES "/FacturaCFDI.fmt", TheFiles().cfdiCsv);
}

// Where the time goes: the rows read and typed (calculations, the table element's rows),
// with nothing drawn.
class NoPages : public BatchPageSink {
public:
    bool Continue(long, long) override { return true; }
    bool PrintPage(const CaptureSession&) override { return true; }
};

void FillWithoutDrawing(benchmark::State& state, const std::string& format, const std::string& csv)
{
    FixedLocale locale;
    std::string message;
    for (auto _ : state) {
        BatchPrint batch(locale);
        if (!batch.LoadFormat(format, message) || !batch.OpenRows(csv, message))
            std::abort();
        NoPages sink;
        if (batch.Run(sink).printed != kRows)
            std::abort();
    }
}

void BM_BatchOf1000FilledWithoutDrawing(benchmark::State& state)
{
    FillWithoutDrawing(state, ORDEXA_SAMPLES "/Factura.fmt", TheFiles().csv);
}

void BM_BatchOf1000LightFilledWithoutDrawing(benchmark::State& state)
{
    FillWithoutDrawing(state, TheFiles().lightFormat, TheFiles().lightCsv);
}

}  // namespace

BENCHMARK(BM_BatchOf1000InvoicesFromCsvToPdf)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();
BENCHMARK(BM_BatchOf1000LightPagesFromCsvToPdf)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();
// Some 11 s per iteration: three repetitions.
BENCHMARK(BM_BatchOf1000CfdiInvoicesFromCsvToPdf)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->UseManualTime();
BENCHMARK(BM_BatchOf1000FilledWithoutDrawing)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_BatchOf1000LightFilledWithoutDrawing)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--write-rows") == 0) {
        WriteRows(argv[3], std::atoi(argv[2]));
        return 0;
    }
    return RunDrawingBenchmarks(argc, argv, {});
}
