#include "platform/RtfText.h"

#include "platform/CodePage.h"

#include <QSet>
#include <vector>

namespace RtfText {

namespace {

// Destinations whose contents are never body text.
bool isSkippedDestination(const QByteArray& word) {
    static const QSet<QByteArray> skipped = {
        "fonttbl",
        "colortbl",
        "stylesheet",
        "info",
        "pict",
        "object",
        "header",
        "headerl",
        "headerr",
        "headerf",
        "footer",
        "footerl",
        "footerr",
        "footerf",
        "footnote",
        "themedata",
        "colorschememapping",
        "datastore",
        "latentstyles",
        "listtable",
        "listoverridetable",
        "rsidtbl",
        "generator",
        "xmlnstbl",
        "fldinst",
        "filetbl",
        "revtbl",
        "pgdsctbl",
        "listtext",
        "pntext",
        "nonshppict",
        "bkmkstart",
        "bkmkend",
        "atnid",
        "atnauthor",
        "annotation",
        "userprops",
        "docvar",
        "private",
        "mmathPr",
        "wgrffmtfilter",
    };
    return skipped.contains(word);
}

struct GroupState {
    bool skip = false;
    int unicodeFallback = 1; // \ucN: characters that follow \uN as its fallback
};

class Reader {
public:
    explicit Reader(const QByteArray& rtf) : m_in(rtf) {}

    QString run() {
        m_out.reserve(m_in.size() / 2);
        while (m_pos < m_in.size()) {
            const char c = m_in[m_pos++];
            switch (c) {
            case '{':
                m_stack.push_back(m_state);
                break;
            case '}':
                // An extra closing brace of a damaged document is ignored.
                if (!m_stack.empty()) {
                    m_state = m_stack.back();
                    m_stack.pop_back();
                }
                m_pendingSkip = 0;
                break;
            case '\\':
                controlSequence();
                break;
            case '\r':
            case '\n':
                break; // line breaks of the file itself are no text
            default:
                literal(CodePage::charToUnicode(static_cast<unsigned char>(c)));
                break;
            }
        }
        if (m_out.endsWith(u'\n')) m_out.chop(1); // the document's closing paragraph mark
        return m_out;
    }

private:
    void put(QChar ch) {
        if (!m_state.skip) m_out += ch;
    }

    // A character of the text; the first ones after \uN are its fallback and are dropped.
    void literal(QChar ch) {
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        put(ch);
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static int hexValue(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    void controlSequence() {
        if (m_pos >= m_in.size()) return;
        const char c = m_in[m_pos];
        if (!isLetter(c)) {
            ++m_pos;
            controlSymbol(c);
            return;
        }
        const qsizetype start = m_pos;
        while (m_pos < m_in.size() && isLetter(m_in[m_pos]) && m_pos - start < 32)
            ++m_pos;
        const QByteArray word = m_in.mid(start, m_pos - start);
        bool hasParam = false;
        bool negative = false;
        long long param = 0;
        if (m_pos < m_in.size() && m_in[m_pos] == '-') {
            negative = true;
            ++m_pos;
        }
        int digits = 0;
        while (m_pos < m_in.size() && m_in[m_pos] >= '0' && m_in[m_pos] <= '9') {
            if (digits < 10) param = param * 10 + (m_in[m_pos] - '0');
            ++digits;
            ++m_pos;
        }
        hasParam = digits > 0;
        if (negative) param = -param;
        if (m_pos < m_in.size() && m_in[m_pos] == ' ') ++m_pos; // the delimiting space
        controlWord(word, hasParam, param);
    }

    void controlSymbol(char c) {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            literal(QChar(c));
            break;
        case '\'': {
            const int high = m_pos < m_in.size() ? hexValue(m_in[m_pos]) : -1;
            const int low = m_pos + 1 < m_in.size() ? hexValue(m_in[m_pos + 1]) : -1;
            if (m_pos + 1 >= m_in.size()) { // the document ends inside the escape
                m_pos = m_in.size();
                return;
            }
            if (high < 0 || low < 0) return;
            m_pos += 2;
            literal(CodePage::charToUnicode(static_cast<unsigned char>(high * 16 + low)));
            break;
        }
        case '*':
            m_state.skip = true;
            break;
        case '~':
            literal(QChar(0xA0));
            break;
        case '_':
            literal(QChar(u'-'));
            break;
        case '\r':
        case '\n':
            literal(QChar(u'\n'));
            break;
        default:
            break; // \- (optional hyphen), \| and the like show nothing
        }
    }

    void controlWord(const QByteArray& word, bool hasParam, long long param) {
        if (isSkippedDestination(word)) {
            m_state.skip = true;
            return;
        }
        if (word == "par" || word == "line" || word == "sect" || word == "page" || word == "row") {
            literal(QChar(u'\n'));
        } else if (word == "tab" || word == "cell") {
            literal(QChar(u'\t'));
        } else if (word == "u" && hasParam) {
            const int code = int(param < 0 ? param + 65536 : param);
            if (m_pendingSkip == 0) put(QChar(char16_t(code & 0xFFFF)));
            m_pendingSkip = m_state.unicodeFallback;
            return;
        } else if (word == "uc" && hasParam) {
            m_state.unicodeFallback = param < 0 ? 0 : int(std::min<long long>(param, 16));
        } else if (word == "bin" && hasParam) {
            // Binary data of the given length follows; it is never text.
            const qsizetype skip = param > 0 ? qsizetype(param) : 0;
            m_pos = std::min(m_in.size(), m_pos + skip);
        } else if (word == "emdash") {
            literal(QChar(0x2014));
        } else if (word == "endash") {
            literal(QChar(0x2013));
        } else if (word == "bullet") {
            literal(QChar(0x2022));
        } else if (word == "lquote") {
            literal(QChar(0x2018));
        } else if (word == "rquote") {
            literal(QChar(0x2019));
        } else if (word == "ldblquote") {
            literal(QChar(0x201C));
        } else if (word == "rdblquote") {
            literal(QChar(0x201D));
        } else if (word == "emspace" || word == "enspace" || word == "qmspace") {
            literal(QChar(u' '));
        }
        // Every other control word (formatting) shows nothing.
    }

    const QByteArray& m_in;
    qsizetype m_pos = 0;
    QString m_out;
    GroupState m_state;
    std::vector<GroupState> m_stack;
    int m_pendingSkip = 0;
};

} // namespace

bool isRtf(const QByteArray& bytes) {
    qsizetype i = 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return bytes.mid(i, 5) == "{\\rtf";
}

QString plainText(const QByteArray& rtf) {
    return Reader(rtf).run();
}

} // namespace RtfText
