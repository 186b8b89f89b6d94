#pragma once
// The installer's body below the title strip: the painted border around the header band,
// the page and the buttons, and the small windows that live directly inside it.
#include <QWidget>

class CSetupPanel : public QWidget {
    Q_OBJECT
public:
    explicit CSetupPanel(QWidget* parent);
    // The area inside the border.
    QRect ContentsRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The window that shows what extraction is doing ("Descomprimiendo....") and, when the
// installer's data cannot be read, why: centred blue text.
class CStatusWindow : public QWidget {
    Q_OBJECT
public:
    explicit CStatusWindow(QWidget* parent);
    void SetText(const QString& text);
    QString Text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};

// The white band at the top of the panel: the package's picture and the wizard's title.
class CHeaderBand : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 70;
    CHeaderBand(const QString& productName, const QString& picturePath, QWidget* parent);
    QString Title() const;
    // The picture as loaded on the first paint (null before, or when it cannot be read).
    const QImage& Picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_productName;
    QString m_picturePath;
    QImage m_picture;
    bool m_loaded = false;
};
