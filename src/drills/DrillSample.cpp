#include "drills/DrillSample.h"

#include "platform/CodePage.h"

#include <algorithm>

void DrillSample::setText(const QByteArray& bytes) {
    m_bytes = bytes;
    m_mergedPositions.clear();
    for (qsizetype i = 1; i < m_bytes.size(); ++i) {
        if (m_bytes[i] == '\n' && m_bytes[i - 1] == '\r') m_mergedPositions.push_back(int(i + 1));
    }
}

QString DrillSample::displayText() const {
    QString text;
    text.reserve(m_bytes.size());
    for (qsizetype i = 0; i < m_bytes.size(); ++i) {
        const char c = m_bytes[i];
        if (c == '\r') {
            text += u'\n';
            if (i + 1 < m_bytes.size() && m_bytes[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            text += u'\n';
        } else {
            text += CodePage::charToUnicode(static_cast<unsigned char>(c));
        }
    }
    return text;
}

int DrillSample::boxIndex(int position) const {
    const auto merged = std::lower_bound(m_mergedPositions.begin(), m_mergedPositions.end(), position);
    return position - 1 - int(merged - m_mergedPositions.begin());
}
