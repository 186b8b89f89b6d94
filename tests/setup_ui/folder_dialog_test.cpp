#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "app/shelltree/shell_tree.h"
#include "setup/ui/folder_dialog.h"
#include "setup/ui/image_button.h"

namespace {

class FolderDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = QDir(dir.path()).canonicalPath();
        QDir(root).mkpath("Programas/Viejos");
        QDir(root).mkpath("programas");
        QFile format(root + "/Programas/factura.fmt");
        ASSERT_TRUE(format.open(QIODevice::WriteOnly));
    }

    QTemporaryDir dir;
    QString root;
};

}  // namespace

TEST_F(FolderDialogTest, OpensTheTreeAtTheFoldersParentComparingNamesExactly)
{
    CFolderDialog dialog(root + "/Programas/ORDEXA", "ORDEXA");
    EXPECT_EQ(dialog.windowTitle(), "Ruta de instalación");
    EXPECT_EQ(dialog.Edit()->text(), root + "/Programas/ORDEXA");
    QTreeWidgetItem* current = dialog.Tree()->currentItem();
    ASSERT_NE(current, nullptr);
    // "Programas", not its lower-case neighbour "programas".
    EXPECT_EQ(dialog.Tree()->FullPath(current), root + "/Programas/");

    // A path that leaves the tree part way stops at the last folder found.
    EXPECT_EQ(dialog.Tree()->FullPath(dialog.OpenParentOf(root + "/Programas/nada/ORDEXA")), root + "/Programas/");
}

TEST_F(FolderDialogTest, ASelectedFolderGetsTheProductNameAndDrivesEmptiesTheBox)
{
    CFolderDialog dialog(root + "/Programas/ORDEXA", "ORDEXA");
    dialog.resize(360, 420);
    dialog.show();
    CShellTree* tree = dialog.Tree();
    QTreeWidgetItem* programas = tree->currentItem();
    ASSERT_NE(programas, nullptr);
    programas->setExpanded(true);

    // A click on "Viejos".
    QTreeWidgetItem* viejos = nullptr;
    QTreeWidgetItem* format = nullptr;
    for (int i = 0; i < programas->childCount(); ++i) {
        if (programas->child(i)->text(0) == "Viejos")
            viejos = programas->child(i);
        if (programas->child(i)->text(0) == "factura.fmt")
            format = programas->child(i);
    }
    ASSERT_NE(viejos, nullptr);
    ASSERT_NE(format, nullptr);
    tree->scrollToItem(viejos);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(viejos).center());
    EXPECT_EQ(dialog.Edit()->text(), root + "/Programas/Viejos/ORDEXA");

    // A format file in the tree stands for its folder.
    tree->setCurrentItem(format);
    EXPECT_EQ(dialog.Edit()->text(), root + "/Programas/ORDEXA");

    tree->scrollToItem(tree->DrivesItem());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(tree->DrivesItem()).center());
    EXPECT_EQ(dialog.Edit()->text(), "");
}

TEST_F(FolderDialogTest, OkTakesTheTypedFolderAndCancelLeavesIt)
{
    {
        CFolderDialog dialog(root + "/Programas/ORDEXA", "ORDEXA");
        dialog.show();
        dialog.Edit()->setText(root + "/otra/ORDEXA");
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Folder(), root + "/otra/ORDEXA");
        EXPECT_EQ(dialog.OkButton()->pos(), QPoint(20, dialog.height() - 30));
        EXPECT_EQ(dialog.CancelButton()->pos(), QPoint(dialog.width() - 106, dialog.height() - 30));
    }
    CFolderDialog dialog(root + "/Programas/ORDEXA", "ORDEXA");
    dialog.show();
    dialog.Edit()->setText(root + "/otra/ORDEXA");
    QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}
