#include <QDir>
#include <QDockWidget>
#include <QEnterEvent>
#include <QFile>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTreeWidget>

#include "app/access_dialog.h"
#include "app/flat_icon_button.h"
#include "app/recent_formats.h"
#include "app/shelltree/shell_tree.h"
#include "app_window_fixture.h"
#include "platform/child_frame.h"

namespace {

class AccessBarTest : public AppWindowFixture {
protected:
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
            texts << list->topLevelItem(i)->text(0);
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

    // A folder previews nothing and opens nothing.
    tree->setCurrentItem(item->parent());
    EXPECT_EQ(Access()->SelectionSource(), CAccessDialog::Source::None);
    EXPECT_EQ(Access()->PreviewText(), "");
    Press(CAccessDialog::kOpenDesignId);
    EXPECT_EQ(frame->Children().size(), 1u);
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
