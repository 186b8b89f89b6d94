#pragma once
// "Hoja de calibración": the clerk prints the calibration sheet (with the current print
// offsets), measures where its two crosses landed, types the four measures and saves the
// corrected offsets ("FacX", "FacY", as the margins dialog stores them). The dialog also
// prints the format's field outlines on plain paper, to hold over the real form against
// the light.
#include <QDialog>
#include <array>
#include <functional>

#include "capture/calibration.h"

class FrameHost;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

class CCalibrationDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Hoja de calibración";
    static constexpr const char* kMissingMeasure =
        "Escriba la medida %s de la cruz %d en milímetros, por ejemplo 30,5.";

    // `elements` (the capture screen's, for the field outlines) and `host` (settings,
    // prompts, the application's printer) are lent for the dialog's life.
    CCalibrationDlg(FrameHost& host, const ElementList& elements, QWidget* parent = nullptr);

    // The measure edits: cross 0 or 1, x (false) or y (true).
    QLineEdit* MeasureEdit(int cross, bool y) const { return m_edits[size_t(cross * 2 + (y ? 1 : 0))]; }
    QPushButton* PrintSheetButton() const { return m_printSheet; }
    QPushButton* PrintOutlinesButton() const { return m_printOutlines; }
    QPushButton* SaveButton() const { return m_save; }
    QLabel* CurrentLabel() const { return m_currentLabel; }
    QLabel* ResultLabel() const { return m_resultLabel; }
    // The offsets the sheet is printed with and the measures are read against.
    PrintOffsets Current() const { return m_current; }

    // "Imprimir hoja de calibración" and "Imprimir contornos del formato": the print
    // dialog on the application's printer, then the sheet. True when it printed.
    bool PrintCalibrationSheet();
    bool PrintFieldOutlines();
    // "Guardar": checks the measures, stores the corrected offsets and closes. False
    // (with the message shown) when a measure is missing or refused.
    bool Save();

protected:
    // The print dialog before a sheet, replaceable where no one can answer it. False when
    // cancelled.
    virtual bool AskPrinter(QPrinter& printer, const QString& title);

private:
    bool PrintSheet(const QString& title, const std::function<void(Dc&, int, int)>& paint);
    // Reads the four edits; on a missing one gives false with the message and the edit.
    bool ReadMeasures(std::array<CrossMeasure, 2>& measures, QString& message, QLineEdit*& wrong) const;
    void UpdateResult();
    void ShowCurrent();

    FrameHost& m_host;
    const ElementList& m_elements;
    PrintOffsets m_current;
    std::array<QLineEdit*, 4> m_edits{};
    QLabel* m_currentLabel = nullptr;
    QLabel* m_resultLabel = nullptr;
    QPushButton* m_printSheet = nullptr;
    QPushButton* m_printOutlines = nullptr;
    QPushButton* m_save = nullptr;
};
