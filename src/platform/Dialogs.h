#pragma once

#include <QString>
#include <memory>
#include <optional>

// Every modal message and prompt of the program goes through this one service, so that tests
// can answer prompts and read what was shown. Texts arrive already translated (or deliberately
// untranslated); the service adds nothing but the window around them.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual void information(const QString& text) = 0;
    virtual void warning(const QString& text) = 0;
    virtual void error(const QString& text) = 0;
    // Yes/No question; true for Yes.
    virtual bool confirm(const QString& text) = 0;
    // A plain box with OK and no icon.
    virtual void messageBox(const QString& text, const QString& caption) = 0;
    // The edited text when confirmed, the default entry when cancelled.
    virtual QString inputBox(const QString& caption, const QString& prompt, const QString& defaultText) = 0;
    // A whole number within [minimum, maximum]; nothing when cancelled.
    virtual std::optional<int> inputNumber(const QString& caption, const QString& prompt, int value,
                                           int minimum, int maximum) = 0;
};

// The service in use. Until one is installed, a service that shows nothing and answers
// every question with its default (No, the default entry, nothing) stands in.
Dialogs& dialogs();
// Installs a service and returns the previous one.
std::unique_ptr<Dialogs> setDialogs(std::unique_ptr<Dialogs> service);
