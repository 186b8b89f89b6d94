// The design frame inside the program: its menus follow the frame's state, and the undo
// and redo shortcuts reach the active frame.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "app/main_frame.h"
#include "app/ordexa_app.h"
#include "base/prompts.h"
#include "base/settings_store.h"
#include "design/fmtdesign_frm.h"
#include "design/fmtdesign_view.h"
#include "design/properties_panel_bar.h"
#include "platform/command_ids.h"

namespace {

QAction* FindAction(QMenuBar* bar, int id, QMenu** owner)
{
    for (QAction* top : bar->actions())
        if (QMenu* menu = top->menu()) {
            QList<QMenu*> menus{menu};
            for (QMenu* sub : menu->findChildren<QMenu*>())
                menus.append(sub);
            for (QAction* a : menu->actions())
                if (a->menu())
                    menus.append(a->menu());
            for (QMenu* m : menus)
                for (QAction* a : m->actions())
                    if (a->data().toInt() == id) {
                        *owner = m;
                        return a;
                    }
        }
    return nullptr;
}

TEST(DesignInProgram, MenusFollowTheFrameAndShortcutsUndoAndRedo)
{
    MemorySettingsStore settings;
    ScriptedPrompts prompts;
    COrdexaApp app(settings, prompts);
    ASSERT_TRUE(app.Start({}, true));
    auto* frame = static_cast<CFmtdesignFrm*>(app.NewDesign());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app.MainFrame()));
    QMenuBar* bar = app.MainFrame()->menuBar();

    QMenu* menu = nullptr;
    QAction* undo = FindAction(bar, CommandId::kUndo, &menu);
    ASSERT_NE(undo, nullptr);
    EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    emit menu->aboutToShow();
    EXPECT_FALSE(undo->isEnabled());
    emit menu->aboutToHide();

    // Insert a rectangle through the menu's command and a click on the page.
    QAction* rectangle = FindAction(bar, CommandId::kInsertRectangulo, &menu);
    ASSERT_NE(rectangle, nullptr);
    rectangle->trigger();
    emit menu->aboutToShow();
    EXPECT_TRUE(rectangle->isChecked());
    emit menu->aboutToHide();
    CFmtdesignView* view = frame->View();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->PixelOf({200, -200}));
    ASSERT_EQ(frame->GetFormat().elements.size(), 1u);

    QTest::keyClick(app.MainFrame(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(frame->GetFormat().elements.empty());
    QTest::keyClick(app.MainFrame(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(frame->GetFormat().elements.size(), 1u);

    QAction* save = FindAction(bar, CommandId::kSaveDesign, &menu);
    ASSERT_NE(save, nullptr);
    emit menu->aboutToShow();
    EXPECT_TRUE(save->isEnabled());
    emit menu->aboutToHide();
    // Leaving the program asks about the unsaved format; cancelling keeps everything.
    prompts.QueueChoice(PromptAnswer::Cancel);
    app.OnCommand(CommandId::kExit);
    EXPECT_EQ(prompts.Shown(), std::vector<std::string>{"¿Desea guardar los cambios en (nuevo)?"});
    EXPECT_TRUE(app.MainFrame()->isVisible());
    EXPECT_EQ(app.MainFrame()->Children().size(), 1u);
    delete frame;
}

}  // namespace

namespace {

TEST(DesignInProgram, ShortcutsReachTheFrameAndEachPanelShowsOnlyWithItsFrame)
{
    MemorySettingsStore settings;
    ScriptedPrompts prompts;
    COrdexaApp app(settings, prompts);
    ASSERT_TRUE(app.Start({}, true));
    auto* first = static_cast<CFmtdesignFrm*>(app.NewDesign());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app.MainFrame()));
    QMenu* menu = nullptr;
    ASSERT_NE(FindAction(app.MainFrame()->menuBar(), CommandId::kSelectAll, &menu), nullptr);
    EXPECT_EQ(FindAction(app.MainFrame()->menuBar(), CommandId::kSelectAll, &menu)->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_A));
    EXPECT_TRUE(FindAction(app.MainFrame()->menuBar(), CommandId::kMoveLeft, &menu)->text().endsWith("\tIzquierda"));

    QTest::keyClick(app.MainFrame(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(first->View()->Zoom(), 125);

    first->HandleCommand(CommandId::kProperties);
    ASSERT_TRUE(first->PropertiesBar()->isVisible());
    auto* second = static_cast<CFmtdesignFrm*>(app.NewDesign());
    QApplication::processEvents();
    EXPECT_FALSE(first->PropertiesBar()->isVisible()) << "the other frame is active";
    app.MainFrame()->findChild<QMdiArea*>()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
    QApplication::processEvents();
    EXPECT_TRUE(first->PropertiesBar()->isVisible()) << "it comes back with its frame";
    delete second;
    delete first;
}

}  // namespace
