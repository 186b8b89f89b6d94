#pragma once
// The margins dialog ("Configuración de márgenes"): the two print offsets in centimetres
// and the choice of moving them into the format for good.
#include <QDialog>

#include "capture/print_job.h"

class Prompts;
class QCheckBox;
class QLineEdit;

class CMargenesDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kNotANumber = "Introduzca un número.";
    static constexpr const char* kOutOfRange = "Introduzca un número entre -100 y 100 (centímetros).";
    // Control ids of the dialog's edits and check box.
    static constexpr int kIdHorizontal = 1188;
    static constexpr int kIdVertical = 1189;
    static constexpr int kIdPermanent = 1037;
    // The largest offset accepted, in centimetres either way: more than any sheet.
    static constexpr double kLimitCm = 100;

    // `current` fills the edits (0.1 mm shown as centimetres); messages go to `prompts`.
    CMargenesDlg(PrintOffsets current, Prompts& prompts, QWidget* parent = nullptr);

    // The offsets accepted, in 0.1 mm (each truncated toward zero), once OK was pressed.
    PrintOffsets Offsets() const { return m_offsets; }
    bool ApplyToFormat() const;

    QLineEdit* HorizontalEdit() const { return m_horizontal; }
    QLineEdit* VerticalEdit() const { return m_vertical; }
    QCheckBox* PermanentBox() const { return m_permanent; }

    // A typed offset: a decimal number with a point (a comma is taken as the point),
    // blanks around it allowed. False for anything else.
    static bool ParseCentimetres(const QString& text, double& centimetres);
    // 0.1 mm shown in centimetres: 28 gives "0.28", 100 gives "1", -50 gives "-0.5".
    static QString CentimetresText(int units);

    void accept() override;

private:
    // Reads one edit; on a bad entry shows the message, selects the edit and gives false.
    bool ReadEdit(QLineEdit* edit, int& units);

    Prompts& m_prompts;
    QLineEdit* m_horizontal;
    QLineEdit* m_vertical;
    QCheckBox* m_permanent;
    PrintOffsets m_offsets;
};
