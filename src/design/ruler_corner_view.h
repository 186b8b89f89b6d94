#pragma once
// CRulerCornerView: the 16 x 16 pixel pane where the two rulers of the design frame meet.
// It writes "CM" (the rulers' unit) over the menu-coloured background and holds nothing.
#include <QWidget>

class CRulerCornerView : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kUnitText = "CM";

    explicit CRulerCornerView(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
