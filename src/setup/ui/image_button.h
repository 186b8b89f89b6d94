#pragma once
// A push button whose face is one of the installer's painted pictures (a caption button
// or a title strip glyph), carrying the command identifier it sends when clicked.
#include <QAbstractButton>
#include <optional>

#include "setup/ui/setup_art.h"

class CImageButton : public QAbstractButton {
    Q_OBJECT
public:
    // A caption button ("Siguiente", "Cancelar", ...) of the wizard's usual size.
    CImageButton(int commandId, const QString& caption, QWidget* parent);
    // One of the title strip's small buttons.
    CImageButton(int commandId, SetupArt::Glyph glyph, const QSize& size, QWidget* parent);

    int CommandId() const { return m_commandId; }
    QSize sizeHint() const override;

    // The size of a caption button.
    static QSize CaptionSize() { return QSize(80, 25); }

signals:
    void command(int commandId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    SetupArt::FaceState State() const;

    int m_commandId;
    std::optional<SetupArt::Glyph> m_glyph;
    QSize m_size;
    bool m_hover = false;
};
