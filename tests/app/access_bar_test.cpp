#include <QDir>
#include <QDockWidget>
#include <QEnterEvent>
#include <QFile>
#include <QMenuBar>
#include <QSignalSpy>
#include <QToolBar>
#include <QTreeWidget>
#include <utility>

#include "app/access_dialog.h"
#include "app/flat_icon_button.h"
#include "app/recent_formats.h"
#include "app/shelltree/shell_tree.h"
#include "app_window_fixture.h"
#include "platform/child_frame.h"
#include "platform/command_ids.h"

namespace {

class AccessBarTest : public AppWindowFixture {
protected:
    void SetUp() override
    {
        AppWindowFixture::SetUp();
        // The open dialog answers from here: the path queued, or a cancel.
        app.SetFormatAsker([this](QWidget*) {
            ++asked;
            return std::exchange(answer, std::string());
        });
    }

    std::vector<std::string> InitialRecent() const override
    {
        // A free second slot, and a format whose file is gone.
        return {Path("factura.fmt"), "", dir.filePath("borrado.fmt").toStdString(), Path("cheque.fmt")};
    }

    CAccessDialog* Access() const { return frame->AccessDialog(); }

    QStringList ListTexts() const
    {
        QStringList texts;
        QTreeWidget* list = Access()->RecentList();
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            texts << list->topLevelItem(i)->data(0, CAccessDialog::kPathRole).toString();
        return texts;
    }

    // Clicks the recent format at `row` as the clerk would.
    void ClickRecent(int row)
    {
        QTreeWidget* list = Access()->RecentList();
        const QRect r = list->visualItemRect(list->topLevelItem(row));
        // The column is twice as wide as the list: click near the row's visible start.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 10, r.center().y()));
    }

    void Press(int buttonId) { QTest::mouseClick(Access()->Button(buttonId), Qt::LeftButton); }
    void PressToolbar(int commandId)
    {
        for (QAction* a : frame->findChild<QToolBar*>(QStringLiteral("mainToolBar"))->actions())
            if (a->objectName() == QString::number(commandId))
                a->trigger();
    }

    int asked = 0;
    std::string answer;
};

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

}  // namespace

TEST_F(AccessBarTest, TheRecentListShowsTheStoredFormatsAndFollowsEveryOpen)
{
    EXPECT_EQ(ListTexts(), (QStringList{Q(Path("factura.fmt")), dir.filePath("borrado.fmt"), Q(Path("cheque.fmt"))}));
    EXPECT_EQ(Access()->RecentList()->headerItem()->text(0), "Ordexa");
    // The name shows first, where a narrow list still shows it; the whole path in the tooltip.
    const QTreeWidgetItem* first = Access()->RecentList()->topLevelItem(0);
    EXPECT_EQ(first->text(0), "factura.fmt — " + QDir::toNativeSeparators(dir.path()));
    EXPECT_EQ(first->toolTip(0), QDir::toNativeSeparators(Q(Path("factura.fmt"))));

    app.OpenForCapture(Path("nomina.fmt"));
    EXPECT_EQ(ListTexts().value(0), Q(Path("nomina.fmt")));
    app.OpenForDesign(Path("cheque.fmt"));
    EXPECT_EQ(ListTexts(), (QStringList{Q(Path("cheque.fmt")), Q(Path("nomina.fmt")), Q(Path("factura.fmt")),
                                        dir.filePath("borrado.fmt")}));
}

TEST_F(AccessBarTest, ARecentFormatPreviewsItsTitleAndPicture)
{
    ClickRecent(0);
    EXPECT_EQ(Access()->SelectionSource(), CAccessDialog::Source::RecentList);
    EXPECT_EQ(Access()->PreviewText(), "Título de factura.fmt");
    EXPECT_FALSE(Access()->PreviewPicture().isNull());
}

TEST_F(AccessBarTest, ADeletedFormatSaysSoAndOpensNothing)
{
    ClickRecent(1);
    EXPECT_EQ(Access()->PreviewText(), "-- Archivo eliminado --");
    EXPECT_EQ(Access()->SelectionSource(), CAccessDialog::Source::None);
    Press(CAccessDialog::kOpenCaptureId);
    EXPECT_TRUE(frame->Children().empty());
    EXPECT_EQ(asked, 1) << "with nothing to open, the clerk is asked for a format";
    // The entry stays in the list.
    EXPECT_EQ(ListTexts().size(), 3);
}

TEST_F(AccessBarTest, ADamagedFormatSaysWhyAndOpensNothing)
{
    const std::string damaged = Path("roto.fmt");
    QFile file(Q(damaged));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x07" "Factura" "\x05\x00\x00\x00", 12);
    file.close();
    app.AddToRecentFormats(damaged, 1);
    ClickRecent(0);
    EXPECT_TRUE(Access()->PreviewText().contains("roto.fmt")) << Access()->PreviewText().toStdString();
    EXPECT_EQ(Access()->SelectionSource(), CAccessDialog::Source::None);
    Press(CAccessDialog::kOpenDesignId);
    EXPECT_TRUE(frame->Children().empty());
}

