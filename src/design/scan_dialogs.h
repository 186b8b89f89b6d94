#pragma once
// The small dialogs of the scanned form under the design: choosing the scan file, giving
// the resolution of a picture that carries none, and how pale the scan is drawn.
#include <QDialog>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class QSlider;
class QSpinBox;

// The open dialog for a scan: PNG, JPEG or PDF. Empty when the clerk cancels.
QString AskScanFile(QWidget* parent);

// "Resolución del escaneo (puntos por pulgada):" for the picture `path` of `pixels`,
// 150 offered. Nothing when the clerk cancels.
std::optional<double> AskScanResolution(QWidget* parent, const QString& path, QSize pixels);

// "Atenuar fondo": a slider and a box from 0 % (as scanned) to 100 % (white). Each move
// is shown at once through `preview`.
class CScanFadeDialog : public QDialog {
    Q_OBJECT
public:
    CScanFadeDialog(int fadePercent, std::function<void(int)> preview, QWidget* parent = nullptr);
    int FadePercent() const;
    QSlider* Slider() const { return m_slider; }

private:
    QSlider* m_slider = nullptr;
    QSpinBox* m_box = nullptr;
    std::function<void(int)> m_preview;
};

// Runs the fade dialog; the chosen fade, or nothing when the clerk cancels.
std::optional<int> AskScanFade(QWidget* parent, int fadePercent, const std::function<void(int)>& preview);
