// Adding 10,000 records (a text of width 30 and a double) to a table without index and to
// one with a unique 32-bit integer index, and walking them in index order. Each figure is
// also given as a ratio to the same bytes written to (or read from) a plain file one
// record at a time, measured in the same iteration.
#include "base/prompts.h"
#include "tables/tabla.h"
#include "base/fixed_locale.h"
#include "ratio_reporter.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRecords = 10000;

struct Scratch {
    Scratch()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "ordexa-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data()))
            std::abort();
        path = tmpl;
    }
    ~Scratch() { std::filesystem::remove_all(path); }
    std::filesystem::path path;
};

// Keys 1..10007 in a scattered order, so that inserts land all over the index.
int32_t KeyOf(int i)
{
    return int32_t((int64_t(i) * 7919) % 10007) + 1;
}

std::string NameOf(int i)
{
    return "Cliente numero " + std::to_string(i);
}


// The record bytes of the plain-file baseline: as long as the table's record.
std::vector<uint8_t> RecordBytes(int i, size_t length)
{
    std::vector<uint8_t> bytes(length, 0);
    const std::string name = NameOf(i);
    std::copy(name.begin(), name.end(), bytes.begin());
    const double value = i * 1.5;
    std::memcpy(bytes.data() + 31, &value, sizeof value);
    return bytes;
}

// The baseline: the same record bytes written to a new plain file, one write per record.
double PlainWriteSeconds(const std::filesystem::path& dir)
{
    const size_t length = 31 + 8;
    const std::string path = (dir / "plain.bin").string();
    const UncontendedTimer timer;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    for (int i = 0; i < kRecords; ++i) {
        const auto bytes = RecordBytes(i, length);
        if (::pwrite(fd, bytes.data(), bytes.size(), off_t(i * length)) != ssize_t(length))
            std::abort();
    }
    ::close(fd);
    const double seconds = timer.Seconds();
    ::unlink(path.c_str());
    return seconds;
}

void FillTable(CTabla& table, bool indexed)
{
    for (int i = 0; i < kRecords; ++i) {
        table.SetText(0, NameOf(i));
        table.SetText(1, std::to_string(i * 1.5));
        if (indexed)
            table.SetText(2, std::to_string(KeyOf(i)));
        if (!table.AppendRecord())
            std::abort();
    }
}

void BM_TableAppend(benchmark::State& state)
{
    const bool indexed = state.range(0) != 0;
    ScriptedPrompts prompts;
    FixedLocale locale;
    Scratch dir;
    double total = 0;
    double baseline = 0;
    std::vector<CKVField> fields = {{"Nombre", 30, kvText}, {"Importe", 0, kvDouble}};
    if (indexed)
        fields.emplace_back("Clave", 0, kvInt32, kvIndexUnique);
    for (auto _ : state) {
        state.PauseTiming();
        // Measured three times (some 75 ms in all) and averaged, so that one slow write
        // does not swing the ratio.
        baseline += (PlainWriteSeconds(dir.path) + PlainWriteSeconds(dir.path) + PlainWriteSeconds(dir.path)) / 3;
        state.ResumeTiming();
        const UncontendedTimer timer;
        CTabla table(prompts, locale);
        if (!table.Create((dir.path / "t").string(), fields, true))
            std::abort();
        FillTable(table, indexed);
        table.Close();
        total += timer.Seconds();
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
    state.counters["plain_file_per_second"] = double(state.iterations()) * kRecords / baseline;
    state.counters["x_plain_file"] = total / baseline;
}

// The baseline of the walk: the same number of records read from a plain file, one
// read per record, in the same scattered order.
double PlainReadSeconds(int fd)
{
    const size_t length = 31 + 8;
    std::vector<uint8_t> buffer(length);
    const UncontendedTimer timer;
    for (int i = 0; i < kRecords; ++i) {
        const off_t at = off_t((KeyOf(i) % kRecords) * length);
        if (::pread(fd, buffer.data(), length, at) != ssize_t(length))
            std::abort();
        benchmark::DoNotOptimize(buffer.data());
    }
    return timer.Seconds();
}

void BM_WalkIndexOrder(benchmark::State& state)
{
    ScriptedPrompts prompts;
    FixedLocale locale;
    Scratch dir;
    const std::vector<CKVField> fields = {{"Nombre", 30, kvText}, {"Importe", 0, kvDouble},
                                          {"Clave", 0, kvInt32, kvIndexUnique}};
    CTabla table(prompts, locale);
    if (!table.Create((dir.path / "t").string(), fields, true))
        std::abort();
    FillTable(table, true);
    const std::string plainPath = (dir.path / "plain.bin").string();
    const int fd = ::open(plainPath.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    for (int i = 0; i < kRecords; ++i) {
        const auto bytes = RecordBytes(i, 31 + 8);
        if (::pwrite(fd, bytes.data(), bytes.size(), off_t(i * bytes.size())) != ssize_t(bytes.size()))
            std::abort();
    }
    double total = 0;
    double baseline = 0;
    int32_t previous = 0;
    for (auto _ : state) {
        state.PauseTiming();
        baseline += (PlainReadSeconds(fd) + PlainReadSeconds(fd) + PlainReadSeconds(fd)) / 3;
        state.ResumeTiming();
        const UncontendedTimer timer;
        if (!table.SelectOrder("Clave"))
            std::abort();
        previous = 0;
        for (int i = 1; i < table.SlotCount(); ++i) {
            if (table.GoToOrderPosition(i) != 1)
                std::abort();
            const auto key = int32_t(table.GetDouble(2));
            if (key <= previous)
                std::abort();  // the walk must come out in key order
            previous = key;
        }
        total += timer.Seconds();
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
    ::close(fd);
    state.counters["plain_file_per_second"] = double(state.iterations()) * kRecords / baseline;
    state.counters["x_plain_file"] = total / baseline;
}

}  // namespace

// Wall-clock time less the time other programs kept the processor (UncontendedTimer): an
// add's index write spends much of its time in the file system. Five repetitions, the
// median of x_plain_file reported.
// items_per_second is records per second; x_plain_file is the time over the plain-file
// append baseline run inside each iteration (the same record bytes, one write each).
BENCHMARK(BM_TableAppend)->Arg(0)->Arg(1)->ArgName("unique_index")->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_WalkIndexOrder)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

int main(int argc, char** argv)
{
    return RunWithRatios(argc, argv, {});
}
