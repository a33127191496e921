#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <iterator>
#include <vector>

// Splits 8-bit text into lines; a line ends at CR, LF or CR LF. A last line without an end is
// kept; a text that ends with a line end has no empty line after it.
std::vector<QByteArray> splitLines(const QByteArray& text);

// Calls found(line) for every line of the text, split as splitLines does, without copying.
template <typename Found> void forEachLine(QByteArrayView text, Found found) {
    const char* p = text.data();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] == '\r' || p[i] == '\n') {
            found(QByteArrayView(p + start, i - start));
            if (p[i] == '\r' && i + 1 < n && p[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < n) found(QByteArrayView(p + start, n - start));
}

// The lines of an 8-bit text (split as splitLines does), kept compactly: the text itself and where
// each line starts, 4 bytes a line. A file of millions of short or empty lines so costs at most
// 5 bytes of memory for each of its bytes, where one byte array a line would cost some 30.
class TextLines {
public:
    TextLines() = default;
    explicit TextLines(QByteArray text);

    qsizetype size() const { return qsizetype(m_starts.size()); }
    bool empty() const { return m_starts.empty(); }
    QByteArrayView view(qsizetype index) const;
    QByteArray operator[](qsizetype index) const { return view(index).toByteArray(); }

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = QByteArrayView;
        using difference_type = qsizetype;
        using pointer = void;
        using reference = QByteArrayView;
        const_iterator(const TextLines* lines, qsizetype index) : m_lines(lines), m_index(index) {}
        QByteArrayView operator*() const { return m_lines->view(m_index); }
        const_iterator& operator++() {
            ++m_index;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++m_index;
            return before;
        }
        bool operator==(const const_iterator& other) const { return m_index == other.m_index; }
        bool operator!=(const const_iterator& other) const { return m_index != other.m_index; }

    private:
        const TextLines* m_lines;
        qsizetype m_index;
    };
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size()); }

private:
    QByteArray m_text;
    std::vector<quint32> m_starts;
};

// The largest course, practice or game file the program reads: far beyond any
// text a person types, and small enough that loading it never exhausts the memory.
constexpr qint64 MaxTextFileSize = 64 * 1024 * 1024;

// Reads a whole regular file of at most MaxTextFileSize bytes as lines. Raises EInOutError with
// a clear message when it cannot be read, is no regular file (a pipe, a device) or is larger.
TextLines loadLines(const QString& path);
