#include "capture/ui/margenes_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>
#include <cmath>

#include "base/prompts.h"

CMargenesDlg::CMargenesDlg(PrintOffsets current, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_prompts(prompts), m_offsets(current)
{
    setWindowTitle(QStringLiteral("Configuración de márgenes"));
    auto* frame = new QGroupBox(this);
    auto* grid = new QGridLayout(frame);
    m_horizontal = new QLineEdit(CentimetresText(current.facX), frame);
    m_vertical = new QLineEdit(CentimetresText(current.facY), frame);
    const struct {
        const char* label;
        QLineEdit* edit;
        const char* name;
    } rows[] = {{"Desfase &horizontal:", m_horizontal, "Desfase horizontal"},
                {"Desfase &vertical:", m_vertical, "Desfase vertical"}};
    int row = 0;
    for (const auto& r : rows) {
        auto* label = new QLabel(QString::fromUtf8(r.label), frame);
        label->setBuddy(r.edit);
        r.edit->setAccessibleName(QString::fromUtf8(r.name));
        r.edit->setAlignment(Qt::AlignRight);
        r.edit->setMaximumWidth(90);
        grid->addWidget(label, row, 0);
        grid->addWidget(r.edit, row, 1);
        grid->addWidget(new QLabel(QStringLiteral("cm."), frame), row, 2);
        ++row;
    }
    m_permanent = new QCheckBox(QStringLiteral("&Aplicar permanentemente al formato"), frame);
    grid->addWidget(m_permanent, row, 0, 1, 3);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CMargenesDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CMargenesDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(buttons);
    m_horizontal->setFocus();
    m_horizontal->selectAll();
}

bool CMargenesDlg::ApplyToFormat() const
{
    return m_permanent->isChecked();
}

bool CMargenesDlg::ParseCentimetres(const QString& text, double& centimetres)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    if (t.isEmpty())
        return false;
    bool ok = false;
    // The C locale: a point and nothing else as the decimal separator, no grouping.
    const double value = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(value))
        return false;
    centimetres = value;
    return true;
}

QString CMargenesDlg::CentimetresText(int units)
{
    return QString::number(units * 0.01, 'g', 15);
}

bool CMargenesDlg::ReadEdit(QLineEdit* edit, int& units)
{
    double cm = 0;
    const char* problem = nullptr;
    if (!ParseCentimetres(edit->text(), cm))
        problem = kNotANumber;
    else if (std::fabs(cm) > kLimitCm)
        problem = kOutOfRange;
    if (problem) {
        m_prompts.Message(problem, PromptIcon::Warning);
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    units = OffsetUnitsFromCentimetres(cm);
    return true;
}

void CMargenesDlg::accept()
{
    PrintOffsets typed;
    if (!ReadEdit(m_horizontal, typed.facX) || !ReadEdit(m_vertical, typed.facY))
        return;
    m_offsets = typed;
    QDialog::accept();
}
