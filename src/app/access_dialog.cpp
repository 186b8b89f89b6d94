#include "app/access_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/flat_icon_button.h"
#include "app/recent_formats.h"
#include "app/shelltree/shell_tree.h"
#include "model/format_file.h"
#include "platform/format_render.h"

namespace {

const QString kDeletedFile = QStringLiteral("-- Archivo eliminado --");
constexpr QSize kPictureArea(210, 150);
constexpr double kScreenDpi = 96.0;

QString ObjectName(int id)
{
    return QString::number(id);
}

CFlatIconButton* MakeButton(const char* icon, const QString& text, int id, QWidget* parent)
{
    auto* button = new CFlatIconButton(QIcon(QString::fromLatin1(icon)), text, parent);
    button->setObjectName(ObjectName(id));
    button->setToolTip(text);
    return button;
}

QLabel* Caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

}  // namespace

CAccessDialog::CAccessDialog(SettingsStore& settings, QWidget* parent)
    : QWidget(parent),
      m_settings(settings),
      m_list(new QTreeWidget(this)),
      m_preview(new QPlainTextEdit(this)),
      m_pictureLabel(new QLabel(this)),
      m_tree(new CShellTree(this))
{
    setObjectName(QStringLiteral("160"));
    m_newButton = MakeButton(":/icons/new.png", QStringLiteral("Crear nuevo formato"), kNewFormatId, this);
    m_openDesign = MakeButton(":/icons/design.png", QStringLiteral("Abrir en diseño de formato"), kOpenDesignId, this);
    m_openScreenLayout =
        MakeButton(":/icons/screen.png", QStringLiteral("Abrir en diseño de pantalla"), kOpenScreenLayoutId, this);
    m_openCapture =
        MakeButton(":/icons/capture.png", QStringLiteral("Abrir en pantalla de captura"), kOpenCaptureId, this);

    // The recent list: one column, whole rows selected, the selection shown even when
    // the list has no focus. The column is twice the list's width so long paths can be
    // scrolled into view.
    m_list->setObjectName(ObjectName(kRecentListId));
    m_list->setColumnCount(1);
    m_list->setHeaderLabels({QStringLiteral("Ordexa")});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setStretchLastSection(false);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setFixedHeight(m_list->fontMetrics().height() * 6 + 16);

    m_preview->setObjectName(ObjectName(kPreviewId));
    m_preview->setReadOnly(true);
    m_preview->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_preview->setFixedHeight(m_preview->fontMetrics().height() * 3 + 10);
    m_pictureLabel->setAlignment(Qt::AlignCenter);
    m_pictureLabel->setFixedHeight(kPictureArea.height() + 4);
    m_pictureLabel->setFrameShape(QFrame::StyledPanel);
    m_pictureLabel->setBackgroundRole(QPalette::Base);
    m_pictureLabel->setAutoFillBackground(true);
    m_tree->setObjectName(ObjectName(kTreeId));
    // Screen readers name the three lists by the captions shown above them.
    m_list->setAccessibleName(QStringLiteral("Formatos usados recientemente"));
    m_preview->setAccessibleName(QStringLiteral("Vista previa"));
    m_tree->setAccessibleName(QStringLiteral("Abrir formato"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(m_newButton);
    layout->addSpacing(6);
    layout->addWidget(Caption(QStringLiteral("Formatos usados recientemente:"), this));
    layout->addWidget(m_list);
    layout->addWidget(Caption(QStringLiteral("Vista previa:"), this));
    layout->addWidget(m_preview);
    layout->addWidget(m_pictureLabel);
    layout->addWidget(Caption(QStringLiteral("Abrir formato:"), this));
    layout->addWidget(m_tree, 1);
    layout->addWidget(m_openDesign);
    layout->addWidget(m_openScreenLayout);
    layout->addWidget(m_openCapture);
    setMinimumWidth(240);

    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CAccessDialog::OnListChosen);
    connect(m_list, &QTreeWidget::itemClicked, this, &CAccessDialog::OnListChosen);
    connect(m_tree, &CShellTree::pathSelected, this, &CAccessDialog::OnTreeChosen);
    connect(m_tree, &QTreeWidget::itemClicked, this, [this] { OnTreeChosen(m_tree->SelectedPath()); });
    connect(m_newButton, &QPushButton::clicked, this, &CAccessDialog::newFormatRequested);
    connect(m_openDesign, &QPushButton::clicked, this, [this] { OnOpen(FrameMode::Design); });
    connect(m_openScreenLayout, &QPushButton::clicked, this, [this] { OnOpen(FrameMode::ScreenLayout); });
    connect(m_openCapture, &QPushButton::clicked, this, [this] { OnOpen(FrameMode::Capture); });

    FillRecentList();
}

CFlatIconButton* CAccessDialog::Button(int id) const
{
    switch (id) {
    case kNewFormatId:
        return m_newButton;
    case kOpenDesignId:
        return m_openDesign;
    case kOpenScreenLayoutId:
        return m_openScreenLayout;
    case kOpenCaptureId:
        return m_openCapture;
    default:
        return nullptr;
    }
}

QString CAccessDialog::PreviewText() const
{
    return m_preview->toPlainText();
}

void CAccessDialog::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_list->setColumnWidth(0, m_list->width() * 2);
}

