// Builds a format holding every kind through the design frame's own toolbar and real
// mouse clicks, selects a column of the table element, and writes a picture of the
// frame, for looking at it, and the format beside it (OUTPUT.fmt):
//   design_frame_demo OUTPUT.png [seconds to stay open]
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "base/prompts.h"
#include "base/settings_store.h"
#include "design/fmtdesign_frm.h"
#include "design/fmtdesign_view.h"
#include "model/fmt_grid.h"
#include "platform/command_ids.h"
#include "platform/frame_host.h"

namespace {

class DemoHost : public FrameHost {
public:
    void AddToRecentFormats(const std::string&, int) override {}
    Prompts& GetPrompts() override { return prompts; }
    SettingsStore& GetSettings() override { return settings; }
    ScriptedPrompts prompts;
    MemorySettingsStore settings;
};

}  // namespace

int main(int argc, char** argv)
{
    using namespace CommandId;
    QApplication app(argc, argv);
    DemoHost host;
    // Frames delete themselves when closed, as the program's do when it quits.
    auto* framePtr = new CFmtdesignFrm(host);
    CFmtdesignFrm& frame = *framePtr;
    frame.resize(1100, 800);
    frame.show();
    if (!QTest::qWaitForWindowExposed(&frame))
        return 1;
    CFmtdesignView* view = frame.View();
    QWidget* page = view->viewport();
    auto click = [&](Point p) { QTest::mouseClick(page, Qt::LeftButton, {}, view->PixelOf(p)); };

    const struct {
        int command;
        Point at;
    } inserts[] = {
        {kInsertConsText, {0, -60}},        {kInsertTextlineVar, {0, -200}}, {kInsertCuadrosVar, {600, -200}},
        {kInsertMarcaVar, {1300, -200}},    {kInsertParrafoVar, {0, -300}},  {kInsertConsParrafo, {700, -300}},
        {kInsertLinea, {0, -520}},          {kInsertRectangulo, {1400, -300}}, {kInsertEtiqueta, {700, -520}},
        {kInsertGrid, {0, -700}},
    };
    for (const auto& i : inserts) {
        frame.HandleCommand(i.command);
        click(i.at);
    }
    frame.HandleCommand(kSelectTool);
    auto* grid = static_cast<CFmtGrid*>(frame.Selection());
    const Point title{grid->m_columns[1].x + 150, grid->m_rcPage.top + 20};
    QTest::mouseMove(page, view->PixelOf(title));
    click(title);
    QTest::mouseMove(page, view->PixelOf({grid->m_columns[2].x + 100, grid->m_rcPage.top - 100}));
    app.processEvents();
    const QString picture = QString::fromLocal8Bit(argc > 1 ? argv[1] : "design_frame.png");
    frame.grab().save(picture);
    DesignDialogs dialogs = PlatformDesignDialogs();
    const std::string saved = (picture.left(picture.lastIndexOf('.')) + ".fmt").toStdString();
    dialogs.savePath = [&saved](QWidget*) { return saved; };
    frame.SetDialogs(dialogs);
    frame.Save();
    if (argc > 2) {
        // Stays open with the properties panel showing the selected column.
        frame.HandleCommand(kProperties);
        QTimer::singleShot(std::atoi(argv[2]) * 1000, &app, &QApplication::quit);
        return app.exec();
    }
    return 0;
}
