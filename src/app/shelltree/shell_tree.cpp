#include "app/shelltree/shell_tree.h"

#include <QCollator>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QPixmap>
#include <QStandardPaths>
#include <QStorageInfo>
#include <algorithm>
#include <set>

namespace {

// What an item stands for, kept in its data so the tree needs no side table.
enum ItemKind { kPlaceholder = 0, kDrives, kDrive, kDesktop, kFolder, kFile };
constexpr int kKindRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kSelectedImageRole = Qt::UserRole + 2;

constexpr QChar kSeparator = QLatin1Char('/');
const QString kDrivesText = QStringLiteral("Unidades");
const QString kDesktopText = QStringLiteral("Escritorio");

int Kind(const QTreeWidgetItem* item)
{
    return item->data(0, kKindRole).toInt();
}

QString WithSeparator(QString path)
{
    if (!path.endsWith(kSeparator))
        path += kSeparator;
    return path;
}

// Where removable and extra disks are mounted for the user; other mounts (boot, system
// images, containers) are the system's business and only clutter the list.
bool IsUserVolume(const QString& root)
{
    static const QStringList kPlaces{QStringLiteral("/media/"), QStringLiteral("/run/media/"), QStringLiteral("/mnt/")};
    if (root == QStringLiteral("/") || (QDir::homePath() + kSeparator).startsWith(root))
        return true;
    for (const QString& place : kPlaces)
        if (root.startsWith(place))
            return true;
    return false;
}

// The mounted volumes that hold folders, in the order the system lists them, each root
// ending in the separator; the root folder is always there.
QStringList ReadDriveRoots()
{
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !QFileInfo(volume.rootPath()).isDir() || !IsUserVolume(WithSeparator(volume.rootPath())))
            continue;
        const QString root = WithSeparator(volume.rootPath());
        if (!roots.contains(root))
            roots << root;
    }
    if (!roots.contains(QStringLiteral("/")))
        roots.prepend(QStringLiteral("/"));
    return roots;
}

QString DriveDisplayName(const QString& root)
{
    const QStorageInfo volume(root);
    const QString name = volume.name();
    return name.isEmpty() ? root : QStringLiteral("%1 (%2)").arg(name, root);
}

}  // namespace

CShellTree::CShellTree(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    connect(this, &QTreeWidget::itemExpanded, this, &CShellTree::OnExpanded);
    connect(this, &QTreeWidget::itemCollapsed, this, &CShellTree::OnCollapsed);
    connect(this, &QTreeWidget::currentItemChanged, this, &CShellTree::OnCurrentChanged);
    Fill(true);
}

bool CShellTree::IsPlaceholder(const QTreeWidgetItem* item)
{
    return item && Kind(item) == kPlaceholder;
}

void CShellTree::Fill(bool clearFirst)
{
    m_filling = true;
    if (clearFirst) {
        clear();
        m_images.clear();
        m_drives = m_desktop = nullptr;
    }
    m_desktopPath = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    // Where the desktop folder does not exist (a machine without a desktop), the home
    // folder takes its place so the item still leads somewhere.
    if (m_desktopPath.isEmpty() || !QFileInfo(m_desktopPath).isDir())
        m_desktopPath = QDir::homePath();
    while (m_desktopPath.size() > 1 && m_desktopPath.endsWith(kSeparator))
        m_desktopPath.chop(1);

    if (m_images.empty()) {
        // Image 0 is the placeholder's blank, never removed.
        QPixmap blank(16, 16);
        blank.fill(Qt::transparent);
        AddImage(QIcon(blank));
    }
    QFileIconProvider icons;
    const int drivesImage = AddImage(icons.icon(QFileIconProvider::Drive));
    const int desktopImage = AddImage(icons.icon(QFileIconProvider::Desktop));

    m_drives = InsertShellItem(nullptr, kDrivesText, {}, {}, true, drivesImage, drivesImage);
    m_drives->setData(0, kKindRole, kDrives);
    InsertPlaceholder(m_drives);
    const QString desktopName = m_desktopPath == QDir::homePath() ? QStringLiteral("Carpeta personal") : kDesktopText;
    m_desktop = InsertShellItem(nullptr, desktopName, {}, {}, true, desktopImage, desktopImage);
    m_desktop->setData(0, kKindRole, kDesktop);
    InsertPlaceholder(m_desktop);
    m_filling = false;
}

