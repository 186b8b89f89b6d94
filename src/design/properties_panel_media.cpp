// The properties of barcodes (symbology, data template, size, quiet zone, text) and of
// images (whether the aspect ratio is kept), committed as soon as each is changed.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

#include "base/prompts.h"
#include "design/properties_panel.h"
#include "model/barcode_template.h"
#include "model/codigo_barras.h"
#include "model/imagen.h"

namespace {

// Names compared as the capture screen finds fields: without regard to case.
bool SameName(const std::string& a, const std::string& b)
{
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

}  // namespace

QWidget* CPropertiesPanel::BuildMediaControls()
{
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("ctl%1").arg(kIdMedia));
    m_controls[kIdMedia] = box;
    auto* form = new QFormLayout(box);
    form->setContentsMargins(6, 6, 6, 6);
    form->setVerticalSpacing(3);
    const auto add = [this](int id, QWidget* w) {
        w->setObjectName(QStringLiteral("ctl%1").arg(id));
        m_controls[id] = w;
        return w;
    };

    auto* symbology = new QComboBox(box);
    for (int i = 0; i < kSymbologyCount; ++i)
        symbology->addItem(QString::fromUtf8(SymbologyName(Symbology(i))));
    auto* level = new QComboBox(box);
    for (const char* name : {"Predeterminado (M)", "L (7 %)", "M (15 %)", "Q (25 %)", "H (30 %)"})
        level->addItem(QString::fromUtf8(name));
    auto* tpl = new QLineEdit(box);
    tpl->setPlaceholderText(QStringLiteral("vacío: se captura; {CAMPO} toma otro campo"));
    tpl->setMinimumWidth(196);
    auto* module = new QLineEdit(box);
    module->setFixedWidth(60);
    auto* quiet = new QLineEdit(box);
    quiet->setFixedWidth(60);
    auto* showText = new QCheckBox(QStringLiteral("Imprimir el texto bajo el código"), box);
    auto* keep = new QCheckBox(QStringLiteral("Conservar proporción"), box);

    form->addRow(QStringLiteral("Código:"), add(kIdSymbology, symbology));
    form->addRow(QStringLiteral("Corrección QR:"), add(kIdQrLevel, level));
    form->addRow(QStringLiteral("Datos:"), add(kIdTemplate, tpl));
    form->addRow(QStringLiteral("Módulo (mm):"), add(kIdModuleSize, module));
    form->addRow(QStringLiteral("Zona de silencio:"), add(kIdQuietZone, quiet));
    form->addRow(add(kIdShowText, showText));
    form->addRow(add(kIdKeepAspect, keep));

    connect(symbology, &QComboBox::activated, this, [this] { CommitMedia(kIdSymbology); });
    connect(level, &QComboBox::activated, this, [this] { CommitMedia(kIdQrLevel); });
    for (auto [id, edit] : {std::pair{kIdTemplate, tpl}, std::pair{kIdModuleSize, module}, std::pair{kIdQuietZone, quiet}})
        connect(edit, &QLineEdit::editingFinished, this, [this, id = id] { CommitMedia(id); });
    connect(showText, &QCheckBox::clicked, this, [this] { CommitMedia(kIdShowText); });
    connect(keep, &QCheckBox::clicked, this, [this] { CommitMedia(kIdKeepAspect); });
    return box;
}

void CPropertiesPanel::ShowMedia()
{
    auto* barcode = m_element && m_element->m_kind == kKindCodigoBarras ? static_cast<CCodigoBarras*>(m_element) : nullptr;
    auto* image = m_element && m_element->m_kind == kKindImagen ? static_cast<CImagen*>(m_element) : nullptr;
    Control(kIdMedia)->setHidden(!barcode && !image);
    for (int id : {kIdSymbology, kIdQrLevel, kIdTemplate, kIdModuleSize, kIdQuietZone, kIdShowText})
        Control(id)->setEnabled(barcode != nullptr);
    Control(kIdKeepAspect)->setEnabled(image != nullptr);
    // Rows of the other kind stay hidden (a form row hides with its field's label).
    auto* form = static_cast<QFormLayout*>(Control(kIdMedia)->layout());
    for (int id : {kIdSymbology, kIdQrLevel, kIdTemplate, kIdModuleSize, kIdQuietZone, kIdShowText})
        form->setRowVisible(Control(id), barcode != nullptr);
    form->setRowVisible(Control(kIdKeepAspect), image != nullptr);
    if (barcode) {
        form->setRowVisible(Control(kIdQrLevel), barcode->m_symbology == Symbology::Qr);
        const QSignalBlocker a(Control(kIdSymbology)), b(Control(kIdQrLevel)), c(Control(kIdShowText));
        static_cast<QComboBox*>(Control(kIdSymbology))->setCurrentIndex(int(barcode->m_symbology));
        static_cast<QComboBox*>(Control(kIdQrLevel))->setCurrentIndex(barcode->m_qrLevel);
        static_cast<QLineEdit*>(Control(kIdTemplate))->setText(QString::fromStdString(barcode->m_template));
        static_cast<QLineEdit*>(Control(kIdModuleSize))->setText(QString::number(barcode->m_moduleSize / 100.0, 'f', 2));
        static_cast<QLineEdit*>(Control(kIdQuietZone))->setText(QString::number(barcode->m_quietZone));
        static_cast<QCheckBox*>(Control(kIdShowText))->setChecked(barcode->m_flags & CCodigoBarras::kShowText);
    }
    if (image) {
        const QSignalBlocker quiet(Control(kIdKeepAspect));
        static_cast<QCheckBox*>(Control(kIdKeepAspect))->setChecked(image->KeepsAspect());
    }
}

