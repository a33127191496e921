#pragma once

#include <QString>
#include <QVariant>
#include <initializer_list>

// Looks a message up by its English text in the program's catalogue (the text itself when
// there is no translation). xgettext extracts the arguments of i18n() and I18N_NOOP().
QString i18n(const char* english);
QString i18n(const QString& english);
#define I18N_NOOP(text) text

// While one exists, messages made on this thread are English: i18n() gives the text itself, and
// so do the system's own texts (strerror). For messages that are shown untranslated but are
// made by code that translates them.
class EnglishMessages {
public:
    EnglishMessages();
    ~EnglishMessages();
    EnglishMessages(const EnglishMessages&) = delete;
    EnglishMessages& operator=(const EnglishMessages&) = delete;

private:
    void* m_english;  // this thread's locale meanwhile (locale_t)
    void* m_previous; // and the one it had before
};

// Fills a message template the way the program's messages are written: %d (integer),
// %s (text), %x (hexadecimal), %% (a percent sign), taken from args in order.
QString formatText(const QString& pattern, std::initializer_list<QVariant> args);
