#include "platform/TextLines.h"

#include "platform/RegularFile.h"

std::vector<QByteArray> splitLines(const QByteArray& text) {
    std::vector<QByteArray> lines;
    const char* p = text.constData();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] == '\r' || p[i] == '\n') {
            lines.emplace_back(p + start, i - start);
            if (p[i] == '\r' && i + 1 < n && p[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < n) lines.emplace_back(p + start, n - start);
    return lines;
}

std::vector<QByteArray> loadLines(const QString& path) {
    return splitLines(RegularFile::read(path, MaxTextFileSize));
}
