#include "drills/DrillText.h"

#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/RegularFile.h"
#include "platform/RtfText.h"
#include "platform/Translation.h"

#include <QStringDecoder>

namespace DrillText {

QByteArray fromUnicode(const QString& text) {
    QByteArray out;
    out.reserve(text.size() + text.size() / 32);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c < 0x7F) { // the code page keeps ASCII as it is
            out += char(c);
        } else if (c == u'\r' || c == u'\n' || c == 0x2028 || c == 0x2029) {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            out += "\r\n";
        } else if (c == u'\t') {
            out += '\t';
        } else if (c < 0x20 || c == 0x7F) {
            continue;
        } else if (QChar::isHighSurrogate(c)) {
            out += '?'; // one character outside the code page; its low half follows
            if (i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
        } else if (const auto code = CodePage::unicodeToChar(QChar(c))) {
            out += char(*code);
        } else {
            out += '?';
        }
    }
    return out;
}

QString decodeFile(const QByteArray& bytes) {
    if (RtfText::isRtf(bytes)) return RtfText::plainText(bytes);
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringDecoder::Utf16);
        return utf16.decode(bytes);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
    return CodePage::toUnicode(bytes);
}

void checkLength(qint64 length) {
    if (length > MaxTextLength)
        throw EInOutError(formatText(i18n("The text is too long to practise: %d characters (at most %d)."),
                                     {length, MaxTextLength}));
}

QByteArray loadFile(const QString& path) {
    // One byte is at most one character in every encoding read here, so the file's limit in
    // bytes keeps the text within the limit in characters.
    return fromUnicode(decodeFile(RegularFile::read(path, MaxTextLength)));
}

} // namespace DrillText
