#include "design/properties_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <utility>

#include "base/prompts.h"
#include "calc/column_formula.h"
#include "design/design_document.h"
#include "model/cons_parrafo.h"
#include "model/controles.h"
#include "model/cuadros_var.h"
#include "model/fmt_grid.h"
#include "model/marca_var.h"
#include "model/textline_var.h"

namespace {

constexpr const char* kLabelBoxCount = "Número de cuadros:";
constexpr const char* kLabelBoxWidth = "Ancho del cuadro (mm/10):";
constexpr const char* kLabelBoxGap = "Dist. entre cuadros(mm/10):";
constexpr const char* kLabelMark = "Carácter:";
constexpr const char* kLabelColumnCount = "Número de columnas:";
constexpr const char* kLabelRowCount = "Número de filas:";
constexpr const char* kLabelColumnType = "Tipo de dato";
constexpr const char* kLabelCalculation = "Cálculo:";
constexpr const char* kColumnKindName = "Columna de tabla";
constexpr const char* kPositionFormat = "X=%.2f cm., Y=%.2f cm.";
constexpr const char* kWidthFormat = "%.2f cm.";

std::string S(const QString& s)
{
    return s.toStdString();
}

// The multi-line box shows line breaks as the platform's; the format keeps CR LF.
QString ToMultiline(const std::string& s)
{
    return QString::fromStdString(s).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string FromMultiline(const QString& s)
{
    QString t = s;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return S(t);
}

// A whole number as a clerk types it: optional blanks around an optional sign and
// digits, within the range of the stored 32-bit integers.
bool ParseInteger(const QString& text, int& value)
{
    static const QRegularExpression kInteger(QStringLiteral("^\\s*[+-]?\\d+\\s*$"));
    if (!kInteger.match(text).hasMatch())
        return false;
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok)
        return false;
    value = v;
    return true;
}

QString Cm(const char* format, double a)
{
    return QString::asprintf(format, a);
}

QString ControlText(QWidget* w)
{
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* text = qobject_cast<QPlainTextEdit*>(w))
        return text->toPlainText();
    return {};
}

// The box count, box width or gap of a boxed text, its boxes fitted again.
void SetBoxValue(CCuadrosVar& boxes, int id, int value)
{
    switch (id) {
    case CPropertiesPanel::kIdFirstNumber: boxes.SetBoxCount(value); break;
    case CPropertiesPanel::kIdSecondNumber:
        boxes.m_boxWidth = value;
        boxes.RefitBoxes();
        break;
    case CPropertiesPanel::kIdGap:
        boxes.m_boxGap = value;
        boxes.RefitBoxes();
        break;
    default: break;
    }
}

}  // namespace

CPropertiesPanel::CPropertiesPanel(Format& format, Prompts& prompts, QWidget* parent)
    : QWidget(parent), m_format(format), m_prompts(prompts)
{
    BuildControls();
    Refresh(nullptr);
}

CPropertiesPanel::~CPropertiesPanel()
{
    // The boxes outlive this part of the panel for a moment and lose the focus as they
    // go; nothing may be committed then, the format may already be gone.
    for (int id : kExchangeOrder)
        if (QWidget* w = Control(id))
            w->removeEventFilter(this);
    for (int id : kMeasureIds)
        if (QWidget* w = Control(id))
            w->removeEventFilter(this);
    if (QWidget* w = Control(kIdPoints))
        w->removeEventFilter(this);
}

bool CPropertiesPanel::ElementInFormat(const CControles* element) const
{
    for (const auto& e : m_format.elements)
        if (e.get() == element)
            return true;
    return false;
}

// --- Showing an element -------------------------------------------------------------

