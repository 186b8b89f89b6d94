#pragma once
// The strip along the top of the installer's window, which has no system caption: the
// painted skin, the caption, the close and minimize buttons; pressing on it and dragging
// moves the whole window.
#include <QPoint>
#include <QWidget>

class CImageButton;

class CTitleStrip : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 20;

    explicit CTitleStrip(QWidget* parent);

    void SetCaption(const QString& caption);
    QString Caption() const { return m_caption; }
    CImageButton* CloseButton() const { return m_close; }
    CImageButton* MinimizeButton() const { return m_minimize; }

signals:
    // A strip button was clicked (its command identifier).
    void command(int commandId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_caption;
    CImageButton* m_close;
    CImageButton* m_minimize;
    // Where the press was, relative to the window's corner, while a drag is under way.
    QPoint m_grab;
    bool m_dragging = false;
};
