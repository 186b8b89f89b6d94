#pragma once
// CPropertiesBar: the floating window captioned "Propiedades" that holds the design
// frame's properties panel. It can be moved and resized by its borders, never docks, and
// its close box (like the panel's "Cerrar") hides it; the panel and its values stay.
//
// The frame creates it on the first "&Propiedades" and calls ShowFor on every
// "&Propiedades"; it marks the command while the bar isVisible() (visibilityChanged
// follows it). It refreshes Panel() with the selection whenever the selection changes
// and connects the panel's change signals to its undo history and repaint.
#include <QDockWidget>
#include <QPoint>

#include "design/properties_panel.h"

class QMainWindow;

class CPropertiesBar : public QDockWidget {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Propiedades";
    // Screen position of the bar's top-left corner when it is first shown.
    static constexpr int kInitialX = 100;
    static constexpr int kInitialY = 50;
    // Identifier of the panel and of its bar.
    static constexpr int kBarId = 134;

    // Builds the bar, hidden, with its panel inside; `format` and `prompts` are lent by
    // the frame, which also parents the bar.
    CPropertiesBar(Format& format, Prompts& prompts, QMainWindow* frame);

    CPropertiesPanel* Panel() const { return m_panel; }
    // Where the bar's top-left corner goes when it is first shown (screen coordinates);
    // (100, 50) unless the frame says otherwise.
    void SetFirstPlace(QPoint place) { m_firstPlace = place; }
    // The "&Propiedades" command: shows the bar (at (100, 50) the first time) describing
    // `selection` (nullptr: the format's title). It never hides the bar.
    void ShowFor(CControles* selection);

private:
    CPropertiesPanel* m_panel = nullptr;
    bool m_placed = false;
    QPoint m_firstPlace{kInitialX, kInitialY};
};
