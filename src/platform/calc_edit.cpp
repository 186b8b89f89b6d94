#include "platform/calc_edit.h"

#include <QFocusEvent>
#include <QPainter>
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPointer>
#include <QStatusTipEvent>
#include <QToolTip>
#include <QValidator>
#include <cmath>
#include <cstdlib>

#include "base/cp1252.h"

namespace {

std::string ToUtf8(const QString& s)
{
    return s.toUtf8().toStdString();
}

void PlaceChild(QWidget* widget, const Rect& rc, const LogFont& font)
{
    const Rect n = rc.Normalized();
    widget->setGeometry(n.left, n.top, n.Width(), n.Height());
    widget->setFont(ScreenFontFromRecord(font));
    widget->setFocusPolicy(Qt::StrongFocus);
    widget->show();
}

// Refuses an edit that would put into a line edit a character the captured-data file
// cannot hold (and, for a box edit, an edit that would make its text longer than it may
// grow). Qt keeps the text as it was when the validator says Invalid, for typed keys and
// pasted text alike.
class KeepableText : public QValidator {
public:
    explicit KeepableText(QLineEdit* edit, CBoxEdit* boxes = nullptr) : QValidator(edit), m_edit(edit), m_boxes(boxes) {}
    State validate(QString& input, int&) const override
    {
        if (m_boxes && input.size() > m_boxes->Allowance())
            return Invalid;
        const std::string bad = cp1252::FirstUnencodable(ToUtf8(input));
        if (bad.empty())
            return Acceptable;
        ReportUnkeepableCharacter(m_edit, bad);
        return Invalid;
    }

private:
    QLineEdit* m_edit;
    CBoxEdit* m_boxes;
};

// The element owns its control; the widget lives among the form's children and goes
// when the element goes (or earlier, with the form).
template <class Widget>
class OwnedWidget {
public:
    explicit OwnedWidget(Widget* w) : m_widget(w) {}
    ~OwnedWidget() { delete m_widget.data(); }
    Widget* get() const { return m_widget.data(); }

private:
    QPointer<Widget> m_widget;
};

class LineEntry : public TextEntry {
public:
    LineEntry(QLineEdit* edit, int id) : m_edit(edit), m_id(id) {}
    int ControlId() const override { return m_id; }
    std::string Text() const override { return m_edit.get() ? ToUtf8(m_edit.get()->text()) : std::string(); }
    void SetText(const std::string& utf8) override
    {
        if (!m_edit.get())
            return;
        m_edit.get()->setText(QString::fromStdString(utf8));
        // A value filled from other fields is read from its start (an address's scheme
        // and host), not from the end where setting the text leaves the cursor.
        if (m_edit.get()->isReadOnly())
            m_edit.get()->setCursorPosition(0);
    }

private:
    OwnedWidget<QLineEdit> m_edit;
    int m_id;
};

class BoxEntry : public TextEntry {
public:
    BoxEntry(CBoxEdit* edit, int id) : m_edit(edit), m_id(id) {}
    int ControlId() const override { return m_id; }
    std::string Text() const override { return m_edit.get() ? ToUtf8(m_edit.get()->text()) : std::string(); }
    void SetText(const std::string& utf8) override
    {
        if (m_edit.get())
            m_edit.get()->SetValue(utf8);
    }

private:
    OwnedWidget<CBoxEdit> m_edit;
    int m_id;
};

class ParagraphEntry : public TextEntry {
public:
    ParagraphEntry(CParagraphEdit* edit, int id) : m_edit(edit), m_id(id) {}
    int ControlId() const override { return m_id; }
    std::string Text() const override { return m_edit.get() ? m_edit.get()->Value() : std::string(); }
    void SetText(const std::string& utf8) override
    {
        if (m_edit.get())
            m_edit.get()->SetValue(utf8);
    }

private:
    OwnedWidget<CParagraphEdit> m_edit;
    int m_id;
};

class MarkEntry : public CheckEntry {
public:
    MarkEntry(CMarkCheck* box, int id) : m_box(box), m_id(id) {}
    int ControlId() const override { return m_id; }
    bool IsChecked() const override { return m_box.get() && m_box.get()->isChecked(); }
    void SetChecked(bool checked) override
    {
        if (m_box.get())
            m_box.get()->setChecked(checked);
    }

private:
    OwnedWidget<CMarkCheck> m_box;
    int m_id;
};

}  // namespace

QFont ScreenFontFromRecord(const LogFont& record)
{
    QFont font(QString::fromUtf8(record.face.c_str()));
    font.setWeight(QFont::Weight(record.weight <= 0 ? 400 : std::min(record.weight, 1000)));
    font.setItalic(record.italic != 0);
    font.setUnderline(record.underline != 0);
    font.setStrikeOut(record.strikeOut != 0);
    // A positive height is the cell (ascent + descent); a negative one the em.
    constexpr int kReferencePx = 1000;
    font.setPixelSize(kReferencePx);
    const QFontMetricsF reference(font);
    const double cellPerPx = (reference.ascent() + reference.descent()) / kReferencePx;
    const int height = record.height == 0 ? 14 : record.height;
    const double px = height > 0 ? height / cellPerPx : -height;
    font.setPixelSize(std::max(1, int(std::lround(px))));
    return font;
}