void CPropertiesPanel::Refresh(CControles* element)
{
    // An edit typed for the element shown so far goes to that element before the panel
    // turns to another: the view may change the selection before the box loses the focus.
    CommitPendingEdit();
    m_element = element;
    m_several = false;
    // "varios" belongs to several selected only.
    for (int id : {kIdFirstNumber, kIdSecondNumber, kIdGap, kIdMark})
        static_cast<QLineEdit*>(Control(id))->setPlaceholderText(QString());
    // Hiding the focused box moves the focus; that is no leaving of the box by the clerk.
    const bool wasCommitting = std::exchange(m_committing, true);

    for (int id : {kIdText, kIdMark, kIdFirstNumber, kIdSecondNumber, kIdColumnType, kIdGap, kIdFormula, kIdCalculated})
        SetShown(id, false);
    for (int id : {kIdNameCaption, kIdName, kIdThirdLabel, kIdFirstLabel, kIdSecondLabel})
        SetShown(id, true);
    m_thirdLabel.clear();
    m_firstLabel.clear();
    m_secondLabel.clear();
    m_widthText.clear();
    m_kindName.clear();
    m_name.clear();
    m_formula.clear();
    m_position.clear();

    if (!element) {
        for (int id : {kIdThirdLabel, kIdFirstLabel, kIdSecondLabel, kIdName, kIdCalculated, kIdColumnType})
            SetShown(id, false);
        SetShown(kIdText, true);
        m_text = m_format.title;
    } else {
        m_kindName = element->KindName();
        m_name = element->m_text;
        ShowByKind();
    }
    ShowMedia();
    SetShown(kIdHint, !element);
    MoveValuesToControls();
    ShowMeasures();
    ShowStyle();
    m_committing = wasCommitting;
}

void CPropertiesPanel::RefreshSelection()
{
    if (!m_document || m_document->SelectedCount() < 2) {
        Refresh(m_document ? m_document->Selection() : nullptr);
        return;
    }
    // Several selected: what they have in common, and the measures typed for all.
    CommitPendingEdit();
    m_element = nullptr;
    m_several = true;
    const bool wasCommitting = std::exchange(m_committing, true);
    for (int id : {kIdText, kIdMark, kIdFirstNumber, kIdSecondNumber, kIdColumnType, kIdGap, kIdFormula, kIdCalculated,
                   kIdName, kIdNameCaption, kIdHint})
        SetShown(id, false);
    m_firstLabel.clear();
    m_secondLabel.clear();
    m_thirdLabel.clear();
    m_position.clear();
    m_widthText.clear();
    m_name.clear();
    const auto& selected = m_document->Selected();
    bool sameKind = true;
    for (const CControles* e : selected)
        sameKind = sameKind && e->m_kind == selected.front()->m_kind;
    m_kindName = std::to_string(selected.size()) + " controles seleccionados" +
                 (sameKind ? " (" + selected.front()->KindName() + ")" : std::string());
    MoveValuesToControls();
    if (sameKind)
        ShowShared(selected.front()->m_kind);
    ShowMeasures();
    ShowStyle();
    m_committing = wasCommitting;
}

void CPropertiesPanel::ShowShared(int kind)
{
    // The boxes each kind's elements share; a value that differs leaves its box empty.
    struct Shared {
        int id;
        const char* label;
        int labelId;
    };
    std::vector<Shared> shown;
    if (kind == kKindCuadrosVar)
        shown = {{kIdFirstNumber, kLabelBoxCount, kIdFirstLabel},
                 {kIdSecondNumber, kLabelBoxWidth, kIdSecondLabel},
                 {kIdGap, kLabelBoxGap, kIdThirdLabel}};
    else if (kind == kKindMarcaVar)
        shown = {{kIdMark, kLabelMark, kIdFirstLabel}};
    for (const Shared& field : shown) {
        std::optional<std::string> common;
        bool mixed = false;
        for (const CControles* e : m_document->Selected()) {
            std::string value;
            if (kind == kKindMarcaVar) {
                value = static_cast<const CMarcaVar*>(e)->m_mark;
            } else {
                const auto& boxes = *static_cast<const CCuadrosVar*>(e);
                value = std::to_string(field.id == kIdFirstNumber    ? boxes.m_boxCount
                                       : field.id == kIdSecondNumber ? boxes.m_boxWidth
                                                                     : boxes.m_boxGap);
            }
            mixed = mixed || (common && *common != value);
            common = value;
        }
        const QString text = mixed ? QString() : QString::fromStdString(common.value_or(std::string()));
        auto* edit = static_cast<QLineEdit*>(Control(field.id));
        edit->setText(text);
        edit->setPlaceholderText(mixed ? QString::fromUtf8(kMixed) : QString());
        m_shownText[field.id] = text;
        static_cast<QLabel*>(Control(field.labelId))->setText(QString::fromUtf8(field.label));
        SetShown(field.id, true);
        SetShown(field.labelId, true);
    }
}