void CAccessDialog::FillRecentList()
{
    // Refilling drops the selection; what was chosen in the list is chosen no more.
    const QSignalBlocker block(m_list);
    m_list->clear();
    for (const std::string& path : RecentFormats(m_settings)) {
        if (path.empty())
            continue;
        // The file's name first, where the narrow list shows it, then its folder; the
        // whole path in the tooltip and behind the item.
        const QString full = QString::fromStdString(path);
        const QFileInfo info(full);
        auto* item = new QTreeWidgetItem(
            m_list, QStringList{QStringLiteral("%1 — %2").arg(info.fileName(), QDir::toNativeSeparators(info.path()))});
        item->setData(0, kPathRole, full);
        item->setToolTip(0, QDir::toNativeSeparators(full));
    }
    if (m_source == Source::RecentList) {
        m_source = Source::None;
        ClearPreview();
    }
}

void CAccessDialog::ClearPreview()
{
    m_preview->clear();
    m_picture = QImage();
    m_pictureLabel->clear();
}

void CAccessDialog::OnListChosen()
{
    m_source = Source::None;
    ClearPreview();
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    const QString path = selected.first()->data(0, kPathRole).toString();
    if (!QFileInfo::exists(path)) {
        m_preview->setPlainText(kDeletedFile);
        return;
    }
    if (Preview(path))
        m_source = Source::RecentList;
}

void CAccessDialog::OnTreeChosen(const QString& path)
{
    m_source = Source::None;
    ClearPreview();
    if (path.right(4).toLower() != QStringLiteral(".fmt"))
        return;  // a drive, a folder or a placeholder
    if (Preview(path))
        m_source = Source::Tree;
}

bool CAccessDialog::Preview(const QString& path)
{
    Format format;
    std::string message;
    if (!LoadFormatFile(path.toStdString(), format, message)) {
        // A damaged or unreadable file: say so here rather than open an empty frame.
        m_preview->setPlainText(QString::fromStdString(message));
        return false;
    }
    m_preview->setPlainText(QString::fromStdString(format.title));

    // The format as the designer draws it, shrunk to the preview's size.
    const QSize natural = RenderSize(format, RenderMode::Design, kScreenDpi);
    if (natural.width() > 0 && natural.height() > 0) {
        const double scale = std::min({1.0, double(kPictureArea.width()) / natural.width(),
                                       double(kPictureArea.height()) / natural.height()});
        const double dpi = kScreenDpi * scale;
        const QSize size = RenderSize(format, RenderMode::Design, dpi).boundedTo(kPictureArea);
        if (!size.isEmpty()) {
            QImage picture(size, QImage::Format_RGB32);
            picture.fill(Qt::white);
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            RenderFormat(format, RenderMode::Design, dpi, painter);
            painter.end();
            m_picture = picture;
            m_pictureLabel->setPixmap(QPixmap::fromImage(picture));
        }
    }
    return true;
}

QString CAccessDialog::ChosenPath() const
{
    QString path;
    if (m_source == Source::RecentList) {
        const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
        if (!selected.isEmpty())
            path = selected.first()->data(0, kPathRole).toString();
    } else if (m_source == Source::Tree) {
        const QString treePath = m_tree->SelectedPath();
        if (treePath.right(4).toLower() == QStringLiteral(".fmt"))
            path = treePath;  // opened with the capitals it has
    }
    return path;
}

void CAccessDialog::ForgetChoice()
{
    m_source = Source::None;
    ClearPreview();
}

void CAccessDialog::OnOpen(FrameMode mode)
{
    emit openRequested(mode);
}