int CShellTree::AddImage(const QIcon& icon)
{
    m_images.push_back(icon);
    return int(m_images.size()) - 1;
}

void CShellTree::ShowImage(QTreeWidgetItem* item, bool selected)
{
    if (!item)
        return;
    const int index = item->data(0, selected ? kSelectedImageRole : kImageRole).toInt();
    if (index >= 0 && index < int(m_images.size()))
        item->setIcon(0, m_images[size_t(index)]);
}

QTreeWidgetItem* CShellTree::InsertShellItem(QTreeWidgetItem* parent, const QString& text, const QIcon& icon,
                                             const QIcon& openIcon, bool folder, int image, int selectedImage)
{
    if (image < 0)
        image = AddImage(icon);
    if (selectedImage < 0)
        selectedImage = openIcon.isNull() || openIcon.cacheKey() == icon.cacheKey() ? image : AddImage(openIcon);
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setData(0, kKindRole, folder ? kFolder : kFile);
    item->setData(0, kImageRole, image);
    item->setData(0, kSelectedImageRole, selectedImage);
    ShowImage(item, false);
    if (parent)
        parent->addChild(item);
    else
        addTopLevelItem(item);
    return item;
}

QTreeWidgetItem* CShellTree::InsertPlaceholder(QTreeWidgetItem* parent)
{
    auto* item = new QTreeWidgetItem(QStringList{QString()});
    item->setData(0, kKindRole, kPlaceholder);
    item->setData(0, kImageRole, 0);
    item->setData(0, kSelectedImageRole, 0);
    item->setIcon(0, m_images.front());
    parent->addChild(item);
    return item;
}

void CShellTree::OnExpanded(QTreeWidgetItem* item)
{
    if (m_filling)
        return;
    if (item == m_drives)
        ExpandDrives();
    else
        ExpandFolder(item);
}

void CShellTree::ExpandDrives()
{
    DeleteChildren(m_drives);
    m_driveRoots = ReadDriveRoots();
    QFileIconProvider icons;
    for (const QString& root : m_driveRoots) {
        const QIcon icon = icons.icon(QFileIconProvider::Drive);
        QTreeWidgetItem* drive = InsertShellItem(m_drives, DriveDisplayName(root), icon, icon, true);
        drive->setData(0, kKindRole, kDrive);
        InsertPlaceholder(drive);
    }
}

void CShellTree::ExpandFolder(QTreeWidgetItem* item)
{
    const QString path = FullPath(item);
    DeleteChildren(item);
    // A folder that cannot be listed (no permission, a drive not ready) simply has no
    // entries, and the item keeps one placeholder below.
    const QFileInfoList entries =
        QDir(path).entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    QFileInfoList shown;
    for (const QFileInfo& info : entries)
        if (info.isDir() || AcceptFile(info.fileName()))
            shown << info;

    QCollator collator(QLocale(QLocale::Spanish, QLocale::Mexico));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::stable_sort(shown.begin(), shown.end(), [&](const QFileInfo& a, const QFileInfo& b) {
        return collator.compare(a.fileName(), b.fileName()) < 0;
    });

    QFileIconProvider icons;
    for (const QFileInfo& info : shown) {
        const QIcon icon = icons.icon(info);
        if (info.isDir()) {
            const QIcon open = QIcon::fromTheme(QStringLiteral("folder-open"), icon);
            InsertPlaceholder(InsertShellItem(item, info.fileName(), icon, open, true));
        } else {
            InsertShellItem(item, info.fileName(), icon, icon, false);
        }
    }
    if (shown.isEmpty())
        InsertPlaceholder(item);
}

void CShellTree::OnCollapsed(QTreeWidgetItem* item)
{
    if (m_filling)
        return;
    DeleteChildren(item);
    InsertPlaceholder(item);
}

