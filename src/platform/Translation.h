#pragma once

#include <QString>
#include <QVariant>
#include <initializer_list>

// Looks a message up by its English text in the program's catalogue (the text itself when
// there is no translation). xgettext extracts the arguments of i18n() and I18N_NOOP().
QString i18n(const char* english);
QString i18n(const QString& english);
#define I18N_NOOP(text) text

// Fills a message template the way the program's messages are written: %d (integer),
// %s (text), %x (hexadecimal), %% (a percent sign), taken from args in order.
QString formatText(const QString& pattern, std::initializer_list<QVariant> args);
