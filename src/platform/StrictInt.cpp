#include "platform/StrictInt.h"

#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/Translation.h"

#include <cstdint>

std::optional<int> tryStrToInt(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) return std::nullopt;
    const int64_t limit = negative ? int64_t(INT32_MAX) + 1 : int64_t(INT32_MAX);
    int64_t value = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > limit) return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

std::optional<int> tryStrToInt(const QString& text) {
    // Any character beyond Latin-1 cannot be part of a number; '?' keeps the failure.
    QByteArray bytes = text.toLatin1();
    return tryStrToInt(std::string_view(bytes.constData(), bytes.size()));
}

int StrToInt(const QString& text) {
    if (auto v = tryStrToInt(text)) return *v;
    throw EConvertError(formatText(i18n("'%s' is not a valid integer value"), {text}));
}

int StrToInt(std::string_view text) {
    if (auto v = tryStrToInt(text)) return *v;
    return StrToInt(CodePage::toUnicode(text)); // the message shows the text as the user wrote it
}

int StrToIntOrZero(const QString& text) {
    return tryStrToInt(text).value_or(0);
}
int StrToIntOrZero(std::string_view text) {
    return tryStrToInt(text).value_or(0);
}
