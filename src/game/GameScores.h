#pragma once

#include <QStringList>

// The five best game scores offered so far, as six-digit texts ("%.6d"); equal entries allowed.
class GameScores {
public:
    GameScores() { ResetScores(); }

    // Five times "000000".
    void ResetScores();
    // Replaces the lowest entry when Score is greater than it.
    void AddScore(int Score);
    // Highest text first (locale-aware comparison, which is numeric order for six digits).
    void sortDescending();
    const QStringList& list() const { return m_scores; }
    // Every score on its own line, each line ended by CR LF.
    QString text() const;

    // Minus the locale-aware comparison of the two entries.
    static int CompareScoresDesc(const QStringList& List, int Index1, int Index2);

private:
    QStringList m_scores;
};
