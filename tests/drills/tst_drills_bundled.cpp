// The drills on the bundled courses, with the real keyboard and hand windows.
#include "drills/DrillStopwatch.h"
#include "drills/ui/DrillInputEdit.h"
#include "drills/ui/TFmCoursePrac.h"
#include "drills/ui/TFmSentencePrac.h"
#include "keyboard/ui/TPalmForm.h"
#include "keyboard/ui/TVKeyboard.h"
#include "platform/CodePage.h"
#include "platform/ScriptedDialogs.h"
#include "settings/DataMod.h"
#include "support/TestPaths.h"

#include <QLabel>
#include <QtTest>

namespace {
int32_t g_now = 0;

void typeChar(QWidget* w, char c) {
    const QString text(CodePage::charToUnicode(static_cast<unsigned char>(c)));
    if (c >= 0x20 && c < 0x7F)
        QTest::keyClick(w, c);
    else
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, text, Qt::NoModifier);
}

// Which finger position is lit: left 1..5, right 6..10 (counted from the right little finger
// as 10), 0 for none.
// Counts the times a window is brought to the front (or sent back).
class StackingSpy : public QObject {
public:
    int changes = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ZOrderChange) ++changes;
        return false;
    }
};

int litFinger() {
    for (int pos = 1; pos <= 5; ++pos) {
        if (PalmForm->Lit(pos)) return pos;
        if (RightPalmForm->Lit(pos)) return 11 - pos;
    }
    return 0;
}
} // namespace

class TestDrillsBundled : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void courseLinesLightTheirKeysAndFingers_data();
    void courseLinesLightTheirKeysAndFingers();
    void everyPracticeSentenceCanBeTyped_data();
    void everyPracticeSentenceCanBeTyped();
    void showingBringsKeyboardAndHandsToTheFront();

private:
    std::unique_ptr<TDataMod> m_mod;
    std::unique_ptr<TVKeyboard> m_keyboard;
    std::unique_ptr<TPalmForm> m_left;
    std::unique_ptr<TPalmForm> m_right;
    std::unique_ptr<ScriptedDialogsGuard> m_dialogs;
    void loadCourse(const QString& course);
};

void TestDrillsBundled::init() {
    m_dialogs = std::make_unique<ScriptedDialogsGuard>();
    m_mod = std::make_unique<TDataMod>();
    DataMod = m_mod.get();
    m_keyboard = std::make_unique<TVKeyboard>();
    m_left = std::make_unique<TPalmForm>();
    m_right = std::make_unique<TPalmForm>();
    VKeyboard = m_keyboard.get();
    PalmForm = m_left.get();
    RightPalmForm = m_right.get();
    g_now = 1000;
    DrillStopwatch = stopwatch([] { return g_now; });
}

void TestDrillsBundled::cleanup() {
    VKeyboard = nullptr;
    PalmForm = RightPalmForm = nullptr;
    m_right.reset();
    m_left.reset();
    m_keyboard.reset();
    DataMod = nullptr;
    m_mod.reset();
    m_dialogs.reset();
    DrillStopwatch = stopwatch();
}

void TestDrillsBundled::loadCourse(const QString& course) {
    m_keyboard->Blink = false;
    m_keyboard->LoadLayout(appDir() + QStringLiteral("/Courses/") + course + QStringLiteral("/layout.zqt"));
    m_left->Blink = m_right->Blink = false;
    m_left->SetHand(true);
    m_right->SetHand(false);
    m_left->LayoutFingers();
    m_right->LayoutFingers();
}

void TestDrillsBundled::courseLinesLightTheirKeysAndFingers_data() {
    QTest::addColumn<QString>("course");
    QTest::newRow("English") << QStringLiteral("English");
    QTest::newRow("Deutsch") << QStringLiteral("Deutsch");
}

