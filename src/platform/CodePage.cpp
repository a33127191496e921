#include "platform/CodePage.h"

#include <QHash>
#include <QStringDecoder>
#include <array>

namespace {

struct Tables {
    std::array<char16_t, 256> toWide{};
    QHash<char16_t, unsigned char> toByte;

    Tables() {
        QStringDecoder decoder("windows-1252");
        for (int i = 0; i < 256; ++i) {
            const char byte = char(i);
            const QString s = decoder.isValid() ? decoder.decode(QByteArrayView(&byte, 1)) : QString();
            // Bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the
            // C1 control of the same value, as Windows itself does.
            toWide[i] = (s.size() == 1 && s[0] != QChar::ReplacementCharacter) ? s[0].unicode() : char16_t(i);
            decoder.resetState();
        }
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

QString toUnicode(const QByteArray& bytes) { return toUnicode(std::string_view(bytes.constData(), bytes.size())); }

QByteArray fromUnicode(const QString& text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    char* d = out.data();
    for (QChar c : text)
        *d++ = char(unicodeToChar(c).value_or('?'));
    return out;
}

QChar charToUnicode(unsigned char c) { return QChar(tables().toWide[c]); }

std::optional<unsigned char> unicodeToChar(QChar c) {
    const auto& t = tables();
    auto it = t.toByte.constFind(c.unicode());
    if (it == t.toByte.constEnd())
        return std::nullopt;
    return it.value();
}

} // namespace CodePage
