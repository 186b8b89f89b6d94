#pragma once
// The installation's progress: a white sunken box with a blue bar that grows one step
// per installed file. It is what the installation advances, so each step repaints at
// once, without waiting for the event loop.
#include <QWidget>

#include "setup/install_files.h"

class CProgressBar : public QWidget, public InstallProgress {
    Q_OBJECT
public:
    explicit CProgressBar(QWidget* parent);

    void SetRange(int minimum, int maximum);
    void SetStep(int step) { m_step = step; }
    void SetPosition(int position);
    int Minimum() const { return m_minimum; }
    int Maximum() const { return m_maximum; }
    int Position() const { return m_position; }
    // The width of the blue bar, in pixels, for the position as it stands.
    int FilledWidth() const;

    // InstallProgress
    void SetMaximum(int maximum) override;
    void Step() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_minimum = 0;
    int m_maximum = 100;
    int m_position = 0;
    int m_step = 1;
};