void TestDrillsBundled::courseLinesLightTheirKeysAndFingers() {
    QFETCH(QString, course);
    loadCourse(course);
    TFmCoursePrac d;
    d.SetFileName(appDir() + QStringLiteral("/Courses/") + course + QStringLiteral("/course.txt"));
    d.SetCurrentLine(0);
    d.LoadFile();
    d.show();
    QVERIFY(m_keyboard->isVisible());
    QVERIFY(d.Lines.size() > 10);
    QCOMPARE(d.Label1->text(), QStringLiteral("1 / %1").arg(d.Lines.size()));
    // The first three lines, each typed without error: every expected character has a key
    // highlighted and a finger lit; past the end both hands are dark.
    for (int line = 0; line < 3; ++line) {
        const QByteArray sample = d.sample().bytes();
        QVERIFY2(!sample.isEmpty(), "empty course line");
        for (int i = 0; i < sample.size(); ++i) {
            QVERIFY2(!m_keyboard->HighlightedKey.isNull(),
                     qPrintable(QStringLiteral("no key for %1").arg(sample[i])));
            QVERIFY(litFinger() != 0);
            typeChar(d.InputEdit, sample[i]);
        }
        QVERIFY(m_keyboard->HighlightedKey.isNull());
        QCOMPARE(litFinger(), 0);
        g_now += 60000;
        QTest::keyClick(d.InputEdit, ' ');
        QCOMPARE(d.ErrorCount, 0);
        QCOMPARE(d.Label1->text(), QStringLiteral("%1 / %2").arg(line + 2).arg(d.Lines.size()));
    }
    QCOMPARE(d.GetCurrentLine(), 3);
    d.hide();
    QVERIFY(!m_keyboard->isVisible());
}

void TestDrillsBundled::everyPracticeSentenceCanBeTyped_data() {
    courseLinesLightTheirKeysAndFingers_data();
}

void TestDrillsBundled::everyPracticeSentenceCanBeTyped() {
    QFETCH(QString, course);
    loadCourse(course);
    TFmSentencePrac d;
    d.SetFileName(appDir() + QStringLiteral("/Courses/") + course + QStringLiteral("/Practice.txt"));
    QVERIFY(d.LoadFile());
    d.show();
    for (int round = 0; round < 20; ++round) {
        const QByteArray sample = d.sample().bytes();
        for (const char c : sample) {
            QVERIFY2(!m_keyboard->HighlightedKey.isNull(),
                     qPrintable(QStringLiteral("no key in %1").arg(CodePage::toUnicode(sample))));
            typeChar(d.InputEdit, c);
        }
        g_now += 10000;
        QTest::keyClick(d.InputEdit, ' ');
        QCOMPARE(d.ErrorCount, 0);
        QVERIFY(d.statusText().contains(QStringLiteral("Accuracy: 100%")));
    }
}

void TestDrillsBundled::showingBringsKeyboardAndHandsToTheFront() {
    loadCourse(QStringLiteral("English"));
    // Shown before, by the main window, which then came in front of them.
    m_keyboard->show();
    m_left->ShowIfUsed();
    m_right->ShowIfUsed();
    StackingSpy keyboard, left, right;
    m_keyboard->installEventFilter(&keyboard);
    m_left->installEventFilter(&left);
    m_right->installEventFilter(&right);
    TFmCoursePrac d;
    d.SetFileName(appDir() + QStringLiteral("/Courses/English/course.txt"));
    d.LoadFile();
    d.show();
    QVERIFY(keyboard.changes > 0);
    QVERIFY(left.changes > 0);
    QVERIFY(right.changes > 0);
    // Activating the drill (which a window manager does with its owner) brings them again.
    keyboard.changes = left.changes = right.changes = 0;
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QTRY_VERIFY(keyboard.changes > 0);
    QVERIFY(left.changes > 0);
    QVERIFY(right.changes > 0);
}

QTEST_MAIN(TestDrillsBundled)
#include "tst_drills_bundled.moc"
