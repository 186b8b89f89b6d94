#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>

#include "app/shelltree/shell_tree.h"

namespace {

void Touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

QStringList ChildTexts(const QTreeWidgetItem* item)
{
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

// Every item's images are in the list: collapsing never leaves an index past its end.
void ExpectImagesInRange(const CShellTree& tree, QTreeWidgetItem* item)
{
    for (int role : {Qt::UserRole + 1, Qt::UserRole + 2}) {
        const int index = item->data(0, role).toInt();
        EXPECT_GE(index, 0) << item->text(0).toStdString();
        EXPECT_LT(index, tree.ImageCount()) << item->text(0).toStdString();
    }
    for (int i = 0; i < item->childCount(); ++i)
        ExpectImagesInRange(tree, item->child(i));
}

class ShellTreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        root = QDir(dir.path()).canonicalPath();
        QDir(root).mkpath(QStringLiteral("Zeta"));
        QDir(root).mkpath(QStringLiteral("alfa/vacía"));
        Touch(root + QStringLiteral("/factura.fmt"));
        Touch(root + QStringLiteral("/FACTURA.FMT"));
        Touch(root + QStringLiteral("/notas.txt"));
        Touch(root + QStringLiteral("/Zeta/cheque.fmt"));
    }

    QTemporaryDir dir;
    QString root;
    CShellTree tree;
};

}  // namespace

TEST_F(ShellTreeTest, StartsWithDrivesAndTheDesktopEachWithAPlaceholder)
{
    ASSERT_EQ(tree.topLevelItemCount(), 2);
    EXPECT_EQ(tree.topLevelItem(0), tree.DrivesItem());
    EXPECT_EQ(tree.DrivesItem()->text(0), "Unidades");
    for (QTreeWidgetItem* top : {tree.DrivesItem(), tree.DesktopItem()}) {
        ASSERT_EQ(top->childCount(), 1);
        EXPECT_TRUE(CShellTree::IsPlaceholder(top->child(0)));
        EXPECT_EQ(tree.PathOrEmpty(top->child(0)), "");
    }
    EXPECT_EQ(tree.FullPath(tree.DrivesItem()), "");
    EXPECT_TRUE(tree.FullPath(tree.DesktopItem()).endsWith('/'));
    // The placeholder's blank and the two top-level pictures.
    EXPECT_EQ(tree.ImageCount(), 3);
}

TEST_F(ShellTreeTest, ADriveIsItsRootAndListsItsFolders)
{
    tree.DrivesItem()->setExpanded(true);
    ASSERT_FALSE(tree.DriveRoots().isEmpty());
    ASSERT_EQ(tree.DrivesItem()->childCount(), tree.DriveRoots().size());
    for (int i = 0; i < tree.DriveRoots().size(); ++i) {
        EXPECT_TRUE(tree.DriveRoots()[i].endsWith('/'));
        EXPECT_EQ(tree.FullPath(tree.DrivesItem()->child(i)), tree.DriveRoots()[i]);
    }
    const int slash = tree.DriveRoots().indexOf("/");
    ASSERT_GE(slash, 0);
    QTreeWidgetItem* rootItem = tree.DrivesItem()->child(slash);
    rootItem->setExpanded(true);
    const QStringList top = ChildTexts(rootItem);
    EXPECT_TRUE(top.contains("tmp")) << top.join(',').toStdString();
    const int tmp = int(top.indexOf("tmp"));
    EXPECT_EQ(tree.FullPath(rootItem->child(tmp)), "/tmp/");
}

TEST_F(ShellTreeTest, AFolderShowsItsFoldersAndLowerCaseFormatFilesSorted)
{
    QTreeWidgetItem* folder = tree.ExpandToPath(root);
    ASSERT_NE(folder, nullptr);
    ASSERT_EQ(tree.FullPath(folder), root + "/");
    folder->setExpanded(true);
    // "FACTURA.FMT" is not a format file: the filter compares case-sensitively.
    EXPECT_EQ(ChildTexts(folder), (QStringList{"alfa", "factura.fmt", "Zeta"}));
    QTreeWidgetItem* file = folder->child(1);
    EXPECT_EQ(tree.FullPath(file), root + "/factura.fmt");
    EXPECT_EQ(tree.FullPath(folder->child(2)), root + "/Zeta/");
    // Folders carry a placeholder until expanded; files carry nothing.
    EXPECT_EQ(folder->child(2)->childCount(), 1);
    EXPECT_TRUE(CShellTree::IsPlaceholder(folder->child(2)->child(0)));
    EXPECT_EQ(file->childCount(), 0);

    QSignalSpy selected(&tree, &CShellTree::pathSelected);
    tree.setCurrentItem(file);
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected.at(0).at(0).toString(), root + "/factura.fmt");
    EXPECT_EQ(tree.SelectedPath(), root + "/factura.fmt");
}

