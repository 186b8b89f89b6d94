#pragma once
// The capture screen's entry controls: Qt widgets behind the entry-control interface.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "base/entry_control.h"

// Window message number of the field-left notification; the capture screen keeps it as
// the name of the signal that recomputes the calculated fields.
inline constexpr int kWmFieldLeft = 1170;

// Every entry control that takes text refuses a character the captured-data file cannot
// hold (Windows-1252 has no "Ł" or "✓"): the clerk hears a beep and reads, at the control
// and in the status bar, which character cannot be kept.
void ReportUnkeepableCharacter(QWidget* control, const std::string& character);

// The text line's edit: single line, scrolls horizontally as the user types, and tells
// whoever listens that the user has left the field (with its control id) when the
// keyboard focus moves from it to another control, after the edit's own focus handling.
// A menu opening or another window (a dialog, another program) taking the keyboard is
// no move of the clerk: the focus comes back to the field afterwards, and nothing is
// told.
class CCalcEdit : public QLineEdit {
    Q_OBJECT
public:
    CCalcEdit(int controlId, QWidget* parent);
    int ControlId() const { return m_controlId; }
    // Why the field's value cannot be used (shown as a red frame, its tool tip and its
    // accessible description); empty when it can.
    void SetProblem(const QString& problem);
    const QString& Problem() const { return m_problem; }

signals:
    void fieldLeft(int controlId);

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int m_controlId;
    QString m_problem;
};

// The variable paragraph's edit: several lines, scrolls vertically, Enter breaks the line.
// Its text is handed out with the stored line break (CR LF).
class CParagraphEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    CParagraphEdit(int controlId, QWidget* parent);
    int ControlId() const { return m_controlId; }
    std::string Value() const;
    void SetValue(const std::string& utf8);

protected:
    // Typed, composed and pasted text holding a character the captured-data file cannot
    // hold is refused whole, as the line edits refuse it.
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    bool Refuses(const QString& text);
    int m_controlId;
};

// The boxes' edit: a single line that takes no more characters than there are boxes.
// The limit stops typing only: a longer value set from a captured-data file is kept
// whole (and may be shortened by the user, never lengthened).
class CBoxEdit : public QLineEdit {
    Q_OBJECT
public:
    CBoxEdit(int controlId, int maxChars, QWidget* parent);
    int ControlId() const { return m_controlId; }
    int MaxChars() const { return m_maxChars; }
    // Sets the text whatever its length.
    void SetValue(const std::string& utf8);
    // The longest text an edit may produce: the box count, or the length of a longer
    // value that was set, as far as the user has shortened it since.
    int Allowance() const { return m_allowance; }

private:
    int m_controlId;
    int m_maxChars;
    int m_allowance;
};

// The check mark's control: a check box without caption that ticks itself on a click.
class CMarkCheck : public QCheckBox {
    Q_OBJECT
public:
    CMarkCheck(int controlId, QWidget* parent);
    int ControlId() const { return m_controlId; }

private:
    int m_controlId;
};

// Creates the controls as visible children of the capture screen's form widget, at their
// screen rectangles, with the lent font, and passes on every text line's field-left.
class QtEntryFactory : public QObject, public EntryFactory {
    Q_OBJECT
public:
    explicit QtEntryFactory(QWidget* parent);
    std::unique_ptr<TextEntry> CreateTextEntry(const TextEntryParams& params) override;
    std::unique_ptr<CheckEntry> CreateCheckEntry(const CheckEntryParams& params) override;

signals:
    void fieldLeft(int controlId);

private:
    QWidget* m_parent;
};

// Every entry control widget carries its control id, so the capture screen can find its
// controls by id (tab order, focus) whatever their class. 0 for any other widget.
void MarkEntryControl(QWidget* widget, int controlId);
int EntryControlId(const QWidget* widget);

// The Qt font of a font record whose height is a cell height in screen pixels.
QFont ScreenFontFromRecord(const LogFont& record);