TEST_F(AccessBarTest, EachOpenButtonOpensTheChosenFormatOnceInItsMode)
{
    const struct {
        int button;
        FrameMode mode;
    } cases[] = {{CAccessDialog::kOpenDesignId, FrameMode::Design},
                 {CAccessDialog::kOpenScreenLayoutId, FrameMode::ScreenLayout},
                 {CAccessDialog::kOpenCaptureId, FrameMode::Capture}};
    size_t opened = 0;
    for (const auto& c : cases) {
        // The list is refilled after each open: the format is at the top again.
        ClickRecent(0);
        ASSERT_EQ(Access()->SelectionSource(), CAccessDialog::Source::RecentList) << c.button;
        Press(c.button);
        Press(c.button);
        ++opened;
        ASSERT_EQ(frame->Children().size(), opened) << c.button;
        EXPECT_EQ(frame->ActiveChild()->Mode(), c.mode) << c.button;
        EXPECT_EQ(frame->ActiveChild()->Path(), Path("factura.fmt")) << c.button;
        EXPECT_EQ(Access()->SelectionSource(), CAccessDialog::Source::None);
        EXPECT_EQ(Access()->PreviewText(), "");
    }
}

TEST_F(AccessBarTest, ModeButtonsOpenTheChosenFormatElseTheActiveOneAndAskOnlyWithNeither)
{
    answer = Path("factura.fmt");
    PressToolbar(CommandId::kOpenDesign);
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(frame->Children().size(), 1u);
    EXPECT_EQ(frame->ActiveChild()->Path(), Path("factura.fmt"));

    // The active window's format, without a question, from the toolbar and the access bar.
    PressToolbar(CommandId::kOpenCapture);
    Press(CAccessDialog::kOpenScreenLayoutId);
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(frame->Children().size(), 3u);
    for (CChildFrame* child : frame->Children())
        EXPECT_EQ(child->Path(), Path("factura.fmt"));

    // The recent list's choice comes first.
    ClickRecent(ListTexts().indexOf(Q(Path("cheque.fmt"))));
    PressToolbar(CommandId::kOpenCapture);
    EXPECT_EQ(frame->ActiveChild()->Path(), Path("cheque.fmt"));
    EXPECT_EQ(frame->ActiveChild()->Mode(), FrameMode::Capture);
    EXPECT_EQ(asked, 1);
}

TEST_F(AccessBarTest, AFormatChosenInTheTreeOpensWithItsPathUnchanged)
{
    CShellTree* tree = Access()->Tree();
    QTreeWidgetItem* item = tree->ExpandToPath(Q(Path("nomina.fmt")));
    ASSERT_NE(item, nullptr);
    ASSERT_EQ(tree->SelectedPath(), QDir(dir.path()).canonicalPath() + "/nomina.fmt");
    EXPECT_EQ(Access()->SelectionSource(), CAccessDialog::Source::Tree);
    EXPECT_EQ(Access()->PreviewText(), "Título de nomina.fmt");
    Press(CAccessDialog::kOpenScreenLayoutId);
    ASSERT_EQ(frame->Children().size(), 1u);
    EXPECT_EQ(frame->ActiveChild()->Mode(), FrameMode::ScreenLayout);
    EXPECT_EQ(Q(frame->ActiveChild()->Path()), tree->SelectedPath());

    // A folder previews nothing and is never opened: the button takes the active
    // window's format instead.
    tree->setCurrentItem(item->parent());
    EXPECT_EQ(Access()->SelectionSource(), CAccessDialog::Source::None);
    EXPECT_EQ(Access()->PreviewText(), "");
    Press(CAccessDialog::kOpenDesignId);
    ASSERT_EQ(frame->Children().size(), 2u);
    EXPECT_EQ(frame->ActiveChild()->Mode(), FrameMode::Design);
    EXPECT_EQ(frame->Children()[0]->Path(), frame->Children()[1]->Path());
}

TEST_F(AccessBarTest, CreateNewFormatOpensAnEmptyDesignWhateverIsChosen)
{
    ClickRecent(0);
    Press(CAccessDialog::kNewFormatId);
    ASSERT_EQ(frame->Children().size(), 1u);
    EXPECT_EQ(frame->ActiveChild()->Mode(), FrameMode::Design);
    EXPECT_EQ(frame->ActiveChild()->Path(), "");
}

TEST(FlatIconButton, TheHoverColourLightensEachChannelWithoutOverflow)
{
    const struct {
        QColor face, hover;
    } cases[] = {
        {QColor(0xC0, 0xC0, 0xC0), QColor(0xDE, 0xDE, 0xDE)},
        {QColor(0xF0, 0xF0, 0xF0), QColor(0xFF, 0xFF, 0xFF)},  // no carry into the next channel
        {QColor(0x00, 0x80, 0xE5), QColor(0x1E, 0x9E, 0xFF)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HoverColour(c.face), c.hover) << c.face.name().toStdString();
}

TEST_F(AccessBarTest, AButtonLightensWhileThePointerIsOverIt)
{
    CFlatIconButton* button = Access()->Button(CAccessDialog::kOpenCaptureId);
    const QColor face = button->palette().color(QPalette::Button);
    EXPECT_EQ(button->BackgroundColour(), face);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(button, &enter);
    EXPECT_EQ(button->BackgroundColour(), HoverColour(face));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
    EXPECT_EQ(button->BackgroundColour(), face);
}

TEST_F(AccessBarTest, BarraDeAccesoShowsAndDocksTheBarAndNeverHidesIt)
{
    QDockWidget* bar = frame->AccessBar();
    QAction* item = frame->AccessBarAction();
    EXPECT_EQ(bar->windowTitle(), "Accesos");
    EXPECT_EQ(frame->dockWidgetArea(bar), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(item->isChecked());

    item->trigger();  // visible already: stays visible and checked
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(item->isChecked());

    bar->close();  // its close box
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(item->isChecked());

    bar->setFloating(true);
    app.OnCommand(CommandId::kAccessBar);
    EXPECT_FALSE(bar->isFloating());
    EXPECT_EQ(frame->dockWidgetArea(bar), Qt::LeftDockWidgetArea);
}