void CShellTree::DeleteChildren(QTreeWidgetItem* item)
{
    // The current item may be among those going: the folder itself becomes current, so
    // no signal ever names a deleted item.
    for (QTreeWidgetItem* c = currentItem(); c; c = c->parent())
        if (c->parent() == item) {
            setCurrentItem(item);
            break;
        }

    std::set<int> freed;
    std::vector<QTreeWidgetItem*> stack(1, item);
    while (!stack.empty()) {
        QTreeWidgetItem* it = stack.back();
        stack.pop_back();
        for (int i = 0; i < it->childCount(); ++i) {
            QTreeWidgetItem* child = it->child(i);
            for (int role : {kImageRole, kSelectedImageRole})
                if (const int index = child->data(0, role).toInt(); index > 0)
                    freed.insert(index);
            stack.push_back(child);
        }
    }
    qDeleteAll(item->takeChildren());
    if (freed.empty())
        return;

    // Close the gaps: every remaining index drops by the number of freed ones below it.
    for (auto it = freed.rbegin(); it != freed.rend(); ++it)
        if (*it < int(m_images.size()))
            m_images.erase(m_images.begin() + *it);
    auto renumber = [&](int index) {
        return index - int(std::distance(freed.begin(), freed.lower_bound(index)));
    };
    stack.clear();
    for (int i = 0; i < topLevelItemCount(); ++i)
        stack.push_back(topLevelItem(i));
    while (!stack.empty()) {
        QTreeWidgetItem* it = stack.back();
        stack.pop_back();
        for (int role : {kImageRole, kSelectedImageRole})
            it->setData(0, role, renumber(it->data(0, role).toInt()));
        for (int i = 0; i < it->childCount(); ++i)
            stack.push_back(it->child(i));
    }
}

QString CShellTree::RootOf(const QTreeWidgetItem* driveItem) const
{
    return m_driveRoots.value(m_drives->indexOfChild(const_cast<QTreeWidgetItem*>(driveItem)));
}

QString CShellTree::FullPath(const QTreeWidgetItem* item) const
{
    if (!item)
        return {};
    // Built upwards: each named item puts its text and a separator before the tail.
    QString tail;
    QString path;
    QString root;
    for (const QTreeWidgetItem* it = item; it; it = it->parent()) {
        if (it == m_drives) {
            path = tail;
            break;
        }
        if (it->parent() == m_drives) {
            root = RootOf(it);
            path = root + tail;
            break;
        }
        if (it == m_desktop) {
            root = m_desktopPath == QStringLiteral("/") ? QString() : m_desktopPath;
            path = root + kSeparator + tail;
            break;
        }
        if (!it->text(0).isEmpty())
            tail = it->text(0) + kSeparator + tail;
        if (!it->parent())
            path = tail;
    }
    // An item without children is a file (or a placeholder): no trailing separator.
    if (item->childCount() == 0 && path.endsWith(kSeparator) && path != root && path.size() > 1)
        path.chop(1);
    return path;
}

QString CShellTree::PathOrEmpty(const QTreeWidgetItem* item) const
{
    return !item || item->text(0).isEmpty() ? QString() : FullPath(item);
}

QString CShellTree::SelectedPath() const
{
    return PathOrEmpty(currentItem());
}

bool CShellTree::AcceptFile(const QString& fileName) const
{
    return fileName.endsWith(QStringLiteral(".fmt"), Qt::CaseSensitive);
}

void CShellTree::OnCurrentChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous)
{
    ShowImage(previous, false);
    ShowImage(current, true);
    if (!m_filling)
        emit pathSelected(PathOrEmpty(current));
}

QTreeWidgetItem* CShellTree::ExpandToPath(const QString& path)
{
    const QString target = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QTreeWidgetItem* item = nullptr;
    QString rest;
    // The desktop is the shorter way to what lies inside it; otherwise the volume with
    // the longest root that holds the path.
    if (m_desktopPath != QStringLiteral("/") && (target + kSeparator).startsWith(m_desktopPath + kSeparator)) {
        item = m_desktop;
        rest = target.mid(m_desktopPath.size());
    } else {
        m_drives->setExpanded(true);
        int best = -1;
        for (int i = 0; i < m_driveRoots.size(); ++i)
            if (WithSeparator(target).startsWith(m_driveRoots[i]) &&
                (best < 0 || m_driveRoots[i].size() > m_driveRoots[best].size()))
                best = i;
        if (best < 0 || best >= m_drives->childCount())
            return nullptr;
        item = m_drives->child(best);
        rest = target.mid(m_driveRoots[best].size());
    }
    for (const QString& part : rest.split(kSeparator, Qt::SkipEmptyParts)) {
        item->setExpanded(true);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (item->child(i)->text(0) == part)
                next = item->child(i);
        if (!next)
            break;
        item = next;
    }
    setCurrentItem(item);
    scrollToItem(item);
    return item;
}
