#pragma once
// The data-entry controls a variable element owns on the capture screen. The capture
// screen creates Qt widgets behind these interfaces; ordexa-cli and the tests use plain
// in-memory objects. An element keeps its captured value nowhere but in its control.
#include <memory>
#include <string>

#include "geometry.h"
#include "log_font.h"
#include "text_layout.h"

class EntryControl {
public:
    virtual ~EntryControl() = default;
    virtual int ControlId() const = 0;
};

// Single-line, multi-line and box edits.
class TextEntry : public EntryControl {
public:
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& utf8) = 0;
};

class CheckEntry : public EntryControl {
public:
    virtual bool IsChecked() const = 0;
    virtual void SetChecked(bool checked) = 0;
};

// What kind of edit an element asks for.
enum class TextEntryKind { CalcLine, Paragraph, Boxes };

struct TextEntrySpec {
    TextEntryKind kind = TextEntryKind::CalcLine;
    Rect rcScreen;
    int controlId = 0;
    int maxLength = 0;  // 0: no limit (boxes: the box count)
    LogFont font;       // the screen font lent by the capture screen
};

struct CheckEntrySpec {
    Rect rcScreen;
    int controlId = 0;
    LogFont font;
};

// The parent a capture screen lends to the elements: it makes the controls and tells the
// view when a text line loses the focus (the field-left notification).
class EntryFactory {
public:
    virtual ~EntryFactory() = default;
    virtual std::unique_ptr<TextEntry> CreateTextEntry(const TextEntrySpec& spec) = 0;
    virtual std::unique_ptr<CheckEntry> CreateCheckEntry(const CheckEntrySpec& spec) = 0;
};

// Plain in-memory controls, for ordexa-cli and tests.
class MemoryTextEntry : public TextEntry {
public:
    explicit MemoryTextEntry(const TextEntrySpec& spec) : m_spec(spec) {}
    int ControlId() const override { return m_spec.controlId; }
    std::string Text() const override { return m_text; }
    void SetText(const std::string& utf8) override { m_text = utf8; }
    // Replaces the text as a user typing it would: the box edit takes no more characters
    // than its limit (setting the text directly, as loading does, is not limited).
    void Type(const std::string& utf8)
    {
        m_text.clear();
        const auto chars = SplitCharacters(utf8);
        for (size_t i = 0; i < chars.size() && (m_spec.maxLength <= 0 || int(i) < m_spec.maxLength); ++i)
            m_text += chars[i];
    }
    const TextEntrySpec& Spec() const { return m_spec; }

private:
    TextEntrySpec m_spec;
    std::string m_text;
};

class MemoryCheckEntry : public CheckEntry {
public:
    explicit MemoryCheckEntry(const CheckEntrySpec& spec) : m_spec(spec) {}
    int ControlId() const override { return m_spec.controlId; }
    bool IsChecked() const override { return m_checked; }
    void SetChecked(bool checked) override { m_checked = checked; }

private:
    CheckEntrySpec m_spec;
    bool m_checked = false;
};

class MemoryEntryFactory : public EntryFactory {
public:
    std::unique_ptr<TextEntry> CreateTextEntry(const TextEntrySpec& spec) override
    {
        return std::make_unique<MemoryTextEntry>(spec);
    }
    std::unique_ptr<CheckEntry> CreateCheckEntry(const CheckEntrySpec& spec) override
    {
        return std::make_unique<MemoryCheckEntry>(spec);
    }
};
