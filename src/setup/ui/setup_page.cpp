#include "setup/ui/setup_page.h"

#include <QPainter>
#include <QScrollBar>
#include <QTextOption>

#include "setup/ui/image_button.h"
#include "setup/ui/progress_bar.h"
#include "setup/ui/setup_art.h"
#include "setup/ui/setup_commands.h"

namespace {

constexpr int kTextMargin = 20;

// Package texts keep the CR LF line ends they were written with.
QString WithNewlines(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

CSetupPage::CSetupPage(QWidget* parent) : QWidget(parent)
{
    setFixedHeight(kHeight);
}

void CSetupPage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), SetupArt::PageGrey());
    painter.setPen(Qt::white);
    painter.drawLine(0, height() - 2, width() - 1, height() - 2);
    painter.setPen(Qt::black);
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    painter.setFont(SetupArt::Arial(14));
    PaintContents(painter);
}

void CSetupPage::DrawWrapped(QPainter& painter, int y, const QString& text) const
{
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.drawText(QRectF(kTextMargin, y, width() - 2 * kTextMargin, height() - 2 - y), text, option);
}

void CSetupPage::DrawAt(QPainter& painter, int x, int y, const QString& text)
{
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), text);
}

// ---- Welcome ----

CWelcomePage::CWelcomePage(const QString& productName, const QString& description, QWidget* parent)
    : CSetupPage(parent), m_productName(productName), m_description(WithNewlines(description))
{
}

QString CWelcomePage::Guide() const
{
    return QStringLiteral("Este programa de instalación lo guiará a través de los pasos requeridos para instalar %1 "
                          "en su computadora")
        .arg(m_productName);
}

void CWelcomePage::PaintContents(QPainter& painter)
{
    painter.setPen(Qt::black);
    // The description ends where the guide begins, however long it is.
    painter.save();
    painter.setClipRect(QRect(0, 0, width(), 178));
    DrawWrapped(painter, 14, m_description);
    painter.restore();
    DrawWrapped(painter, 180, Guide());
    DrawAt(painter, 20, 230, PressNext());
}

// ---- Licence ----

CLicensePage::CLicensePage(const QString& licenceText, QWidget* parent) : CSetupPage(parent)
{
    m_text = new QPlainTextEdit(this);
    m_text->setReadOnly(true);
    m_text->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setFont(SetupArt::Arial(14));
    m_text->setPlainText(WithNewlines(licenceText));
    m_text->setAccessibleName(Heading());
}

void CLicensePage::resizeEvent(QResizeEvent*)
{
    m_text->setGeometry(kTextMargin, 30, width() - 2 * kTextMargin, height() - 60);
}

void CLicensePage::PaintContents(QPainter& painter)
{
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 8, width(), 20), Qt::AlignHCenter | Qt::AlignTop, Heading());
    DrawAt(painter, kTextMargin, height() - 26, IfYouAgree());
}

// ---- Destination folder ----

CFolderPage::CFolderPage(const QString& productName, const QString& folder, QWidget* parent)
    : CSetupPage(parent), m_productName(productName), m_folder(folder)
{
    m_browse = new CImageButton(SetupCommand::kBrowse, QStringLiteral("Explorar"), this);
    m_browse->move(410, 80);
    connect(m_browse, &CImageButton::command, this, &CFolderPage::command);
}

QString CFolderPage::Intro() const
{
    return QStringLiteral("El programa de instalación instalará %1 en la siguiente carpeta").arg(m_productName);
}

void CFolderPage::SetFolder(const QString& folder)
{
    m_folder = folder;
    update();
}

void CFolderPage::PaintContents(QPainter& painter)
{
    painter.setPen(Qt::black);
    DrawWrapped(painter, 14, Intro());
    DrawWrapped(painter, 40, HowTo());
    DrawAt(painter, 50, 85, QStringLiteral("Carpeta"));
    const QRect box(QPoint(100, 80), QPoint(399, 104));
    SetupArt::PaintSunkenBox(painter, box);
    painter.setPen(Qt::black);
    // A long path keeps its start and its end, which say the most about where it is.
    const int room = box.right() - 110 - 3;
    DrawAt(painter, 110, 85, painter.fontMetrics().elidedText(m_folder, Qt::ElideMiddle, room));
}

// ---- Installation ----

CProgressPage::CProgressPage(const QString& folder, QWidget* parent)
    : CSetupPage(parent), m_folder(folder), m_status(Installing())
{
}

void CProgressPage::SetStatusText(const QString& text)
{
    m_status = text;
    repaint();
}

void CProgressPage::ShowFinished(const QString& notes)
{
    m_notes = notes;
    setAccessibleDescription(notes);
    SetStatusText(Finished());
}

void CProgressPage::ShowFailure(const QString& text)
{
    m_failed = true;
    if (m_bar)
        m_bar->hide();
    SetStatusText(text);
}

void CProgressPage::PaintContents(QPainter& painter)
{
    if (!m_bar) {
        m_bar = new CProgressBar(this);
        m_bar->setGeometry(40, 120, width() - 80, 20);
        m_bar->SetRange(0, 100);
        m_bar->SetStep(1);
        m_bar->show();
        QMetaObject::invokeMethod(this, &CProgressPage::startInstall, Qt::QueuedConnection);
    }
    painter.setPen(m_failed ? QColor(160, 0, 0) : Qt::black);
    if (m_failed) {
        // A long reason starts higher, where the bar's status line was.
        DrawWrapped(painter, 20, m_status);
        return;
    }
    DrawAt(painter, 20, 80, m_status);
    if (!m_notes.isEmpty())
        DrawWrapped(painter, 150, m_notes);
}
