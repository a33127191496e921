#include "platform/CodePage.h"

#include <QHash>
#include <array>

namespace {

struct Tables {
    std::array<char16_t, 256> toWide{};
    QHash<char16_t, unsigned char> toByte;

    Tables() {
        // Windows-1252 is Latin-1 but for 0x80..0x9F. The five bytes it leaves undefined
        // (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value, as Windows
        // itself does.
        static constexpr char16_t high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                              0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
        for (int i = 0; i < 256; ++i)
            toWide[i] = (i >= 0x80 && i < 0xA0) ? high[i - 0x80] : char16_t(i);
        for (int i = 255; i >= 0; --i)
            toByte.insert(toWide[i], static_cast<unsigned char>(i));
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

} // namespace

namespace CodePage {

QString toUnicode(std::string_view bytes) {
    const auto& t = tables();
    QString out(qsizetype(bytes.size()), Qt::Uninitialized);
    QChar* d = out.data();
    for (unsigned char c : bytes)
        *d++ = QChar(t.toWide[c]);
    return out;
}

QString toUnicode(const QByteArray& bytes) {
    return toUnicode(std::string_view(bytes.constData(), bytes.size()));
}

QByteArray fromUnicode(const QString& text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    char* d = out.data();
    for (QChar c : text)
        *d++ = char(unicodeToChar(c).value_or('?'));
    return out;
}

QChar charToUnicode(unsigned char c) {
    return QChar(tables().toWide[c]);
}

std::optional<unsigned char> unicodeToChar(QChar c) {
    const auto& t = tables();
    auto it = t.toByte.constFind(c.unicode());
    if (it == t.toByte.constEnd()) return std::nullopt;
    return it.value();
}

} // namespace CodePage