void CPropertiesPanel::CommitSeveral(int id)
{
    if (!m_document || (id != kIdFirstNumber && id != kIdSecondNumber && id != kIdGap && id != kIdMark))
        return;
    const QString text = ControlText(Control(id));
    int value = 0;
    if (id == kIdMark) {
        if (text.toUcs4().size() > kMarkMaxChars) {
            RefuseValue(id, S(QString::fromUtf8(kMsgTooManyChars).arg(kMarkMaxChars)));
            return;
        }
    } else if (!ParseInteger(text, value)) {
        RefuseValue(id, kMsgNotInteger);
        return;
    } else if (value < (id == kIdGap ? 0 : 1)) {
        // As for one boxed text: anything less turns the rectangles inside out.
        RefuseValue(id, id == kIdGap ? kMsgNotNegative : kMsgNotPositive);
        return;
    }
    m_shownText[id] = text;
    Announced([&] {
        for (CControles* e : m_document->Selected()) {
            if (id == kIdMark && e->m_kind == kKindMarcaVar)
                static_cast<CMarcaVar*>(e)->m_mark = S(text);
            else if (id != kIdMark && e->m_kind == kKindCuadrosVar)
                SetBoxValue(*static_cast<CCuadrosVar*>(e), id, value);
        }
    });
    // The value typed is now what every one of them has.
    static_cast<QLineEdit*>(Control(id))->setPlaceholderText(QString());
}

namespace {

// Tenths of a millimetre as millimetres with one decimal and a decimal point.
QString Millimetres(int units)
{
    return QString::number(units / 10.0, 'f', 1);
}

// A measure as a clerk types it: millimetres with at most one decimal, a point or a
// comma. Nothing for anything else.
std::optional<int> ParseMillimetres(const QString& typed)
{
    static const QRegularExpression kMeasure(QStringLiteral("^\\s*(\\d{1,4})(?:[.,](\\d?))?\\s*$"));
    const QRegularExpressionMatch m = kMeasure.match(typed);
    if (!m.hasMatch())
        return std::nullopt;
    const int whole = m.captured(1).toInt();
    const int tenth = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
    return whole * 10 + tenth;
}

}  // namespace

void CPropertiesPanel::ShowMeasures()
{
    const bool shown = m_document && m_document->SelectedCount() > 0;
    SetShown(kIdMeasureCaption, shown);
    for (size_t i = 0; i < kMeasureIds.size(); ++i) {
        SetShown(kMeasureIds[i], shown);
        m_measureLabels[i]->setHidden(!shown);
        auto* edit = static_cast<QLineEdit*>(Control(kMeasureIds[i]));
        QString text;
        if (shown) {
            const auto measure = DesignMeasure(i);
            if (const std::optional<int> value = m_document->CommonMeasure(measure))
                text = Millimetres(*value);
            edit->setEnabled(m_document->MeasureSettable(measure));
            // Several that differ show an empty box; typing into it sets them all.
            edit->setPlaceholderText(text.isEmpty() ? QStringLiteral("varios") : QString());
        }
        edit->setText(text);
        m_shownText[kMeasureIds[i]] = text;
    }
}

void CPropertiesPanel::CommitMeasure(int id)
{
    if (m_committing || !m_document || m_document->SelectedCount() == 0)
        return;
    auto* edit = static_cast<QLineEdit*>(Control(id));
    const auto measure = DesignMeasure(id - kIdMeasureX);
    const std::optional<int> units = ParseMillimetres(edit->text());
    const bool size = measure == DesignMeasure::Width || measure == DesignMeasure::Height;
    // A size must leave the element above the least the page view lets an edge come to
    // (4 mm); a place keeps the element's corner on the 400 mm page.
    const int least = size ? 41 : 0;
    const int most = kPageExtentUnits;
    if (!units) {
        RefuseValue(id, kMsgNotMeasure);
        return;
    }
    if (*units < least || *units > most) {
        RefuseValue(id, S(QString::fromUtf8(kMsgMeasureRange).arg(Millimetres(least), Millimetres(most))));
        return;
    }
    m_shownText[id] = edit->text();
    Announced([&] { m_document->SetMeasure(measure, *units); });
    // The boxes show what the elements took (a kind may hold its minimum, the page its edge).
    if (m_several) {
        ShowMeasures();
    } else {
        const bool wasCommitting = std::exchange(m_committing, true);
        ShowPlace();
        static_cast<QLabel*>(Control(kIdPosition))->setText(QString::fromStdString(m_position));
        static_cast<QLabel*>(Control(kIdWidth))->setText(QString::fromStdString(m_widthText));
        ShowMeasures();
        m_committing = wasCommitting;
    }
}