bool CPropertiesPanel::TemplateFieldsExist(const std::string& tpl, std::string& message) const
{
    for (const std::string& name : TemplateNames(tpl)) {
        bool found = false;
        for (const auto& e : m_format.elements)
            found = found || (e->IsVariable() && SameName(e->m_text, name));
        if (!found) {
            message = QString::fromUtf8(kMsgUnknownField).arg(QString::fromStdString(name)).toStdString();
            return false;
        }
    }
    return true;
}

void CPropertiesPanel::CommitMedia(int id)
{
    if (m_committing || !m_element)
        return;
    auto* barcode = m_element->m_kind == kKindCodigoBarras ? static_cast<CCodigoBarras*>(m_element) : nullptr;
    auto* image = m_element->m_kind == kKindImagen ? static_cast<CImagen*>(m_element) : nullptr;
    auto* edit = qobject_cast<QLineEdit*>(Control(id));
    const QString typed = edit ? edit->text() : QString();
    const auto refuse = [&](const std::string& message) {
        m_prompts.Message(message, PromptIcon::Warning);
        ShowMedia();  // the box shows the value kept
        if (edit)
            edit->setFocus();
    };
    if (barcode) {
        switch (id) {
        case kIdSymbology: {
            const int index = static_cast<QComboBox*>(Control(id))->currentIndex();
            Announced([&] { barcode->m_symbology = Symbology(std::clamp(index, 0, kSymbologyCount - 1)); });
            break;
        }
        case kIdQrLevel: {
            const int index = static_cast<QComboBox*>(Control(id))->currentIndex();
            Announced([&] { barcode->m_qrLevel = std::clamp(index, 0, kQrLevelMax); });
            break;
        }
        case kIdTemplate: {
            const std::string tpl = typed.toStdString();
            std::string message;
            if (TemplateTooLong(tpl))
                return refuse(kMsgTemplateTooLong);
            if (!TemplateFieldsExist(tpl, message))
                return refuse(message);
            Announced([&] { barcode->m_template = tpl; });
            break;
        }
        case kIdModuleSize: {
            bool ok = false;
            const double mm = QString(typed).replace(',', '.').trimmed().toDouble(&ok);
            if (!ok || mm < 0 || mm > CCodigoBarras::kMaxModuleSize / 100.0)
                return refuse(kMsgModuleSize);
            Announced([&] { barcode->m_moduleSize = int(std::lround(mm * 100)); });
            break;
        }
        case kIdQuietZone: {
            bool ok = false;
            const int modules = typed.trimmed().toInt(&ok);
            if (!ok || modules < 0 || modules > CCodigoBarras::kMaxQuietZone)
                return refuse(kMsgQuietZone);
            Announced([&] { barcode->m_quietZone = modules; });
            break;
        }
        case kIdShowText: {
            const bool on = static_cast<QCheckBox*>(Control(id))->isChecked();
            Announced([&] {
                barcode->m_flags = on ? (barcode->m_flags | CCodigoBarras::kShowText)
                                      : (barcode->m_flags & ~CCodigoBarras::kShowText);
            });
            break;
        }
        default:
            break;
        }
    } else if (image && id == kIdKeepAspect) {
        const bool keep = static_cast<QCheckBox*>(Control(id))->isChecked();
        Announced([&] { image->SetKeepsAspect(keep); });
        ShowPlace();
    }
    ShowMedia();
}
