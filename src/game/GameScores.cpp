#include "game/GameScores.h"

#include "platform/StrictInt.h"

#include <algorithm>

void GameScores::ResetScores() {
    m_scores.clear();
    for (int i = 0; i < 5; ++i)
        m_scores << QStringLiteral("000000");
}

void GameScores::AddScore(int Score) {
    if (m_scores.isEmpty()) return;
    int lowest = 0;
    for (int i = 1; i < m_scores.size(); ++i)
        if (StrToIntOrZero(m_scores[i]) < StrToIntOrZero(m_scores[lowest])) lowest = i;
    if (Score <= StrToIntOrZero(m_scores[lowest])) return;
    m_scores.removeAt(lowest);
    // At least six digits, a minus sign in front of them when negative.
    const QString digits = QString::number(qAbs(qint64(Score))).rightJustified(6, QLatin1Char('0'));
    m_scores << (Score < 0 ? QStringLiteral("-") + digits : digits);
}

int GameScores::CompareScoresDesc(const QStringList& List, int Index1, int Index2) {
    return -QString::localeAwareCompare(List[Index1], List[Index2]);
}

void GameScores::sortDescending() {
    std::vector<int> order(size_t(m_scores.size()));
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return CompareScoresDesc(m_scores, a, b) < 0; });
    QStringList sorted;
    for (int i : order)
        sorted << m_scores[i];
    m_scores = sorted;
}

QString GameScores::text() const {
    QString result;
    for (const QString& score : m_scores)
        result += score + QStringLiteral("\r\n");
    return result;
}
