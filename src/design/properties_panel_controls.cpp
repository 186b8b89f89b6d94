// The panel's controls and their layout: the rows of the properties dialog, with the
// boxes that share a row stacked in it (at most one of them is shown at a time).
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QValidator>
#include <QVBoxLayout>
#include <array>

#include "design/properties_panel.h"

namespace {

// The calculation box turns typed letters to upper case as they come.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

}  // namespace

void CPropertiesPanel::BuildControls()
{
    // The dialog's font; fontconfig has no twin of its own for it.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont dialogFont(QStringLiteral("MS Sans Serif"));
    dialogFont.setPointSize(8);
    setFont(dialogFont);

    const auto add = [this](int id, QWidget* w) {
        w->setObjectName(QStringLiteral("ctl%1").arg(id));
        m_controls[id] = w;
        return w;
    };
    const auto valueBox = [&](int id) {
        auto* label = new QLabel(this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(196);
        label->setTextInteractionFlags(Qt::NoTextInteraction);
        add(id, label);
        return label;
    };
    const auto rowLabel = [&](int id) {
        auto* label = new QLabel(this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setMinimumWidth(118);
        add(id, label);
        return label;
    };
    const auto numberBox = [&](int id) {
        auto* edit = new QLineEdit(this);
        edit->setFixedWidth(60);
        add(id, edit);
        return edit;
    };

    auto* top = new QGridLayout;
    top->setHorizontalSpacing(4);
    top->setVerticalSpacing(3);
    const auto caption = [&](const char* text) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return label;
    };
    top->addWidget(caption("Control:"), 0, 0);
    top->addWidget(valueBox(kIdKindName), 0, 1);
    top->addWidget(caption("Longitud:"), 1, 0);
    top->addWidget(valueBox(kIdWidth), 1, 1);
    top->addWidget(caption("Posición:"), 2, 0);
    top->addWidget(valueBox(kIdPosition), 2, 1);
    auto* nameCaption = caption("Nombre:");
    add(kIdNameCaption, nameCaption);
    top->addWidget(nameCaption, 3, 0);
    auto* name = new QLineEdit(this);
    add(kIdName, name);
    top->addWidget(name, 3, 1);
    top->setColumnStretch(1, 1);

    // The lower rows: three labels, each with the boxes that share its row (one at a time).
    auto* lower = new QGridLayout;
    lower->setHorizontalSpacing(6);
    lower->setVerticalSpacing(3);
    lower->addWidget(rowLabel(kIdFirstLabel), 0, 0);
    lower->addWidget(rowLabel(kIdSecondLabel), 1, 0);
    lower->addWidget(rowLabel(kIdThirdLabel), 2, 0);

    auto* firstRow = new QHBoxLayout;
    firstRow->addWidget(numberBox(kIdFirstNumber));
    auto* mark = new QLineEdit(this);
    mark->setFixedWidth(60);
    firstRow->addWidget(add(kIdMark, mark));
    auto* types = new QComboBox(this);
    for (const char* type : kColumnTypeNames)
        types->addItem(QString::fromUtf8(type));
    types->setMinimumWidth(118);
    firstRow->addWidget(add(kIdColumnType, types));
    firstRow->addWidget(add(kIdCalculated, new QCheckBox(QStringLiteral("Campo calculado"), this)));
    firstRow->addStretch(1);
    lower->addLayout(firstRow, 0, 1);

    auto* secondRow = new QHBoxLayout;
    secondRow->addWidget(numberBox(kIdSecondNumber));
    auto* formula = new QLineEdit(this);
    formula->setValidator(new UpperCaseValidator(formula));
    formula->setMinimumWidth(118);
    secondRow->addWidget(add(kIdFormula, formula));
    secondRow->addStretch(1);
    lower->addLayout(secondRow, 1, 1);

    auto* thirdRow = new QHBoxLayout;
    thirdRow->addWidget(numberBox(kIdGap));
    thirdRow->addStretch(1);
    lower->addLayout(thirdRow, 2, 1);
    lower->setColumnStretch(1, 1);

    // The measures in millimetres: X and Y of the top-left corner (Y below the page's
    // top edge), width and height.
    auto* measures = new QHBoxLayout;
    auto* measureCaption = new QLabel(QStringLiteral("Medidas (mm):"), this);
    add(kIdMeasureCaption, measureCaption);
    measures->addWidget(measureCaption);
    const std::array<const char*, 4> measureNames = {"X:", "Y:", "Ancho:", "Alto:"};
    const std::array<const char*, 4> measureTips = {
        "Distancia del borde izquierdo de la página al control, en milímetros",
        "Distancia del borde superior de la página al control, en milímetros",
        "Ancho del control (o de la columna seleccionada), en milímetros",
        "Alto del control (o de la fila seleccionada), en milímetros"};
    for (size_t i = 0; i < kMeasureIds.size(); ++i) {
        auto* label = new QLabel(QString::fromUtf8(measureNames[i]), this);
        auto* edit = new QLineEdit(this);
        edit->setFixedWidth(52);
        edit->setToolTip(QString::fromUtf8(measureTips[i]));
        edit->setAccessibleName(QString::fromUtf8(measureNames[i]).chopped(1) + QStringLiteral(" en milímetros"));
        label->setBuddy(edit);
        measures->addWidget(label);
        measures->addWidget(add(kMeasureIds[i], edit));
        m_measureLabels.push_back(label);
    }
    measures->addStretch(1);

    auto* hint = new QLabel(QString::fromUtf8(kHint), this);
    hint->setWordWrap(true);
    add(kIdHint, hint);

    auto* text = new QPlainTextEdit(this);
    text->setTabChangesFocus(true);
    text->setMinimumHeight(60);
    text->setPlaceholderText(QStringLiteral("Título del formato"));
    add(kIdText, text);

    auto* close = new QPushButton(QStringLiteral("Cerrar"), this);
    close->setAutoDefault(false);
    add(kIdClose, close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 8);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addLayout(measures);
    layout->addLayout(lower);
    layout->addWidget(BuildStyleControls());
    layout->addWidget(BuildMediaControls());
    layout->addWidget(hint);
    layout->addWidget(text, 1);
    layout->addStretch(0);
    layout->addLayout(buttons);

    for (int id : kExchangeOrder)
        m_controls[id]->installEventFilter(this);
    for (int id : kMeasureIds)
        m_controls[id]->installEventFilter(this);

    connect(types, &QComboBox::currentIndexChanged, this, &CPropertiesPanel::ColumnTypeChosen);
    connect(static_cast<QCheckBox*>(m_controls[kIdCalculated]), &QCheckBox::clicked, this,
            &CPropertiesPanel::CalculatedClicked);
    connect(close, &QPushButton::clicked, this, &CPropertiesPanel::closeRequested);
}

QWidget* CPropertiesPanel::Control(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

void CPropertiesPanel::SetShown(int id, bool shown)
{
    if (QWidget* w = Control(id))
        w->setHidden(!shown);
}

