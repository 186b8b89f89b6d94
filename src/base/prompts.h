#pragma once
// Message boxes with the program's Spanish texts: an OK box, and a Yes/No question whose
// default button is No. The GUI shows them with QMessageBox; tests answer from a script.
#include <deque>
#include <functional>
#include <string>
#include <vector>

enum class PromptIcon { Information, Warning, Error, Question };
enum class PromptAnswer { Yes, No, Cancel };

class Prompts {
public:
    virtual ~Prompts() = default;
    virtual void Message(const std::string& text, PromptIcon icon = PromptIcon::Warning) = 0;
    // True when the user answers Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // A question with Yes, No and Cancel ("¿Desea guardar los cambios...?"); Yes is the
    // default button.
    virtual PromptAnswer AskYesNoCancel(const std::string& text) = 0;
};

// Before work would be lost: asks `question` (Sí / No / Cancelar) and saves through `save`
// on Sí. True when the caller may go on (saved, or the clerk chose not to save); false
// when the clerk cancelled or the save failed.
inline bool SaveBeforeLosing(Prompts& prompts, const std::string& question, const std::function<bool()>& save)
{
    switch (prompts.AskYesNoCancel(question)) {
    case PromptAnswer::Yes:
        return save();
    case PromptAnswer::No:
        return true;
    case PromptAnswer::Cancel:
        break;
    }
    return false;
}

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
    // Three-way questions take their answers from a queue of their own; with it empty
    // they answer Cancel, so an unexpected question never throws work away.
    PromptAnswer AskYesNoCancel(const std::string& text) override
    {
        m_shown.push_back(text);
        if (m_choices.empty())
            return PromptAnswer::Cancel;
        const PromptAnswer answer = m_choices.front();
        m_choices.pop_front();
        return answer;
    }
    void QueueAnswer(bool yes) { m_answers.push_back(yes); }
    void QueueChoice(PromptAnswer answer) { m_choices.push_back(answer); }
    const std::vector<std::string>& Shown() const { return m_shown; }
    void ClearShown() { m_shown.clear(); }

private:
    std::deque<bool> m_answers;
    std::deque<PromptAnswer> m_choices;
    std::vector<std::string> m_shown;
};
