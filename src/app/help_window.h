#pragma once
// The program's help: Spanish HTML pages shipped beside the program, shown in a window
// of its own with the usual back, forward and contents buttons.
#include <QMainWindow>
#include <QStringList>

class QTextBrowser;

class CHelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* parent = nullptr);

    // The folders where the help is looked for, in order: "help" beside the program (the
    // build tree) and "../share/ordexa/help" beside it (an installed program).
    static QStringList HelpFolders();
    // The contents page of the first folder that has one; empty when none has.
    static QString ContentsPage();
    // A page ("captura.html") of the folder the contents page is in; empty when missing.
    static QString Page(const QString& fileName);

    // Shows the contents page; false when the help is not installed.
    bool ShowContents();
    // Shows a page of the help, or the contents page when that page is missing; false
    // when the help is not installed.
    bool ShowPage(const QString& fileName);
    QTextBrowser* Browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};
