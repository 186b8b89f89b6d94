// The letter (family, size in points, bold, italic, underline), colour and alignment of
// the selection. With several selected each control shows what they share and stays
// empty ("varios") where they differ; a change goes to every selected element that has
// the property, as one step to undo.
#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QFontInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <cmath>
#include <utility>

#include "design/design_document.h"
#include "design/font_dialog.h"
#include "design/properties_panel.h"

namespace {

constexpr double kLeastPoints = 1;
constexpr double kMostPoints = 200;

// The family a face is drawn with: the list names installed families ("Arial" is drawn
// with its metric twin), as the font dialog shows it.
QString ResolvedFamily(const std::string& face)
{
    return QFontInfo(QFont(QString::fromStdString(face))).family();
}

// To the nearest half point: a height kept in 0.1 mm (0.28 pt) shows 14 pt typed as 14,
// not as the 13.9 it comes back as.
QString PointsText(int heightUnits)
{
    const double points = std::round(UnitsToPoints(heightUnits) * 2) / 2;
    return points == std::floor(points) ? QString::number(int(points)) : QString::number(points, 'f', 1);
}

// Points as a clerk types them: up to three digits and one decimal, point or comma.
std::optional<double> ParsePoints(const QString& typed)
{
    static const QRegularExpression kPoints(QStringLiteral("^\\s*(\\d{1,3}(?:[.,]\\d)?)\\s*$"));
    const QRegularExpressionMatch m = kPoints.match(typed);
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
}

QIcon Swatch(std::optional<ColorRef> colour)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::transparent);
    if (colour) {
        QPainter p(&pixmap);
        p.setPen(Qt::black);
        p.setBrush(QColor(int(*colour & 0xFF), int((*colour >> 8) & 0xFF), int((*colour >> 16) & 0xFF)));
        p.drawRect(0, 0, 13, 13);
    }
    return QIcon(pixmap);
}

}  // namespace

QWidget* CPropertiesPanel::BuildStyleControls()
{
    auto* box = new QGroupBox(QStringLiteral("Letra, color y alineación"), this);
    const auto add = [this](int id, QWidget* w) {
        w->setObjectName(QStringLiteral("ctl%1").arg(id));
        m_controls[id] = w;
        return w;
    };
    add(kIdStyle, box);

    auto* face = new QFontComboBox(box);
    face->setFontFilters(QFontComboBox::ScalableFonts);
    // Chosen from the list only: a typed name could name a face the system lacks.
    face->setEditable(false);
    face->setMinimumWidth(150);
    face->setPlaceholderText(QString::fromUtf8(kMixed));
    face->setAccessibleName(QStringLiteral("Fuente"));
    auto* points = new QLineEdit(box);
    points->setFixedWidth(44);
    points->setToolTip(QStringLiteral("Tamaño de la letra en puntos"));
    points->setAccessibleName(QStringLiteral("Tamaño en puntos"));
    auto* letterRow = new QHBoxLayout;
    letterRow->addWidget(add(kIdFace, face), 1);
    letterRow->addWidget(add(kIdPoints, points));

    auto* styleRow = new QHBoxLayout;
    for (auto [id, text] : {std::pair{kIdBold, "Negrita"}, std::pair{kIdItalic, "Cursiva"},
                            std::pair{kIdUnderline, "Subrayado"}}) {
        auto* check = new QCheckBox(QString::fromUtf8(text), box);
        styleRow->addWidget(add(id, check));
        connect(check, &QCheckBox::clicked, this, [this, id = id] { CommitStyle(id); });
    }
    styleRow->addStretch(1);

    auto* align = new QComboBox(box);
    for (const char* name : kAlignNames)
        align->addItem(QString::fromUtf8(name));
    align->setPlaceholderText(QString::fromUtf8(kMixed));
    auto* colour = new QPushButton(QStringLiteral("Color..."), box);
    colour->setAutoDefault(false);
    auto* lastRow = new QHBoxLayout;
    lastRow->addWidget(add(kIdAlign, align));
    lastRow->addWidget(add(kIdColour, colour));
    lastRow->addStretch(1);

    auto* form = new QFormLayout(box);
    form->setContentsMargins(6, 6, 6, 6);
    form->setVerticalSpacing(3);
    form->addRow(QStringLiteral("Fuente:"), letterRow);
    form->addRow(QStringLiteral("Estilo:"), styleRow);
    form->addRow(QStringLiteral("Alineación:"), lastRow);

    connect(face, &QComboBox::activated, this, [this] { CommitStyle(kIdFace); });
    connect(align, &QComboBox::activated, this, [this] { CommitStyle(kIdAlign); });
    connect(colour, &QPushButton::clicked, this, &CPropertiesPanel::colourRequested);
    points->installEventFilter(this);
    return box;
}

