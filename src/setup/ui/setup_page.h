#pragma once
// The wizard's pages. Exactly one lives inside the panel at a time; each copies the
// strings it shows when it is made, and the window replaces it by the next on
// "Siguiente". All are painted on the pages' grey in Arial 14 px, with a two-pixel line
// (white above black) along their bottom edge.
#include <QPlainTextEdit>
#include <QWidget>

class CImageButton;
class CProgressBar;

class CSetupPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 250;
    explicit CSetupPage(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Draws the page's own texts over the grey.
    virtual void PaintContents(QPainter& painter) = 0;
    // `text` word-wrapped from `y` in the page's width narrowed by 20 pixels each side; a
    // word longer than the line (a long folder path) is broken where the line ends.
    void DrawWrapped(QPainter& painter, int y, const QString& text) const;
    // `text` with its top-left corner at (x, y), on one line.
    static void DrawAt(QPainter& painter, int x, int y, const QString& text);
};

class CWelcomePage : public CSetupPage {
    Q_OBJECT
public:
    CWelcomePage(const QString& productName, const QString& description, QWidget* parent);
    QString Guide() const;
    static QString PressNext() { return QStringLiteral("Presione 'Siguiente' para continuar"); }

protected:
    void PaintContents(QPainter& painter) override;

private:
    QString m_productName;
    QString m_description;
};

class CLicensePage : public CSetupPage {
    Q_OBJECT
public:
    CLicensePage(const QString& licenceText, QWidget* parent);
    static QString Heading() { return QStringLiteral("ACUERDO DE LICENCIA DE SOFTWARE"); }
    static QString IfYouAgree() { return QStringLiteral("Si está de acuerdo presione 'Siguiente' para continuar"); }
    QPlainTextEdit* TextBox() const { return m_text; }

protected:
    void PaintContents(QPainter& painter) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPlainTextEdit* m_text;
};

class CFolderPage : public CSetupPage {
    Q_OBJECT
public:
    CFolderPage(const QString& productName, const QString& folder, QWidget* parent);
    QString Folder() const { return m_folder; }
    void SetFolder(const QString& folder);
    CImageButton* BrowseButton() const { return m_browse; }
    QString Intro() const;
    static QString HowTo()
    {
        return QStringLiteral("Para instalar en esta carpeta presione 'Siguiente'. Para instalar en una carpeta "
                              "diferente presione 'Explorar'");
    }

signals:
    // "Explorar" was clicked.
    void command(int commandId);

protected:
    void PaintContents(QPainter& painter) override;

private:
    QString m_productName;
    QString m_folder;
    CImageButton* m_browse;
};

class CProgressPage : public CSetupPage {
    Q_OBJECT
public:
    CProgressPage(const QString& folder, QWidget* parent);
    static QString Installing() { return QStringLiteral("Instalando componentes....."); }
    static QString Finished() { return QStringLiteral("Instalación terminada. Presione 'Finalizar' para salir"); }

    QString Folder() const { return m_folder; }
    QString StatusText() const { return m_status; }
    // Shows `text` at once (installation runs without returning to the event loop).
    void SetStatusText(const QString& text);
    // Installation ended: the status says so, and `notes` (when any) go below the bar.
    void ShowFinished(const QString& notes);
    QString Notes() const { return m_notes; }
    // Installation failed: the reason is shown in the room the bar had.
    void ShowFailure(const QString& text);
    CProgressBar* ProgressBar() const { return m_bar; }

signals:
    // Posted after the first paint: the bar exists and the installation may begin.
    void startInstall();

protected:
    void PaintContents(QPainter& painter) override;

private:
    QString m_folder;
    QString m_status;
    QString m_notes;
    bool m_failed = false;
    CProgressBar* m_bar = nullptr;
};
