#pragma once

#include "platform/Dialogs.h"

#include <QStringList>
#include <deque>
#include <variant>
#include <vector>

// A dialog service for tests: records every message and prompt shown, and answers questions
// and prompts from a script, in order. A question with no scripted answer is answered No,
// a prompt with no scripted answer is cancelled.
class ScriptedDialogs final : public Dialogs {
public:
    enum class Kind { Information, Warning, Error, Confirm, MessageBox, InputBox, InputNumber };
    struct Shown {
        Kind kind;
        QString text;    // message, question or prompt
        QString caption; // caption of a message box or prompt
    };
    // A Boolean answers confirm(); a string answers inputBox() (std::nullopt cancels);
    // an int answers inputNumber().
    using Answer = std::variant<bool, std::optional<QString>, std::optional<int>>;

    void answerYes() { m_answers.emplace_back(true); }
    void answerNo() { m_answers.emplace_back(false); }
    void answerText(const QString& text) { m_answers.emplace_back(std::optional<QString>(text)); }
    void cancelText() { m_answers.emplace_back(std::optional<QString>()); }
    void answerNumber(int value) { m_answers.emplace_back(std::optional<int>(value)); }
    void cancelNumber() { m_answers.emplace_back(std::optional<int>()); }

    const std::vector<Shown>& shown() const { return m_shown; }
    QStringList texts() const;
    QStringList texts(Kind kind) const;
    size_t pendingAnswers() const { return m_answers.size(); }
    void clear() {
        m_shown.clear();
        m_answers.clear();
    }

    void information(const QString& text) override;
    void warning(const QString& text) override;
    void error(const QString& text) override;
    bool confirm(const QString& text) override;
    void messageBox(const QString& text, const QString& caption) override;
    QString inputBox(const QString& caption, const QString& prompt, const QString& defaultText) override;
    std::optional<int> inputNumber(const QString& caption, const QString& prompt, int value, int minimum,
                                   int maximum) override;

private:
    template <typename T> std::optional<T> take();

    std::vector<Shown> m_shown;
    std::deque<Answer> m_answers;
};

// Installs a ScriptedDialogs for the lifetime of the guard and restores the previous service.
class ScriptedDialogsGuard {
public:
    ScriptedDialogsGuard();
    ~ScriptedDialogsGuard();
    ScriptedDialogsGuard(const ScriptedDialogsGuard&) = delete;
    ScriptedDialogsGuard& operator=(const ScriptedDialogsGuard&) = delete;
    ScriptedDialogs& operator*() { return *m_dialogs; }
    ScriptedDialogs* operator->() { return m_dialogs; }

private:
    ScriptedDialogs* m_dialogs;
    std::unique_ptr<Dialogs> m_previous;
};