void CPropertiesPanel::ShowByKind()
{
    CControles& e = *m_element;
    ShowPlace();

    auto* check = static_cast<QCheckBox*>(Control(kIdCalculated));
    switch (e.m_kind) {
    case kKindTextlineVar: {
        const auto& line = static_cast<CTextlineVar&>(e);
        SetShown(kIdCalculated, true);
        check->setChecked(!line.m_formula.empty());
        if (!line.m_formula.empty()) {
            m_secondLabel = kLabelCalculation;
            SetShown(kIdFormula, true);
            m_formula = line.m_formula;
        }
        break;
    }
    case kKindCuadrosVar: {
        const auto& boxes = static_cast<CCuadrosVar&>(e);
        for (int id : {kIdFirstNumber, kIdSecondNumber, kIdGap})
            SetShown(id, true);
        m_firstLabel = kLabelBoxCount;
        m_secondLabel = kLabelBoxWidth;
        m_thirdLabel = kLabelBoxGap;
        m_firstNumber = boxes.m_boxCount;
        m_secondNumber = boxes.m_boxWidth;
        m_gap = boxes.m_boxGap;
        break;
    }
    case kKindMarcaVar:
        SetShown(kIdMark, true);
        m_firstLabel = kLabelMark;
        m_mark = static_cast<CMarcaVar&>(e).m_mark;
        break;
    case kKindGrid: {
        const auto& grid = static_cast<CFmtGrid&>(e);
        if (grid.m_selColumn < 0 || grid.m_selColumn >= grid.ColumnCount()) {
            SetShown(kIdFirstNumber, true);
            SetShown(kIdSecondNumber, true);
            m_firstLabel = kLabelColumnCount;
            m_secondLabel = kLabelRowCount;
            m_firstNumber = grid.ColumnCount();
            m_secondNumber = grid.RowCount();
            break;
        }
        const GridColumn& column = grid.m_columns[size_t(grid.m_selColumn)];
        SetShown(kIdColumnType, true);
        m_kindName = kColumnKindName;
        m_name = column.title;
        m_widthText = S(Cm(kWidthFormat, column.width * 0.01));
        m_position.clear();
        m_firstLabel = kLabelColumnType;
        auto* types = static_cast<QComboBox*>(Control(kIdColumnType));
        const QSignalBlocker quiet(types);
        types->setCurrentIndex(column.type >= 0 && column.type < int(kColumnTypeNames.size()) ? column.type : -1);
        if (IsCalculatedType(column.type)) {
            m_secondLabel = kLabelCalculation;
            SetShown(kIdFormula, true);
            m_formula = column.formula;
        }
        break;
    }
    case kKindConsParrafo:
        SetShown(kIdText, true);
        for (int id : {kIdFirstLabel, kIdSecondLabel, kIdThirdLabel, kIdName})
            SetShown(id, false);
        m_text = e.m_text;
        break;
    default:
        break;
    }
}

