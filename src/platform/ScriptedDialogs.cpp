#include "platform/ScriptedDialogs.h"

QStringList ScriptedDialogs::texts() const {
    QStringList out;
    for (const auto& s : m_shown)
        out << s.text;
    return out;
}

QStringList ScriptedDialogs::texts(Kind kind) const {
    QStringList out;
    for (const auto& s : m_shown)
        if (s.kind == kind)
            out << s.text;
    return out;
}

template <typename T> std::optional<T> ScriptedDialogs::take() {
    if (m_answers.empty() || !std::holds_alternative<T>(m_answers.front()))
        return std::nullopt;
    T value = std::get<T>(m_answers.front());
    m_answers.pop_front();
    return value;
}

void ScriptedDialogs::information(const QString& text) { m_shown.push_back({Kind::Information, text, {}}); }
void ScriptedDialogs::warning(const QString& text) { m_shown.push_back({Kind::Warning, text, {}}); }
void ScriptedDialogs::error(const QString& text) { m_shown.push_back({Kind::Error, text, {}}); }

bool ScriptedDialogs::confirm(const QString& text) {
    m_shown.push_back({Kind::Confirm, text, {}});
    return take<bool>().value_or(false);
}

void ScriptedDialogs::messageBox(const QString& text, const QString& caption) {
    m_shown.push_back({Kind::MessageBox, text, caption});
}

QString ScriptedDialogs::inputBox(const QString& caption, const QString& prompt, const QString& defaultText) {
    m_shown.push_back({Kind::InputBox, prompt, caption});
    auto answer = take<std::optional<QString>>();
    if (answer && *answer)
        return **answer;
    return defaultText;
}

std::optional<int> ScriptedDialogs::inputNumber(const QString& caption, const QString& prompt, int, int minimum,
                                                int maximum) {
    m_shown.push_back({Kind::InputNumber, prompt, caption});
    auto answer = take<std::optional<int>>();
    if (!answer || !*answer)
        return std::nullopt;
    return qBound(minimum, **answer, maximum);
}

ScriptedDialogsGuard::ScriptedDialogsGuard() {
    auto scripted = std::make_unique<ScriptedDialogs>();
    m_dialogs = scripted.get();
    m_previous = setDialogs(std::move(scripted));
}

ScriptedDialogsGuard::~ScriptedDialogsGuard() { setDialogs(std::move(m_previous)); }