TEST_F(ShellTreeTest, AnEmptyFolderShowsOneBlankChild)
{
    QTreeWidgetItem* empty = tree.ExpandToPath(root + "/alfa/vacía");
    ASSERT_NE(empty, nullptr);
    ASSERT_EQ(empty->text(0), "vacía");
    empty->setExpanded(true);
    ASSERT_EQ(empty->childCount(), 1);
    EXPECT_TRUE(CShellTree::IsPlaceholder(empty->child(0)));
    EXPECT_EQ(tree.PathOrEmpty(empty->child(0)), "");
    EXPECT_EQ(tree.FullPath(empty), root + "/alfa/vacía/");
}

TEST_F(ShellTreeTest, CollapsingForgetsAndExpandingReadsTheDiskAgain)
{
    QTreeWidgetItem* folder = tree.ExpandToPath(root);
    ASSERT_NE(folder, nullptr);
    const int imagesBefore = tree.ImageCount();
    folder->setExpanded(true);
    QTreeWidgetItem* zeta = folder->child(2);
    zeta->setExpanded(true);
    EXPECT_EQ(ChildTexts(zeta), QStringList{"cheque.fmt"});
    EXPECT_GT(tree.ImageCount(), imagesBefore);

    Touch(root + "/nueva.fmt");
    folder->setExpanded(false);
    ASSERT_EQ(folder->childCount(), 1);
    EXPECT_TRUE(CShellTree::IsPlaceholder(folder->child(0)));
    // The children's images went with them, and the list closed up behind them.
    EXPECT_EQ(tree.ImageCount(), imagesBefore);
    ExpectImagesInRange(tree, tree.DrivesItem());
    ExpectImagesInRange(tree, tree.DesktopItem());

    folder->setExpanded(true);
    EXPECT_EQ(ChildTexts(folder), (QStringList{"alfa", "factura.fmt", "nueva.fmt", "Zeta"}));
}

TEST_F(ShellTreeTest, CollapsingOneFolderKeepsTheImagesOfAnotherInPlace)
{
    QTreeWidgetItem* folder = tree.ExpandToPath(root);
    ASSERT_NE(folder, nullptr);
    folder->setExpanded(true);
    QTreeWidgetItem* alfa = folder->child(0);
    QTreeWidgetItem* zeta = folder->child(2);
    alfa->setExpanded(true);
    zeta->setExpanded(true);
    QTreeWidgetItem* cheque = zeta->child(0);
    const int indexBefore = cheque->data(0, Qt::UserRole + 1).toInt();
    const int imagesBefore = tree.ImageCount();
    alfa->setExpanded(false);
    const int freed = imagesBefore - tree.ImageCount();
    EXPECT_GT(freed, 0);
    // The images of "alfa"'s children came before those of "Zeta"'s: the file's index
    // drops by as many as were freed, and still names an image of the list.
    EXPECT_EQ(cheque->data(0, Qt::UserRole + 1).toInt(), indexBefore - freed);
    ExpectImagesInRange(tree, tree.DrivesItem());
    ExpectImagesInRange(tree, tree.DesktopItem());
}

TEST_F(ShellTreeTest, CollapsingTheFolderOfTheCurrentItemMakesTheFolderCurrent)
{
    QTreeWidgetItem* file = tree.ExpandToPath(root + "/Zeta/cheque.fmt");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(tree.SelectedPath(), root + "/Zeta/cheque.fmt");
    QTreeWidgetItem* zeta = file->parent();
    zeta->setExpanded(false);
    EXPECT_EQ(tree.currentItem(), zeta);
    EXPECT_EQ(tree.SelectedPath(), root + "/Zeta/");
}

TEST_F(ShellTreeTest, RefillingStartsAgainFromTheTopLevel)
{
    tree.ExpandToPath(root);
    tree.Fill(true);
    EXPECT_EQ(tree.topLevelItemCount(), 2);
    EXPECT_EQ(tree.ImageCount(), 3);
}