void CPropertiesPanel::MoveValuesToControls()
{
    const auto setLabel = [this](int id, const std::string& text) {
        static_cast<QLabel*>(Control(id))->setText(QString::fromStdString(text));
    };
    const auto setEdit = [this](int id, const QString& text) {
        static_cast<QLineEdit*>(Control(id))->setText(text);
        m_shownText[id] = text;
    };
    setLabel(kIdKindName, m_kindName);
    setLabel(kIdPosition, m_position);
    setLabel(kIdWidth, m_widthText);
    setLabel(kIdFirstLabel, m_firstLabel);
    setLabel(kIdSecondLabel, m_secondLabel);
    setLabel(kIdThirdLabel, m_thirdLabel);
    setEdit(kIdName, QString::fromStdString(m_name));
    setEdit(kIdMark, QString::fromStdString(m_mark));
    setEdit(kIdFormula, QString::fromStdString(m_formula));
    setEdit(kIdFirstNumber, QString::number(m_firstNumber));
    setEdit(kIdSecondNumber, QString::number(m_secondNumber));
    setEdit(kIdGap, QString::number(m_gap));
    const QString text = ToMultiline(m_text);
    static_cast<QPlainTextEdit*>(Control(kIdText))->setPlainText(text);
    m_shownText[kIdText] = text;
}

// --- Taking values from the controls --------------------------------------------------


int CPropertiesPanel::MoveValuesFromControls()
{
    for (int id : kExchangeOrder) {
        QWidget* w = Control(id);
        // A hidden box holds nothing the clerk typed; what it keeps from an earlier
        // element is not this element's value and is not checked.
        if (w->isHidden())
            continue;
        const QString text = ControlText(w);
        switch (id) {
        case kIdName: m_name = S(text); break;
        case kIdText: m_text = FromMultiline(text); break;
        case kIdFormula: {
            // A table column's calculation may name columns by their titles; it is kept
            // in the C<n> form its computation reads, and refused when it names nothing
            // the table has (it would compute nothing and total 0).
            auto* grid = m_element && m_element->m_kind == kKindGrid ? static_cast<CFmtGrid*>(m_element) : nullptr;
            if (grid && grid->m_selColumn >= 0 && grid->m_selColumn < grid->ColumnCount()) {
                std::vector<std::string> titles;
                for (const GridColumn& column : grid->m_columns)
                    titles.push_back(column.title);
                std::string formula, message;
                if (!CheckColumnFormula(S(text), titles, grid->m_text, formula, message)) {
                    RefuseValue(id, message);
                    return id;
                }
                m_formula = formula;
            } else {
                m_formula = S(text);
            }
            break;
        }
        case kIdMark:
            if (text.toUcs4().size() > kMarkMaxChars) {
                RefuseValue(id, S(QString::fromUtf8(kMsgTooManyChars).arg(kMarkMaxChars)));
                return id;
            }
            m_mark = S(text);
            break;
        case kIdFirstNumber:
        case kIdSecondNumber:
        case kIdGap: {
            int value = 0;
            if (!ParseInteger(text, value)) {
                RefuseValue(id, kMsgNotInteger);
                return id;
            }
            // Boxes need a count and a width of at least one and a gap that is not
            // negative: anything else turns the element's rectangle inside out.
            if (m_element && m_element->m_kind == kKindCuadrosVar && value < (id == kIdGap ? 0 : 1)) {
                RefuseValue(id, id == kIdGap ? kMsgNotNegative : kMsgNotPositive);
                return id;
            }
            (id == kIdFirstNumber ? m_firstNumber : id == kIdSecondNumber ? m_secondNumber : m_gap) = value;
            break;
        }
        default: break;
        }
    }
    return 0;
}

void CPropertiesPanel::RefuseValue(int id, const std::string& message)
{
    // The message comes once the focus change that led here is over, so the box does not
    // lose the focus again while the message is up; then the box gets the focus back.
    if (m_refusalPending)
        return;
    m_refusalPending = true;
    QTimer::singleShot(0, this, [this, id, message] {
        m_prompts.Message(message, PromptIcon::Warning);
        m_refusalPending = false;
        QWidget* w = Control(id);
        if (!w || w->isHidden())
            return;
        if (QWidget* top = window(); top && top->isVisible())
            top->activateWindow();
        w->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->selectAll();
    });
}

bool CPropertiesPanel::IsPending(int id) const
{
    const auto it = m_shownText.find(id);
    return it == m_shownText.end() || ControlText(Control(id)) != it->second;
}

