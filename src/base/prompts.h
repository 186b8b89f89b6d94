#pragma once
// Message boxes with the program's Spanish texts: an OK box, and a Yes/No question whose
// default button is No. The GUI shows them with QMessageBox; tests answer from a script.
#include <deque>
#include <string>
#include <vector>

enum class PromptIcon { Information, Warning, Error, Question };

class Prompts {
public:
    virtual ~Prompts() = default;
    virtual void Message(const std::string& text, PromptIcon icon = PromptIcon::Warning) = 0;
    // True when the user answers Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
};

// Records every text shown and answers questions from a queue; with the queue empty it
// answers No, the default button.
class ScriptedPrompts : public Prompts {
public:
    void Message(const std::string& text, PromptIcon) override { m_shown.push_back(text); }
    bool AskYesNo(const std::string& text) override
    {
        m_shown.push_back(text);
        if (m_answers.empty())
            return false;
        const bool yes = m_answers.front();
        m_answers.pop_front();
        return yes;
    }
    void QueueAnswer(bool yes) { m_answers.push_back(yes); }
    const std::vector<std::string>& Shown() const { return m_shown; }
    void ClearShown() { m_shown.clear(); }

private:
    std::deque<bool> m_answers;
    std::vector<std::string> m_shown;
};
