#include "platform/TextLines.h"

#include "platform/RegularFile.h"

#include <algorithm>

std::vector<QByteArray> splitLines(const QByteArray& text) {
    const TextLines lines(text);
    std::vector<QByteArray> result;
    result.reserve(size_t(lines.size()));
    for (const QByteArrayView line : lines)
        result.push_back(line.toByteArray());
    return result;
}

TextLines::TextLines(QByteArray text) : m_text(std::move(text)) {
    // Counted first, so that the starts take exactly their room and are never copied to grow.
    qsizetype count = 0;
    forEachLine(m_text, [&count](QByteArrayView) { ++count; });
    m_starts.reserve(size_t(count));
    const char* first = m_text.constData();
    forEachLine(m_text,
                [this, first](QByteArrayView line) { m_starts.push_back(quint32(line.data() - first)); });
}

QByteArrayView TextLines::view(qsizetype index) const {
    const char* begin = m_text.constData() + m_starts[size_t(index)];
    const char* limit = m_text.constData() + m_text.size();
    const char* end = std::find_if(begin, limit, [](char c) { return c == '\r' || c == '\n'; });
    return QByteArrayView(begin, end - begin);
}

TextLines loadLines(const QString& path) {
    return TextLines(RegularFile::read(path, MaxTextFileSize));
}
