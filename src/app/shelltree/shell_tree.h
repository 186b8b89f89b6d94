#pragma once
// A tree of the machine's drives (its mounted volumes) and the desktop folder, with the
// folders below them and the files the filter accepts. It fills itself lazily: a folder's
// children are read from the disk when it is expanded and thrown away when it is
// collapsed, so the tree always shows what the disk holds now.
//
// Every folder item has at least one child, a placeholder (empty text, blank image)
// until it is expanded, so that it shows the expand mark. Images live in one list the
// items index into; collapsing a folder removes its descendants' images and renumbers
// the rest, so browsing for a long time does not grow the list.
#include <QIcon>
#include <QStringList>
#include <QTreeWidget>
#include <vector>

class CShellTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit CShellTree(QWidget* parent = nullptr);

    // Builds the two top-level items, "Unidades" (the drives) and the desktop, each with a placeholder
    // child; with `clear` the items already there go first.
    void Fill(bool clear = true);

    // The item's full path: a folder's ends with the separator ("/home/ana/Formas/"), a
    // file's does not; a drive is its root ("/"); "Unidades" itself has the empty path.
    QString FullPath(const QTreeWidgetItem* item) const;
    // The full path, or an empty string for a placeholder.
    QString PathOrEmpty(const QTreeWidgetItem* item) const;
    // The full path of the current item (empty when there is none or it is a placeholder).
    QString SelectedPath() const;

    // The file filter: by default exactly the names ending in ".fmt" (case-sensitive).
    virtual bool AcceptFile(const QString& fileName) const;

    // Expands the tree down to `path` (a folder or a file below one of the drives or the
    // desktop) and makes the deepest item reached current. Returns that item, or null
    // when no drive holds the path.
    QTreeWidgetItem* ExpandToPath(const QString& path);

    QTreeWidgetItem* DrivesItem() const { return m_drives; }
    QTreeWidgetItem* DesktopItem() const { return m_desktop; }
    // The drive roots as read when "Unidades" was last expanded, each ending in "/".
    const QStringList& DriveRoots() const { return m_driveRoots; }
    // The number of images in the list (image 0, the placeholder's blank, included).
    int ImageCount() const { return int(m_images.size()); }
    static bool IsPlaceholder(const QTreeWidgetItem* item);

signals:
    // The current item changed; `path` is its full path (empty for a placeholder).
    void pathSelected(const QString& path);

private:
    void OnExpanded(QTreeWidgetItem* item);
    void OnCollapsed(QTreeWidgetItem* item);
    void OnCurrentChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);

    void ExpandDrives();
    void ExpandFolder(QTreeWidgetItem* item);
    // Adds a child named `text` for the file or folder `info`, with images of its own
    // (or the given ones, when not -1).
    QTreeWidgetItem* InsertShellItem(QTreeWidgetItem* parent, const QString& text, const QIcon& icon,
                                     const QIcon& openIcon, bool folder, int image = -1, int selectedImage = -1);
    QTreeWidgetItem* InsertPlaceholder(QTreeWidgetItem* parent);
    // Deletes every child of `item`, frees their images and closes the gaps.
    void DeleteChildren(QTreeWidgetItem* item);
    int AddImage(const QIcon& icon);
    void ShowImage(QTreeWidgetItem* item, bool selected);
    QString RootOf(const QTreeWidgetItem* driveItem) const;

    QTreeWidgetItem* m_drives = nullptr;
    QTreeWidgetItem* m_desktop = nullptr;
    QString m_desktopPath;
    QStringList m_driveRoots;
    std::vector<QIcon> m_images;
    bool m_filling = false;
};
