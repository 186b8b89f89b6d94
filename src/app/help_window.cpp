#include "app/help_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>


namespace {
const QString kContentsFile = QStringLiteral("index.html");
}

CHelpWindow::CHelpWindow(QWidget* parent) : QMainWindow(parent), m_browser(new QTextBrowser(this))
{
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Ayuda de Ordexa"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/ordexa.png")));
    setCentralWidget(m_browser);
    // Links outside the help (a web page) open in the desktop's browser.
    m_browser->setOpenExternalLinks(true);

    QToolBar* bar = addToolBar(QStringLiteral("Navegación"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* contents = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Contenido"));
    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Atrás"));
    QAction* forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Adelante"));
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(contents, &QAction::triggered, this, &CHelpWindow::ShowContents);
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Ayuda de Ordexa") : QStringLiteral("Ayuda de Ordexa - %1").arg(title));
    });
    resize(760, 620);
}

QStringList CHelpWindow::HelpFolders()
{
    const QDir program(QCoreApplication::applicationDirPath());
    // Beside the program in the build tree, under the prefix after `cmake --install`, and
    // in the program's own folder where the installer puts every file side by side.
    return {program.filePath(QStringLiteral("help")), program.filePath(QStringLiteral("../share/ordexa/help")),
            program.path()};
}

QString CHelpWindow::ContentsPage()
{
    for (const QString& folder : HelpFolders()) {
        const QFileInfo page(QDir(folder).filePath(kContentsFile));
        if (page.isFile())
            return page.canonicalFilePath();
    }
    return {};
}

QString CHelpWindow::Page(const QString& fileName)
{
    const QString contents = ContentsPage();
    if (contents.isEmpty())
        return {};
    const QFileInfo page(QFileInfo(contents).dir().filePath(fileName));
    return page.isFile() ? page.canonicalFilePath() : QString();
}

bool CHelpWindow::ShowContents()
{
    return ShowPage(kContentsFile);
}

bool CHelpWindow::ShowPage(const QString& fileName)
{
    QString page = Page(fileName);
    if (page.isEmpty())
        page = ContentsPage();
    if (page.isEmpty())
        return false;
    m_browser->setSource(QUrl::fromLocalFile(page));
    return true;
}
