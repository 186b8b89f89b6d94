#pragma once
// A flat button showing its icon beside its caption, as on the access bar. Its
// background is the button face, lightened while the pointer is over it or it is
// pressed.
#include <QColor>
#include <QPushButton>

// The face lightened by 0x1E in each channel. Each channel stops at 0xFF: adding the
// three channels as one integer would carry an overflowing channel into its neighbour
// and turn a light face almost black.
QColor HoverColour(const QColor& face);

class CFlatIconButton : public QPushButton {
    Q_OBJECT
public:
    CFlatIconButton(const QIcon& icon, const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The colour the background has now (the face, or the hover colour).
    QColor BackgroundColour() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    static constexpr int kIconPx = 24;
    static constexpr int kMarginPx = 6;
    bool m_hover = false;
};
