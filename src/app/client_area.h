#pragma once
// The area behind the child windows: the workspace colour with the program's logo in
// its centre, drawn whole at every paint so a resize never leaves a trace.
#include <QMdiArea>
#include <QPixmap>

class CClientArea : public QMdiArea {
    Q_OBJECT
public:
    explicit CClientArea(QWidget* parent = nullptr);

    // The logo, drawn on the first paint (null before it).
    const QPixmap& Logo() const { return m_logo; }
    // Where the logo goes in an area of `size`: unscaled and centred (integer halves).
    static QPoint LogoOrigin(const QSize& area, const QSize& logo);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPixmap m_logo;
};
