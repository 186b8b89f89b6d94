#include "capture/ui/calibration_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "base/prompts.h"
#include "platform/format_printer.h"
#include "platform/frame_host.h"
#include "platform/print_dialog.h"

namespace {

QString Mm(double value)
{
    return QString::fromStdString(DecimalText(value));
}

// An offset as the margins dialog shows it (centimetres) with the stored value beside it.
QString OffsetText(PrintOffsets offsets)
{
    return QStringLiteral("horizontal %1 cm, vertical %2 cm (FacX %3, FacY %4)")
        .arg(QString::fromStdString(DecimalText(offsets.facX / 100.0)), QString::fromStdString(DecimalText(offsets.facY / 100.0)))
        .arg(offsets.facX)
        .arg(offsets.facY);
}

}  // namespace

CCalibrationDlg::CCalibrationDlg(FrameHost& host, const ElementList& elements, QWidget* parent)
    : QDialog(parent), m_host(host), m_elements(elements), m_current(ReadPrintOffsets(host.GetSettings()))
{
    setWindowTitle(QString::fromUtf8(kTitle));

    auto* printBox = new QGroupBox(QStringLiteral("1. Imprima la hoja"), this);
    auto* printLayout = new QVBoxLayout(printBox);
    auto* printText = new QLabel(
        QStringLiteral("La hoja se imprime en papel blanco con el desfase actual, así que lo que mida "
                       "es lo que todavía falta corregir."),
        printBox);
    printText->setWordWrap(true);
    m_printSheet = new QPushButton(QStringLiteral("&Imprimir hoja de calibración"), printBox);
    printLayout->addWidget(printText);
    printLayout->addWidget(m_printSheet, 0, Qt::AlignLeft);

    auto* measureBox = new QGroupBox(QStringLiteral("2. Escriba dónde quedó el centro de cada cruz"), this);
    // The explanation sits above the grid, not in a cell spanning its columns: a wrapped
    // label in a spanning cell is given the height of fewer lines than it wraps to, and
    // its last line is cut.
    auto* measureLayout = new QVBoxLayout(measureBox);
    auto* grid = new QGridLayout;
    auto* measureText = new QLabel(
        QStringLiteral("En milímetros, medidos con una regla desde el borde izquierdo (x) y desde el "
                       "borde superior (y) de la hoja; se acepta punto o coma decimal."),
        measureBox);
    measureText->setWordWrap(true);
    measureLayout->addWidget(measureText);
    measureLayout->addLayout(grid);
    grid->addWidget(new QLabel(QStringLiteral("x (mm)"), measureBox), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("y (mm)"), measureBox), 1, 3);
    for (int cross = 0; cross < 2; ++cross) {
        const SheetMark& mark = kCalibrationCrosses[size_t(cross)];
        auto* label = new QLabel(QStringLiteral("Cruz &%1 (debe quedar en %2 mm, %3 mm):")
                                     .arg(cross + 1)
                                     .arg(Mm(mark.xUnits / 10.0), Mm(mark.yUnits / 10.0)),
                                 measureBox);
        grid->addWidget(label, cross + 2, 0);
        for (int axis = 0; axis < 2; ++axis) {
            auto* edit = new QLineEdit(measureBox);
            edit->setAlignment(Qt::AlignRight);
            edit->setMaximumWidth(90);
            edit->setAccessibleName(QStringLiteral("Cruz %1, %2").arg(cross + 1).arg(axis ? QStringLiteral("y")
                                                                                        : QStringLiteral("x")));
            grid->addWidget(edit, cross + 2, 1 + axis * 2);
            grid->addWidget(new QLabel(QStringLiteral("mm"), measureBox), cross + 2, 2 + axis * 2);
            m_edits[size_t(cross * 2 + axis)] = edit;
            connect(edit, &QLineEdit::textChanged, this, &CCalibrationDlg::UpdateResult);
        }
        label->setBuddy(m_edits[size_t(cross * 2)]);
    }

    auto* resultBox = new QGroupBox(QStringLiteral("3. Desfase"), this);
    auto* resultLayout = new QVBoxLayout(resultBox);
    m_currentLabel = new QLabel(resultBox);
    m_currentLabel->setWordWrap(true);
    m_resultLabel = new QLabel(resultBox);
    m_resultLabel->setWordWrap(true);
    m_resultLabel->setMinimumHeight(m_resultLabel->fontMetrics().lineSpacing() * 3);
    m_resultLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    resultLayout->addWidget(m_currentLabel);
    resultLayout->addWidget(m_resultLabel);

    auto* outlinesBox = new QGroupBox(QStringLiteral("Comprobar el formato"), this);
    auto* outlinesLayout = new QVBoxLayout(outlinesBox);
    auto* outlinesText = new QLabel(
        QStringLiteral("Imprime en papel blanco el contorno de cada campo con su valor o su nombre, con el "
                       "desfase actual; póngala sobre el formato impreso a contraluz para ver si coinciden."),
        outlinesBox);
    outlinesText->setWordWrap(true);
    m_printOutlines = new QPushButton(QStringLiteral("Imprimir &contornos del formato"), outlinesBox);
    outlinesLayout->addWidget(outlinesText);
    outlinesLayout->addWidget(m_printOutlines, 0, Qt::AlignLeft);

    auto* buttons = new QDialogButtonBox(this);
    m_save = buttons->addButton(QStringLiteral("&Guardar"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cerrar"), QDialogButtonBox::RejectRole);
    m_save->setDefault(true);
    connect(m_save, &QPushButton::clicked, this, &CCalibrationDlg::Save);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCalibrationDlg::reject);
    connect(m_printSheet, &QPushButton::clicked, this, &CCalibrationDlg::PrintCalibrationSheet);
    connect(m_printOutlines, &QPushButton::clicked, this, &CCalibrationDlg::PrintFieldOutlines);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(printBox);
    layout->addWidget(measureBox);
    layout->addWidget(resultBox);
    layout->addWidget(outlinesBox);
    layout->addWidget(buttons);
    setMinimumWidth(520);
    ShowCurrent();
    UpdateResult();
    m_edits[0]->setFocus();
}

