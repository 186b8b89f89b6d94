#include "platform/calc_edit.h"

#include <QPointer>
#include <QValidator>
#include <cmath>
#include <cstdlib>

namespace {

QString FromUtf8(const std::string& s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

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

// Refuses an edit that would make the box edit's text longer than it may grow.
class LengthLimit : public QValidator {
public:
    explicit LengthLimit(CBoxEdit* edit) : QValidator(edit), m_edit(edit) {}
    State validate(QString& input, int&) const override
    {
        return input.size() <= m_edit->Allowance() ? Acceptable : Invalid;
    }

private:
    CBoxEdit* m_edit;
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
        m_edit.get()->setText(FromUtf8(utf8));
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

CCalcEdit::CCalcEdit(int controlId, QWidget* parent) : QLineEdit(parent), m_controlId(controlId) {}

void CCalcEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    emit fieldLeft(m_controlId);
}

CParagraphEdit::CParagraphEdit(int controlId, QWidget* parent) : QPlainTextEdit(parent), m_controlId(controlId)
{
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

std::string CParagraphEdit::Value() const
{
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return ToUtf8(text);
}

void CParagraphEdit::SetValue(const std::string& utf8)
{
    QString text = FromUtf8(utf8);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    setPlainText(text);
}

CBoxEdit::CBoxEdit(int controlId, int maxChars, QWidget* parent)
    : QLineEdit(parent), m_controlId(controlId), m_maxChars(maxChars), m_allowance(maxChars)
{
    setValidator(new LengthLimit(this));
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_allowance = std::max(m_maxChars, std::min(m_allowance, int(text.size())));
    });
}

void CBoxEdit::SetValue(const std::string& utf8)
{
    const QString text = FromUtf8(utf8);
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
