#include "setup/ui/folder_dialog.h"

#include <QDir>
#include <QLineEdit>
#include <QPainter>

#include "app/shelltree/shell_tree.h"
#include "setup/ui/image_button.h"
#include "setup/ui/setup_art.h"
#include "setup/ui/setup_commands.h"

namespace {

constexpr QChar kSeparator = QLatin1Char('/');

}  // namespace

CFolderDialog::CFolderDialog(const QString& folder, const QString& productName, QWidget* parent)
    : QDialog(parent), m_productName(productName)
{
    setWindowTitle(QStringLiteral("Ruta de instalación"));
    setWindowIcon(SetupArt::InstallerIcon());
    resize(360, 420);

    m_edit = new QLineEdit(folder, this);
    m_edit->setFont(SetupArt::Arial(14));
    m_edit->setAccessibleName(QStringLiteral("Carpeta de instalación"));
    m_tree = new CShellTree(this);
    m_tree->setAccessibleName(QStringLiteral("Unidades y carpetas"));
    m_ok = new CImageButton(SetupCommand::kNext, QStringLiteral("Aceptar"), this);
    m_cancel = new CImageButton(SetupCommand::kCancel, QStringLiteral("Cancelar"), this);
    connect(m_ok, &CImageButton::command, this, &QDialog::accept);
    connect(m_cancel, &CImageButton::command, this, &QDialog::reject);
    // Enter in the edit box takes the folder, as OK does; Escape cancels.
    connect(m_edit, &QLineEdit::returnPressed, this, &QDialog::accept);

    OpenParentOf(folder);
    // Opening the tree moves its selection; the folder shown stays the one given until
    // the clerk picks another.
    m_edit->setText(folder);
    connect(m_tree, &CShellTree::pathSelected, this, &CFolderDialog::OnPathSelected);
    m_edit->setFocus();
}

QString CFolderDialog::Folder() const
{
    return m_edit->text().trimmed();
}

void CFolderDialog::resizeEvent(QResizeEvent*)
{
    m_edit->setGeometry(20, 15, width() - 40, 26);
    m_tree->setGeometry(20, 50, width() - 40, height() - 50 - 45);
    m_ok->move(20, height() - 30);
    m_cancel->move(width() - 106, height() - 30);
}

void CFolderDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), SetupArt::PageGrey());
}

QTreeWidgetItem* CFolderDialog::OpenParentOf(const QString& folder)
{
    const int last = folder.lastIndexOf(kSeparator);
    if (last < 0)
        return nullptr;
    // The parent keeps its own separator when it is a root ("/" for "/ordexa").
    const QString parent = folder.left(last + 1);
    QTreeWidgetItem* drives = m_tree->DrivesItem();
    drives->setExpanded(true);

    // Names are compared exactly: on this system "Datos" and "datos" are two folders.
    const QStringList parts = parent.split(kSeparator);
    QTreeWidgetItem* item = nullptr;
    const QString root = parts.front() + kSeparator;
    const QStringList& roots = m_tree->DriveRoots();
    for (int i = 0; i < roots.size() && i < drives->childCount(); ++i)
        if (roots[i] == root) {
            item = drives->child(i);
            break;
        }
    if (!item)
        return nullptr;
    for (int p = 1; p < parts.size(); ++p) {
        if (parts[p].isEmpty())
            continue;
        item->setExpanded(true);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (item->child(i)->text(0) == parts[p])
                next = item->child(i);
        if (!next)
            break;
        item = next;
    }
    m_tree->setCurrentItem(item);
    m_tree->scrollToItem(item);
    return item;
}

void CFolderDialog::OnPathSelected(const QString& path)
{
    if (path.isEmpty()) {
        m_edit->clear();
        return;
    }
    // A format file shown in the tree stands for the folder that holds it.
    QString folder = path;
    if (!folder.endsWith(kSeparator))
        folder = folder.left(folder.lastIndexOf(kSeparator) + 1);
    m_edit->setText(folder + m_productName);
}