void CPropertiesPanel::CommitPendingEdit()
{
    QWidget* focused = focusWidget();
    for (int id : kExchangeOrder)
        if (Control(id) == focused && !focused->isHidden() && IsPending(id))
            Commit(id);
    for (int id : kMeasureIds)
        if (Control(id) == focused && !focused->isHidden() && IsPending(id))
            CommitMeasure(id);
    if (Control(kIdPoints) == focused && IsPending(kIdPoints))
        CommitStyle(kIdPoints);
}

bool CPropertiesPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        // A box's own context menu takes the focus for a moment; that is no leaving.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            for (int id : kExchangeOrder)
                if (Control(id) == watched && IsPending(id))
                    Commit(id);
            for (int id : kMeasureIds)
                if (Control(id) == watched && IsPending(id))
                    CommitMeasure(id);
            if (Control(kIdPoints) == watched && IsPending(kIdPoints))
                CommitStyle(kIdPoints);
        }
    }
    // Enter in a measure box takes the measure at once.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            for (int id : kMeasureIds)
                if (Control(id) == watched) {
                    if (IsPending(id))
                        CommitMeasure(id);
                    return true;
                }
            if (Control(kIdPoints) == watched) {
                if (IsPending(kIdPoints))
                    CommitStyle(kIdPoints);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CPropertiesPanel::keyPressEvent(QKeyEvent* event)
{
    // Enter in a one-line box does nothing: values are taken when a box is left.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

// --- Commits ----------------------------------------------------------------------------

std::string CPropertiesPanel::ChangeFingerprint() const
{
    std::string print = m_format.title;
    print.push_back('\0');
    // Every element the commit may touch: the one shown, or each of several selected.
    std::vector<const CControles*> touched;
    if (m_document)
        touched.assign(m_document->Selected().begin(), m_document->Selected().end());
    if (m_element && std::find(touched.begin(), touched.end(), m_element) == touched.end())
        touched.push_back(m_element);
    for (const CControles* e : touched) {
        ArchiveWriter ar;
        e->Write(ar);
        print.append(ar.Bytes().begin(), ar.Bytes().end());
    }
    return print;
}

void CPropertiesPanel::Announced(const std::function<void()>& apply)
{
    // The frame may refresh the panel from these signals; the guard keeps that refresh
    // from committing the same edit again.
    const bool wasCommitting = std::exchange(m_committing, true);
    const std::string before = ChangeFingerprint();
    emit aboutToChange();
    apply();
    if (ChangeFingerprint() != before)
        emit changed();
    else
        emit changeAbandoned();
    m_committing = wasCommitting;
}

void CPropertiesPanel::ShowPlace()
{
    m_position.clear();
    m_widthText.clear();
    if (!m_element)
        return;
    const Rect& rc = m_element->m_rcPage;
    m_position = S(QString::asprintf(kPositionFormat, rc.left * 0.01,
                                     (m_element->m_bottomAnchored ? rc.bottom : rc.top) * 0.01));
    m_widthText = S(Cm(kWidthFormat, (int64_t(rc.right) - rc.left) * 0.01));
}

void CPropertiesPanel::Commit(int id)
{
    if (m_committing)
        return;
    if (m_several) {
        CommitSeveral(id);
        return;
    }
    // The element may have gone (deleted, or the format replaced) without a refresh yet:
    // then there is nothing left to commit to.
    if (m_element && !ElementInFormat(m_element))
        return;
    // After a refusal the commit still goes ahead, with the values held before it.
    const int refused = MoveValuesFromControls();
    if (!MayChange(id)) {
        ApplyCommit(id);
        return;
    }
    Announced([&] {
        ApplyCommit(id);
        // What was committed is now what the box shows, so leaving it again commits
        // nothing; a refused box stays pending and is checked again when next left.
        if (id != refused)
            m_shownText[id] = ControlText(Control(id));
        // The read-only lines follow what the commit did to the element's place and width
        // (a column shows its own width, which no commit here changes).
        const auto* grid =
            m_element && m_element->m_kind == kKindGrid ? static_cast<const CFmtGrid*>(m_element) : nullptr;
        if (m_element && !(grid && grid->m_selColumn >= 0)) {
            ShowPlace();
            static_cast<QLabel*>(Control(kIdPosition))->setText(QString::fromStdString(m_position));
            static_cast<QLabel*>(Control(kIdWidth))->setText(QString::fromStdString(m_widthText));
        }
    });
}

bool CPropertiesPanel::MayChange(int id) const
{
    const int kind = m_element ? m_element->m_kind : -1;
    switch (id) {
    case kIdName: return m_element != nullptr;
    case kIdText: return !m_element || kind == kKindConsParrafo;
    case kIdFirstNumber:
    case kIdSecondNumber: return kind == kKindCuadrosVar || kind == kKindGrid;
    case kIdGap: return kind == kKindCuadrosVar;
    case kIdMark: return kind == kKindMarcaVar;
    case kIdFormula: return kind == kKindGrid || kind == kKindTextlineVar;
    default: return false;
    }
}

void CPropertiesPanel::ApplyCommit(int id)
{
    CControles* e = m_element;
    const int kind = e ? e->m_kind : -1;
    auto* grid = kind == kKindGrid ? static_cast<CFmtGrid*>(e) : nullptr;
    const bool column = grid && grid->m_selColumn >= 0 && grid->m_selColumn < grid->ColumnCount();
    auto* boxes = kind == kKindCuadrosVar ? static_cast<CCuadrosVar*>(e) : nullptr;

    switch (id) {
    case kIdName:
        if (!e) {
            m_name.clear();
            static_cast<QLineEdit*>(Control(kIdName))->clear();
            m_shownText[kIdName].clear();
        } else if (column) {
            grid->m_columns[size_t(grid->m_selColumn)].title = m_name;
        } else {
            e->m_text = m_name;
        }
        break;
    case kIdText:
        if (!e)
            m_format.title = m_text;
        else if (kind == kKindConsParrafo)
            e->m_text = m_text;
        break;
    case kIdFirstNumber:
        if (boxes)
            SetBoxValue(*boxes, id, m_firstNumber);
        else if (grid)
            grid->SetColumnCount(m_firstNumber);
        break;
    case kIdSecondNumber:
        if (grid)
            grid->SetRowCount(m_secondNumber);
        else if (boxes)
            SetBoxValue(*boxes, id, m_secondNumber);
        break;
    case kIdGap:
        if (boxes)
            SetBoxValue(*boxes, id, m_gap);
        break;
    case kIdMark:
        if (kind == kKindMarcaVar)
            static_cast<CMarcaVar*>(e)->m_mark = m_mark;
        break;
    case kIdFormula:
        if (column)
            grid->m_columns[size_t(grid->m_selColumn)].formula = m_formula;
        else if (kind == kKindTextlineVar)
            static_cast<CTextlineVar*>(e)->m_formula = m_formula;
        break;
    default:
        break;
    }
}

void CPropertiesPanel::ColumnTypeChosen(int index)
{
    auto* grid = m_element && m_element->m_kind == kKindGrid ? static_cast<CFmtGrid*>(m_element) : nullptr;
    if (!grid || grid->m_selColumn < 0 || grid->m_selColumn >= grid->ColumnCount() || index < 0 ||
        index >= int(kColumnTypeNames.size()) || m_committing || !ElementInFormat(m_element))
        return;
    MoveValuesFromControls();
    Announced([&] {
        GridColumn& column = grid->m_columns[size_t(grid->m_selColumn)];
        column.type = index;
        // A calculated type always starts from an empty calculation, typed afterwards.
        m_formula.clear();
        if (IsCalculatedType(index)) {
            m_secondLabel = kLabelCalculation;
            column.formula.clear();
        } else {
            m_secondLabel.clear();
        }
        SetShown(kIdFormula, IsCalculatedType(index));
        MoveValuesToControls();
    });
}

void CPropertiesPanel::CalculatedClicked()
{
    if (!m_element || m_element->m_kind != kKindTextlineVar || m_committing || !ElementInFormat(m_element))
        return;
    auto* line = static_cast<CTextlineVar*>(m_element);
    MoveValuesFromControls();
    Announced([&] {
        // Ticking or unticking always starts the calculation afresh.
        line->m_formula.clear();
        m_formula.clear();
        const bool ticked = static_cast<QCheckBox*>(Control(kIdCalculated))->isChecked();
        m_secondLabel = ticked ? kLabelCalculation : "";
        SetShown(kIdFormula, ticked);
        MoveValuesToControls();
    });
}