void CPropertiesPanel::ShowStyle()
{
    const bool any = m_document && m_document->SelectedCount() > 0;
    const bool letter = any && m_document->AnySelectedHasFont();
    const bool colour = any && m_document->AnySelectedHasColour();
    SetShown(kIdStyle, letter || colour);
    const DesignStyle style = letter || colour ? m_document->CommonStyle() : DesignStyle{};
    const bool wasCommitting = std::exchange(m_committing, true);

    auto* face = static_cast<QFontComboBox*>(Control(kIdFace));
    // Not silenced: the list keeps its current family through its own signals, and only
    // a choice of the clerk's (activated) commits anything.
    if (style.face)
        face->setCurrentFont(QFont(ResolvedFamily(*style.face)));
    else
        face->setCurrentIndex(-1);
    face->setEnabled(letter);
    auto* points = static_cast<QLineEdit*>(Control(kIdPoints));
    const QString pointsText = style.heightUnits ? PointsText(*style.heightUnits) : QString();
    points->setText(pointsText);
    points->setPlaceholderText(letter && !style.heightUnits ? QString::fromUtf8(kMixed) : QString());
    points->setEnabled(letter);
    m_shownText[kIdPoints] = pointsText;

    for (auto [id, value] : {std::pair{kIdBold, style.bold}, std::pair{kIdItalic, style.italic},
                             std::pair{kIdUnderline, style.underline}}) {
        auto* check = static_cast<QCheckBox*>(Control(id));
        // Where the selected differ the box is half ticked; a click ticks it for all.
        if (letter && !value) {
            check->setTristate(true);
            check->setCheckState(Qt::PartiallyChecked);
        } else {
            check->setTristate(false);
            check->setChecked(value.value_or(false));
        }
        check->setEnabled(letter);
    }

    auto* align = static_cast<QComboBox*>(Control(kIdAlign));
    align->setCurrentIndex(style.align ? static_cast<int>(*style.align) : -1);
    align->setEnabled(letter);
    auto* colourButton = static_cast<QPushButton*>(Control(kIdColour));
    colourButton->setIcon(Swatch(style.colour));
    colourButton->setToolTip(colour && !style.colour ? QStringLiteral("Los controles seleccionados tienen varios colores")
                                                     : QStringLiteral("Color de impresión"));
    colourButton->setEnabled(colour);
    m_committing = wasCommitting;
}

void CPropertiesPanel::CommitStyle(int id)
{
    if (m_committing || !m_document || m_document->SelectedCount() == 0)
        return;
    DesignStyle change;
    switch (id) {
    case kIdFace: {
        const QString family = static_cast<QFontComboBox*>(Control(kIdFace))->currentFont().family();
        const DesignStyle shared = m_document->CommonStyle();
        // The family the shared face is drawn with is no change: "Arial" stays "Arial".
        if (family.isEmpty() || (shared.face && ResolvedFamily(*shared.face) == family))
            return;
        change.face = family.toStdString();
        break;
    }
    case kIdPoints: {
        auto* edit = static_cast<QLineEdit*>(Control(kIdPoints));
        const std::optional<double> points = ParsePoints(edit->text());
        if (!points || *points < kLeastPoints || *points > kMostPoints) {
            RefuseValue(id, kMsgPoints);
            return;
        }
        m_shownText[id] = edit->text();
        change.heightUnits = std::max(1, PointsToUnits(*points));
        break;
    }
    case kIdBold:
    case kIdItalic:
    case kIdUnderline: {
        auto* check = static_cast<QCheckBox*>(Control(id));
        // A click on a half-ticked box ticks it: from then on it is an ordinary box.
        const bool ticked = check->checkState() != Qt::Unchecked;
        check->setTristate(false);
        check->setChecked(ticked);
        (id == kIdBold ? change.bold : id == kIdItalic ? change.italic : change.underline) = ticked;
        break;
    }
    case kIdAlign: {
        const int index = static_cast<QComboBox*>(Control(kIdAlign))->currentIndex();
        if (index < 0 || index >= int(kAlignNames.size()))
            return;
        change.align = DesignAlign(index);
        break;
    }
    default:
        return;
    }
    Announced([&] { m_document->ApplyStyle(change); });
    ShowStyle();
}