void ReportUnkeepableCharacter(QWidget* control, const std::string& character)
{
    const QString text = QString::fromStdString(cp1252::CannotKeepMessage(character));
    QApplication::beep();
    // Said at the control, where the clerk is looking (as a paragraph, which the tip
    // wraps), and in the window's status bar.
    QString paragraph = text;
    paragraph.replace(QLatin1Char('&'), QLatin1String("&amp;")).replace(QLatin1Char('<'), QLatin1String("&lt;"));
    QToolTip::showText(control->mapToGlobal(QPoint(0, control->height())), QStringLiteral("<p>%1</p>").arg(paragraph),
                       control);
    QStatusTipEvent tip(text);
    QCoreApplication::sendEvent(control, &tip);
}

CCalcEdit::CCalcEdit(int controlId, QWidget* parent) : QLineEdit(parent), m_controlId(controlId)
{
    setValidator(new KeepableText(this));
}

void CCalcEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    emit fieldLeft(m_controlId);
}

void CCalcEdit::SetProblem(const QString& problem)
{
    if (problem == m_problem)
        return;
    m_problem = problem;
    setToolTip(problem);
    setAccessibleDescription(problem);
    update();
}

void CCalcEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    if (m_problem.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(QPen(QColor(200, 0, 0), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

CParagraphEdit::CParagraphEdit(int controlId, QWidget* parent) : QPlainTextEdit(parent), m_controlId(controlId)
{
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

bool CParagraphEdit::Refuses(const QString& text)
{
    const std::string bad = cp1252::FirstUnencodable(ToUtf8(text));
    if (bad.empty())
        return false;
    ReportUnkeepableCharacter(this, bad);
    return true;
}

void CParagraphEdit::keyPressEvent(QKeyEvent* event)
{
    if (!event->text().isEmpty() && Refuses(event->text()))
        return;
    QPlainTextEdit::keyPressEvent(event);
}

void CParagraphEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (Refuses(event->commitString())) {
        event->setCommitString(QString());
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void CParagraphEdit::insertFromMimeData(const QMimeData* source)
{
    if (source->hasText() && Refuses(source->text()))
        return;
    QPlainTextEdit::insertFromMimeData(source);
}

std::string CParagraphEdit::Value() const
{
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return ToUtf8(text);
}

void CParagraphEdit::SetValue(const std::string& utf8)
{
    QString text = QString::fromStdString(utf8);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    setPlainText(text);
}

CBoxEdit::CBoxEdit(int controlId, int maxChars, QWidget* parent)
    : QLineEdit(parent), m_controlId(controlId), m_maxChars(maxChars), m_allowance(maxChars)
{
    setValidator(new KeepableText(this, this));
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_allowance = std::max(m_maxChars, std::min(m_allowance, int(text.size())));
    });
}

void CBoxEdit::SetValue(const std::string& utf8)
{
    const QString text = QString::fromStdString(utf8);
    m_allowance = std::max(m_maxChars, int(text.size()));
    setText(text);
}

CMarkCheck::CMarkCheck(int controlId, QWidget* parent) : QCheckBox(parent), m_controlId(controlId) {}

QtEntryFactory::QtEntryFactory(QWidget* parent) : QObject(parent), m_parent(parent) {}

std::unique_ptr<TextEntry> QtEntryFactory::CreateTextEntry(const TextEntryParams& params)
{
    switch (params.kind) {
    case TextEntryKind::CalcLine: {
        auto* edit = new CCalcEdit(params.controlId, m_parent);
        // A value filled from other fields is shown, not typed.
        edit->setReadOnly(params.readOnly);
        connect(edit, &CCalcEdit::fieldLeft, this, &QtEntryFactory::fieldLeft);
        MarkEntryControl(edit, params.controlId);
        PlaceChild(edit, params.rcScreen, params.font);
        return std::make_unique<LineEntry>(edit, params.controlId);
    }
    case TextEntryKind::Paragraph: {
        auto* edit = new CParagraphEdit(params.controlId, m_parent);
        MarkEntryControl(edit, params.controlId);
        PlaceChild(edit, params.rcScreen, params.font);
        return std::make_unique<ParagraphEntry>(edit, params.controlId);
    }
    case TextEntryKind::Boxes: {
        auto* edit = new CBoxEdit(params.controlId, params.maxLength > 0 ? params.maxLength : 32767, m_parent);
        MarkEntryControl(edit, params.controlId);
        PlaceChild(edit, params.rcScreen, params.font);
        return std::make_unique<BoxEntry>(edit, params.controlId);
    }
    }
    return nullptr;
}

std::unique_ptr<CheckEntry> QtEntryFactory::CreateCheckEntry(const CheckEntryParams& params)
{
    auto* box = new CMarkCheck(params.controlId, m_parent);
    MarkEntryControl(box, params.controlId);
    PlaceChild(box, params.rcScreen, params.font);
    return std::make_unique<MarkEntry>(box, params.controlId);
}

namespace {
// The dynamic property that carries an entry control's id on its widget.
constexpr const char* kControlIdProperty = "ordexaControlId";
}  // namespace

void MarkEntryControl(QWidget* widget, int controlId)
{
    widget->setProperty(kControlIdProperty, controlId);
}

int EntryControlId(const QWidget* widget)
{
    return widget ? widget->property(kControlIdProperty).toInt() : 0;
}
