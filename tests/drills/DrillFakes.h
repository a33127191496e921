#pragma once

#include "drills/DrillCompanions.h"
#include "drills/DrillStopwatch.h"
#include "platform/Errors.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>

// Stand-ins for the keyboard and hand windows that record what the drills ask of them, and a
// clock for the shared stopwatch that the test moves by hand.
class FakeKeyboard : public DrillKeyboard {
public:
    QByteArray highlighted;    // every character asked for, in order
    QHash<char, int> fingerOf; // finger codes; characters not in it have none (10)
    int shows = 0;
    int raises = 0;
    int hides = 0;
    bool shown = false;
    QRect geometry{0, 0, 400, 150};
    std::function<void()> frameChanged;

    int HighlightChar(char Ch) override {
        highlighted += Ch;
        return fingerOf.value(Ch, 10);
    }
    QRect frameGeometry() const override { return geometry; }
    void moveTo(int left, int top) override { geometry.moveTo(left, top); }
    void whenFrameChanges(std::function<void()> placeAgain) override { frameChanged = std::move(placeAgain); }
    void Show(QWidget*) override {
        ++shows;
        shown = true;
    }
    void BringToFront() override { raises += shown; }
    void Hide() override {
        ++hides;
        shown = false;
    }
};

// A keyboard whose character table is closed: every highlight request raises.
class FailingKeyboard : public FakeKeyboard {
public:
    int HighlightChar(char) override {
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
    }
};

class FakeHand : public DrillHand {
public:
    explicit FakeHand(QString name, QStringList* log) : m_name(std::move(name)), m_log(log) {}
    int lit = 0; // position lit now, 0 for none
    int shows = 0;
    int hides = 0;
    QRect geometry{0, 0, 63, 150};

    void LightFinger(int Pos) override {
        m_log->append(m_name + QStringLiteral(" light ") + QString::number(Pos));
        if (Pos >= 1 && Pos <= 5) lit = Pos;
    }
    void UnlightCurrent() override {
        m_log->append(m_name + QStringLiteral(" unlight"));
        lit = 0;
    }
    QRect frameGeometry() const override { return geometry; }
    void moveTo(int left, int top) override { geometry.moveTo(left, top); }
    void ShowIfUsed() override { ++shows; }
    void Hide() override { ++hides; }

private:
    QString m_name;
    QStringList* m_log;
};

// Installs the fakes and a hand-moved clock for the time of a test.
struct DrillFixture {
    QStringList handLog;
    FakeKeyboard keyboard;
    FakeHand left{QStringLiteral("left"), &handLog};
    FakeHand right{QStringLiteral("right"), &handLog};
    static inline int32_t now = 0;

    DrillFixture() {
        drillCompanions() = DrillCompanions{&keyboard, &left, &right};
        now = 1000;
        DrillStopwatch = stopwatch([] { return now; });
    }
    ~DrillFixture() {
        drillCompanions() = DrillCompanions{};
        DrillStopwatch = stopwatch();
    }
    DrillFixture(const DrillFixture&) = delete;
    DrillFixture& operator=(const DrillFixture&) = delete;
};
