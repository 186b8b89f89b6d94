#include "design/font_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFontInfo>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <cmath>
#include <cstdlib>

namespace {

constexpr double kMillimetresPerPoint = 0.3528;

QString PointsText(double points)
{
    // Whole sizes without a decimal, the rest with one, always with a decimal point.
    const double rounded = std::round(points * 10) / 10;
    return rounded == std::floor(rounded) ? QString::number(int(rounded)) : QString::number(rounded, 'f', 1);
}

}  // namespace

double UnitsToPoints(int heightUnits)
{
    return std::abs(heightUnits) / (10 * kMillimetresPerPoint);
}

int PointsToUnits(double points)
{
    return int(std::lround(points * 10 * kMillimetresPerPoint));
}

std::optional<LogFont> AskFontInPoints(QWidget* parent, const LogFont& record)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Fuente"));

    // The list shows the installed family a face resolves to ("Arial" is drawn with its
    // metric twin); a family left as it is keeps the face the record names.
    const QString resolved = QFontInfo(QFont(QString::fromStdString(record.face))).family();
    auto* family = new QFontComboBox(&dialog);
    family->setFontFilters(QFontComboBox::ScalableFonts);
    family->setCurrentFont(QFont(resolved));

    auto* style = new QListWidget(&dialog);
    const bool bold = record.weight >= 600;
    const bool italic = record.italic != 0;
    for (const FontStyleChoice& choice : kFontStyles) {
        style->addItem(QString::fromUtf8(choice.name));
        if (choice.bold == bold && choice.italic == italic)
            style->setCurrentRow(style->count() - 1);
    }
    style->setMaximumHeight(style->sizeHintForRow(0) * 4 + 2 * style->frameWidth() + 4);

    auto* size = new QComboBox(&dialog);
    size->setEditable(true);
    for (int points : {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 28, 36, 48, 72})
        size->addItem(QString::number(points));
    const QString startSize = PointsText(UnitsToPoints(record.height == 0 ? 40 : record.height));
    size->setEditText(startSize);
    size->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{1,3}([.,]\\d)?")), size));

    auto* sample = new QLabel(QStringLiteral("AaBbCcÑñ 0123"), &dialog);
    sample->setAlignment(Qt::AlignCenter);
    sample->setMinimumSize(260, 70);
    sample->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    const auto showSample = [&] {
        QFont font = family->currentFont();
        const FontStyleChoice& choice = kFontStyles[std::max(0, style->currentRow())];
        font.setWeight(choice.bold ? QFont::Bold : QFont::Normal);
        font.setItalic(choice.italic);
        font.setPointSizeF(std::clamp(size->currentText().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(), 4.0, 72.0));
        sample->setFont(font);
    };
    QObject::connect(family, &QFontComboBox::currentFontChanged, &dialog, showSample);
    QObject::connect(style, &QListWidget::currentRowChanged, &dialog, showSample);
    QObject::connect(size, &QComboBox::currentTextChanged, &dialog, showSample);
    showSample();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Aceptar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Fuente:"), family);
    form->addRow(QStringLiteral("&Estilo:"), style);
    form->addRow(QStringLiteral("&Tamaño (puntos):"), size);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(sample);
    layout->addWidget(buttons);

    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    LogFont result = record;
    if (family->currentFont().family() != resolved)
        result.face = family->currentFont().family().toStdString();
    const FontStyleChoice& choice = kFontStyles[std::max(0, style->currentRow())];
    // The weight the record had stays when its boldness was not changed (a face's own
    // semi-bold is no plain bold).
    if (choice.bold != bold)
        result.weight = choice.bold ? LogFont::kBoldWeight : LogFont::kNormalWeight;
    result.italic = choice.italic ? 1 : 0;
    const QString typed = size->currentText().replace(QLatin1Char(','), QLatin1Char('.'));
    if (typed != startSize) {
        const int units = std::max(1, PointsToUnits(typed.toDouble()));
        result.height = record.height < 0 ? -units : units;
    }
    return result;
}
