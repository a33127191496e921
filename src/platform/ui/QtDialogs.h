#pragma once

#include "platform/Dialogs.h"

// The dialog service on Qt's message boxes and input dialogs, parented to the active window.
class QtDialogs final : public Dialogs {
public:
    void information(const QString& text) override;
    void warning(const QString& text) override;
    void error(const QString& text) override;
    bool confirm(const QString& text) override;
    void messageBox(const QString& text, const QString& caption) override;
    QString inputBox(const QString& caption, const QString& prompt, const QString& defaultText) override;
    std::optional<int> inputNumber(const QString& caption, const QString& prompt, int value, int minimum,
                                   int maximum) override;
};
