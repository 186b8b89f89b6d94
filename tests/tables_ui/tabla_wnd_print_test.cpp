#include "window_fixture.h"

#include <QPrinter>
#include <cstdio>
#include <functional>
#include <map>
#include <regex>

namespace {

std::string PdfText(const std::string& pdf, int page)
{
    const std::string command = "pdftotext -layout -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" +
                                pdf + "' - 2>/dev/null";
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buf[1024];
        while (size_t n = std::fread(buf, 1, sizeof buf, pipe))
            out.append(buf, n);
        ::pclose(pipe);
    }
    return out;
}

}  // namespace

TEST_F(TablaWndTest, PrintedTableHasAHeaderOnEveryPageAndEveryRecordOnce)
{
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    const int records = 130;
    for (int i = 1; i <= records; ++i) {
        editor.TypeIntoCell(editor.RowCount(), 2, "Cliente " + std::to_string(i), TablaKey::F3);
        editor.TypeIntoCell(editor.RowCount(), 3, std::to_string(i) + ".5", TablaKey::F3);
        ASSERT_TRUE(editor.TypeIntoCell(editor.RowCount(), 1, std::to_string(1000 + i), TablaKey::Enter));
    }
    editor.ToggleCurrency(3);

    const std::string pdf = dir / "tabla.pdf";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    printer.setPageSize(QPageSize(QPageSize::Letter));
    const int pages = wnd->PrintTableTo(printer);
    ASSERT_GE(pages, 2) << "130 lines of 3.6 mm do not fit on one page";

    std::map<std::string, int> seen;
    const std::regex name(R"(Cliente (\d+)\s+\$ (\d+)\.50)");
    for (int page = 1; page <= pages; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        const std::string text = PdfText(pdf, page);
        ASSERT_FALSE(text.empty());
        // The header is the first line of the page.
        const std::string first = text.substr(0, text.find('\n'));
        EXPECT_NE(first.find("Clave"), std::string::npos);
        EXPECT_NE(first.find("Nombre"), std::string::npos);
        EXPECT_NE(first.find("Importe"), std::string::npos);
        for (std::sregex_iterator it(text.begin(), text.end(), name), end; it != end; ++it) {
            EXPECT_EQ((*it)[1], (*it)[2]) << "a name and its amount on one line";
            ++seen[(*it)[1]];
        }
    }
    ASSERT_EQ(seen.size(), size_t(records));
    for (const auto& [n, times] : seen)
        EXPECT_EQ(times, 1) << "Cliente " << n;
    EXPECT_EQ(PdfText(pdf, pages + 1), "") << "no page beyond those reported";
}

TEST_F(TablaWndTest, APrinterThatDoesNotStartIsReportedInSpanish)
{
    editor.TypeIntoCell(editor.RowCount(), 2, "Cliente", TablaKey::F3);
    ASSERT_TRUE(editor.TypeIntoCell(editor.RowCount(), 1, "1", TablaKey::Enter));
    struct Case {
        const char* name;
        std::function<void(QPrinter&)> setUp;
        const char* expected;
    };
    const std::string folder = dir / "no-such-folder";
    const Case cases[] = {
        {"a file in a missing folder",
         [&](QPrinter& p) {
             p.setOutputFormat(QPrinter::PdfFormat);
             p.setOutputFileName(QString::fromStdString(folder + "/tabla.pdf"));
         },
         nullptr},
        {"no printer at all", [](QPrinter& p) { p.setOutputFormat(QPrinter::PdfFormat); },
         "No se pudo iniciar la impresora: no hay ninguna impresora disponible y la tabla no se imprimió."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts.ClearShown();
        QPrinter printer(QPrinter::HighResolution);
        c.setUp(printer);
        EXPECT_EQ(wnd->PrintTableTo(printer), 0);
        ASSERT_EQ(prompts.Shown().size(), 1u);
        const std::string expected =
            c.expected ? c.expected : "No se pudo crear el archivo " + folder + "/tabla.pdf: la tabla no se imprimió.";
        EXPECT_EQ(prompts.Shown()[0], expected);
    }
}

TEST(TablePrintPlan, EveryPageHoldsTheHeaderTheEmptyLineAndAtLeastOneRecord)
{
    struct Case {
        int height, line, records;
        int lines, perPage, pages;
    };
    const Case cases[] = {
        {2500, 40, 130, 62, 60, 3},
        {2500, 40, 120, 62, 60, 2},
        {2500, 40, 0, 62, 60, 1},
        {100, 40, 5, 2, 1, 5},
        {30, 40, 2, 0, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.height) + "/" + std::to_string(c.line) + "/" + std::to_string(c.records));
        const TablePrintPages plan = PlanTablePages(c.height, c.line, c.records);
        EXPECT_EQ(plan.linesPerPage, c.lines);
        EXPECT_EQ(plan.recordsPerPage, c.perPage);
        EXPECT_EQ(plan.pageCount, c.pages);
    }
}
