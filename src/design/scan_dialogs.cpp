#include "design/scan_dialogs.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/file_folders.h"
#include "platform/scan_background.h"

namespace {

const QString kScanTitle = QStringLiteral("Fondo escaneado");

QDialogButtonBox* Buttons(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Aceptar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace

QString AskScanFile(QWidget* parent)
{
    QFileDialog dialog(parent, kScanTitle, QString(),
                       QStringLiteral("Formularios escaneados (*.png *.jpg *.jpeg *.pdf);;Todos los archivos (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDirectory(StartFolder(FileKind::Scans));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    RememberFolder(FileKind::Scans, dialog.selectedFiles().first());
    return dialog.selectedFiles().first();
}

std::optional<double> AskScanResolution(QWidget* parent, const QString& path, QSize pixels)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(kScanTitle);
    auto* layout = new QVBoxLayout(&dialog);
    auto* why = new QLabel(QStringLiteral("La imagen «%1» (%2 × %3 puntos) no indica a qué resolución se escaneó.")
                               .arg(QFileInfo(path).fileName())
                               .arg(pixels.width())
                               .arg(pixels.height()),
                           &dialog);
    why->setWordWrap(true);
    layout->addWidget(why);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Resolución del escaneo (puntos por pulgada):"), &dialog);
    auto* box = new QSpinBox(&dialog);
    box->setObjectName(QStringLiteral("scanDpi"));
    box->setRange(int(kMinScanDpi), int(kMaxScanDpi));
    box->setValue(int(kDefaultScanDpi));
    label->setBuddy(box);
    row->addWidget(label);
    row->addWidget(box);
    layout->addLayout(row);
    layout->addWidget(Buttons(&dialog));
    box->selectAll();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return double(box->value());
}

CScanFadeDialog::CScanFadeDialog(int fadePercent, std::function<void(int)> preview, QWidget* parent)
    : QDialog(parent), m_preview(std::move(preview))
{
    setWindowTitle(QStringLiteral("Atenuar fondo"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Qué tan pálido se ve el fondo escaneado bajo el formato:"), this));
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Como se escaneó"), this));
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setRange(0, 100);
    m_slider->setPageStep(10);
    m_slider->setMinimumWidth(200);
    m_slider->setValue(fadePercent);
    row->addWidget(m_slider, 1);
    row->addWidget(new QLabel(QStringLiteral("Blanco"), this));
    m_box = new QSpinBox(this);
    m_box->setRange(0, 100);
    m_box->setSuffix(QStringLiteral(" %"));
    m_box->setValue(fadePercent);
    row->addWidget(m_box);
    layout->addLayout(row);
    layout->addWidget(Buttons(this));
    connect(m_slider, &QSlider::valueChanged, m_box, &QSpinBox::setValue);
    connect(m_box, &QSpinBox::valueChanged, m_slider, &QSlider::setValue);
    connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
        if (m_preview)
            m_preview(value);
    });
}

int CScanFadeDialog::FadePercent() const
{
    return m_slider->value();
}

std::optional<int> AskScanFade(QWidget* parent, int fadePercent, const std::function<void(int)>& preview)
{
    CScanFadeDialog dialog(fadePercent, preview, parent);
    if (dialog.exec() == QDialog::Accepted)
        return dialog.FadePercent();
    return std::nullopt;
}