void CCalibrationDlg::ShowCurrent()
{
    m_currentLabel->setText(QStringLiteral("Desfase actual: ") + OffsetText(m_current));
}

bool CCalibrationDlg::ReadMeasures(std::array<CrossMeasure, 2>& measures, QString& message, QLineEdit*& wrong) const
{
    for (int cross = 0; cross < 2; ++cross) {
        for (int axis = 0; axis < 2; ++axis) {
            QLineEdit* edit = m_edits[size_t(cross * 2 + axis)];
            double mm = 0;
            if (!ParseMillimetres(edit->text().toStdString(), mm)) {
                message = QString::fromUtf8(kMissingMeasure)
                              .replace(QStringLiteral("%s"), axis ? QStringLiteral("vertical (y)")
                                                                  : QStringLiteral("horizontal (x)"))
                              .replace(QStringLiteral("%d"), QString::number(cross + 1));
                wrong = edit;
                return false;
            }
            (axis ? measures[size_t(cross)].yMm : measures[size_t(cross)].xMm) = mm;
        }
    }
    return true;
}

void CCalibrationDlg::UpdateResult()
{
    std::array<CrossMeasure, 2> measures;
    QString problem;
    QLineEdit* wrong = nullptr;
    if (!ReadMeasures(measures, problem, wrong)) {
        m_resultLabel->setText(QStringLiteral("Desfase nuevo: escriba las cuatro medidas."));
        return;
    }
    CalibrationResult result;
    std::string message;
    if (!ComputeCalibration(m_current, measures, result, message)) {
        m_resultLabel->setText(QStringLiteral("Desfase nuevo: ") + QString::fromStdString(message));
        return;
    }
    QString text = QStringLiteral("Desfase nuevo: ") + OffsetText(result.offsets) +
                   QStringLiteral("\nLa impresión quedó %1 mm %2 y %3 mm %4 de su lugar.")
                       .arg(Mm(std::fabs(result.errorXMm)),
                            result.errorXMm < 0 ? QStringLiteral("a la izquierda") : QStringLiteral("a la derecha"),
                            Mm(std::fabs(result.errorYMm)),
                            result.errorYMm < 0 ? QStringLiteral("arriba") : QStringLiteral("abajo"));
    if (result.spreadMm > kCrossSpreadWarningMm)
        text += QStringLiteral("\nLas dos cruces difieren %1 mm: la impresora estira o gira la hoja, y el "
                               "desfase corrige sólo el promedio.")
                    .arg(Mm(result.spreadMm));
    m_resultLabel->setText(text);
}

bool CCalibrationDlg::Save()
{
    std::array<CrossMeasure, 2> measures;
    QString problem;
    QLineEdit* wrong = nullptr;
    if (!ReadMeasures(measures, problem, wrong)) {
        m_host.GetPrompts().Message(problem.toStdString(), PromptIcon::Warning);
        wrong->setFocus();
        wrong->selectAll();
        return false;
    }
    CalibrationResult result;
    std::string message;
    if (!ComputeCalibration(m_current, measures, result, message)) {
        m_host.GetPrompts().Message(message, PromptIcon::Warning);
        return false;
    }
    WritePrintOffsets(m_host.GetSettings(), result.offsets);
    m_current = result.offsets;
    ShowCurrent();
    accept();
    return true;
}

bool CCalibrationDlg::AskPrinter(QPrinter& printer, const QString& title)
{
    PrintDialog dialog(printer, this);
    dialog.setWindowTitle(title);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

bool CCalibrationDlg::PrintSheet(const QString& title, const std::function<void(Dc&, int, int)>& paint)
{
    QPrinter* printer = m_host.ApplicationPrinter();
    if (!printer || !AskPrinter(*printer, title))
        return false;
    std::string message;
    if (!PrintSheetOnPrinter(*printer, paint, message)) {
        m_host.GetPrompts().Message(message, PromptIcon::Error);
        return false;
    }
    return true;
}

bool CCalibrationDlg::PrintCalibrationSheet()
{
    const PrintOffsets offsets = m_current;
    return PrintSheet(QStringLiteral("Imprimir hoja de calibración"), [offsets](Dc& dc, int width, int height) {
        DrawCalibrationSheet(dc, width, height, offsets);
    });
}

bool CCalibrationDlg::PrintFieldOutlines()
{
    const PrintOffsets offsets = m_current;
    return PrintSheet(QStringLiteral("Imprimir contornos del formato"),
                      [this, offsets](Dc& dc, int, int) { DrawFieldOutlines(dc, m_elements, offsets); });
}
