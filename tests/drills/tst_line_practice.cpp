#include "DrillFakes.h"

#include "drills/DrillRules.h"
#include "drills/ui/DrillInputEdit.h"
#include "drills/ui/TFmLinePractice.h"
#include "platform/Errors.h"
#include "platform/KeyTranslator.h"
#include "platform/ScriptedDialogs.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QtTest>

namespace {
// The drill window with a sample prepared the way the variants prepare theirs.
class ProbeDrill : public TFmLinePractice {
public:
    int nextLines = 0;
    void prepare(const QByteArray& s) {
        SetSampleText(s);
        SampleLength = sample().length();
        WordCount = DrillRules::countSpaceSeparatedWords(s);
        Position = 1;
        DrillStopwatch.SetElapsed(0);
        ResetInput();
    }
    void NextLine() override { ++nextLines; }

    // A frame that the window manager adds after the window is shown.
    std::optional<QMargins> lateFrame;
    QRect windowFrame() const override {
        return lateFrame ? geometry().marginsAdded(*lateFrame) : TFmLinePractice::windowFrame();
    }
};

// The text of the input box and, per character, whether it shows navy (right) or red (wrong).
QString inputText(const TFmLinePractice& d) {
    return d.InputEdit->toPlainText();
}

QString inputColours(const TFmLinePractice& d) {
    QString colours;
    for (QTextBlock b = d.InputEdit->document()->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QColor c = f.charFormat().foreground().color();
            const QChar mark = c == QColor(0, 0, 0x80) ? u'R' : c == QColor(0xFF, 0, 0) ? u'W' : u'?';
            colours += QString(f.length(), mark);
        }
        if (b.next().isValid()) colours += u'|';
    }
    return colours;
}

void typeText(QWidget* w, const char* keys) {
    for (const char* k = keys; *k; ++k)
        QTest::keyClick(w, *k);
}
} // namespace

class TestLinePractice : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void typingShowsHintsAndTheNextKeyEndsTheLine();
    void backspaceCorrectsAnError();
    void acceptanceGate_data();
    void acceptanceGate();
    void speedWarning_data();
    void speedWarning();
    void popupRepeatsTheStatistics();
    void escInTheMiddleClosesEscAtTheEndCompletes();
    void enterInTheMiddleSkips();
    void lineBreaksWhenEnterDoesNotEndLines();
    void backspaceAsFirstKeyStartsNoTiming();
    void navigationKeysDoNothing_data();
    void navigationKeysDoNothing();
    void highlightSelectsTheNextCharacter();
    void fingersOfAFingerCode_data();
    void fingersOfAFingerCode();
    void fingersFollowTheKeys();
    void charactersBeyondAscii();
    void emptySample();
    void longTextStatisticsIn64Bits();
    void showingPlacesKeyboardAndHands();
    void windowWidthIncludesItsFrame();
    void keyboardAndHandsGoBelowALateFrame();
    void keyboardCentredAgainWhenFramed();
    void keyboardErrorIsReportedNotThrown();
    void activatedLayoutTypesIntoTheDrill();

private:
    std::unique_ptr<DrillFixture> m_fx;
    std::unique_ptr<ScriptedDialogsGuard> m_dialogs;
    std::unique_ptr<ProbeDrill> m_drill;
    int m_completed = 0;
    int m_wrong = 0;
};

void TestLinePractice::init() {
    m_fx = std::make_unique<DrillFixture>();
    m_dialogs = std::make_unique<ScriptedDialogsGuard>();
    m_drill = std::make_unique<ProbeDrill>();
    m_completed = m_wrong = 0;
    m_drill->OnLineComplete = [this](QObject* sender) {
        QCOMPARE(sender, m_drill.get());
        ++m_completed;
    };
    m_drill->OnWrongKey = [this](QObject*) { ++m_wrong; };
    m_drill->show();
}

void TestLinePractice::cleanup() {
    m_drill.reset();
    m_dialogs.reset();
    m_fx.reset();
}

void TestLinePractice::typingShowsHintsAndTheNextKeyEndsTheLine() {
    ProbeDrill& d = *m_drill;
    d.prepare("abc");
    m_fx->keyboard.highlighted.clear();
    QTest::keyClick(d.InputEdit, 'a');
    DrillFixture::now += 500;
    QTest::keyClick(d.InputEdit, 'b');
    QTest::keyClick(d.InputEdit, 'c');
    QCOMPARE(m_fx->keyboard.highlighted, QByteArray("bc\0", 3));
    QCOMPARE(d.Position, 4);
    QCOMPARE(m_completed, 0);
    DrillFixture::now += 500;
    QTest::keyClick(d.InputEdit, 'x');
    QCOMPARE(inputText(d), QStringLiteral("abc")); // the closing key is swallowed
    QCOMPARE(inputColours(d), QStringLiteral("RRR"));
    QCOMPARE(m_completed, 1);
    QCOMPARE(d.EndReason, lerCompleted);
    QCOMPARE(d.LineTime, 1000);
    QCOMPARE(d.TotalTime, 1000);
    QCOMPARE(d.statusText(), QStringLiteral("Keys/Min: 180   Accuracy: 100%   WPM: 60"));
    QVERIFY(d.LineAccepted);
    QCOMPARE(d.nextLines, 1);
    QVERIFY(!d.Timing);
    QVERIFY(d.LbMark->isHidden());
    QVERIFY((*m_dialogs)->shown().empty());
}

void TestLinePractice::backspaceCorrectsAnError() {
    ProbeDrill& d = *m_drill;
    d.prepare("ab");
    QTest::keyClick(d.InputEdit, 'x');
    QCOMPARE(m_wrong, 1);
    QCOMPARE(inputColours(d), QStringLiteral("W"));
    QTest::keyClick(d.InputEdit, Qt::Key_Backspace);
    QCOMPARE(d.Position, 1);
    QCOMPARE(inputText(d), QString());
    typeText(d.InputEdit, "ab");
    QCOMPARE(inputColours(d), QStringLiteral("RR"));
    DrillFixture::now += 1000;
    QTest::keyClick(d.InputEdit, ' ');
    QCOMPARE(d.ErrorCount, 0);
    QVERIFY(d.statusText().contains(QStringLiteral("Accuracy: 100%")));
    QCOMPARE(m_wrong, 1);
}

void TestLinePractice::acceptanceGate_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("wrong");
    QTest::addColumn<int>("accuracy");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("40 with 3 wrong") << 40 << 3 << 92 << false;
    QTest::newRow("20 with 1 wrong: 95") << 20 << 1 << 95 << true;
    QTest::newRow("50 with 3 wrong: 94") << 50 << 3 << 94 << false;
    QTest::newRow("no error") << 10 << 0 << 100 << true;
}

void TestLinePractice::acceptanceGate() {
    QFETCH(int, length);
    QFETCH(int, wrong);
    ProbeDrill& d = *m_drill;
    d.prepare(QByteArray(length, 'a'));
    for (int i = 0; i < length; ++i)
        QTest::keyClick(d.InputEdit, i < wrong ? 's' : 'a');
    DrillFixture::now += 60000;
    QTest::keyClick(d.InputEdit, 'a');
    QCOMPARE(d.ErrorCount, wrong);
    QFETCH(int, accuracy);
    QVERIFY(d.statusText().contains(QStringLiteral("Accuracy: %1%").arg(accuracy)));
    QTEST(d.LineAccepted, "accepted");
    QCOMPARE(m_wrong, wrong);
}

void TestLinePractice::speedWarning_data() {
    QTest::addColumn<int>("lineTime");
    QTest::addColumn<int>("keysPerMin");
    QTest::addColumn<bool>("warned");
    QTest::newRow("700") << 600 << 700 << false;
    QTest::newRow("701") << 599 << 701 << true;
}

void TestLinePractice::speedWarning() {
    QFETCH(int, lineTime);
    ProbeDrill& d = *m_drill;
    d.prepare("abcdefg"); // 7 characters: 7 * 60000 / 600 = 700
    QTest::keyClick(d.InputEdit, 'a');
    DrillFixture::now += lineTime;
    typeText(d.InputEdit, "bcdefg ");
    QFETCH(int, keysPerMin);
    QVERIFY(d.statusText().startsWith(QStringLiteral("Keys/Min: %1 ").arg(keysPerMin)));
    QFETCH(bool, warned);
    const QStringList warnings = (*m_dialogs)->texts(ScriptedDialogs::Kind::Warning);
    QCOMPARE(warnings.size(), warned ? 1 : 0);
    if (warned) QCOMPARE(warnings.first(), QStringLiteral("Can you really type so fast?  Do be patient."));
    QVERIFY((*m_dialogs)->texts(ScriptedDialogs::Kind::Information).isEmpty());
}

void TestLinePractice::popupRepeatsTheStatistics() {
    ProbeDrill& d = *m_drill;
    d.PopupStatistics = true;
    d.prepare("ab");
    QTest::keyClick(d.InputEdit, 'a');
    DrillFixture::now += 60000;
    typeText(d.InputEdit, "bb");
    QCOMPARE((*m_dialogs)->texts(ScriptedDialogs::Kind::Information),
             QStringList{QStringLiteral("Keys/Min: 2   Accuracy: 100%   WPM: 1")});
}

void TestLinePractice::escInTheMiddleClosesEscAtTheEndCompletes() {
    ProbeDrill& d = *m_drill;
    d.prepare("abc");
    typeText(d.InputEdit, "ax");
    const QString before = d.statusText();
    QTest::keyClick(d.InputEdit, Qt::Key_Escape);
    QVERIFY(!d.isVisible());
    QCOMPARE(d.EndReason, lerCancelled);
    QCOMPARE(m_completed, 0);
    QCOMPARE(d.statusText(), before);
    QCOMPARE(d.nextLines, 1);
    QVERIFY(d.TotalTime >= 25);

    d.show();
    d.prepare("ab");
    typeText(d.InputEdit, "ab");
    QTest::keyClick(d.InputEdit, Qt::Key_Escape);
    QVERIFY(d.isVisible());
    QCOMPARE(d.EndReason, lerCompleted);
    QCOMPARE(m_completed, 1);
}

void TestLinePractice::enterInTheMiddleSkips() {
    ProbeDrill& d = *m_drill;
    d.prepare("abc");
    d.LineAccepted = false;
    QTest::keyClick(d.InputEdit, 'a');
    QTest::keyClick(d.InputEdit, Qt::Key_Return);
    QCOMPARE(d.EndReason, lerSkipped);
    QCOMPARE(m_completed, 0);
    QVERIFY(!d.LineAccepted); // not touched by a skipped line
    QCOMPARE(d.nextLines, 1);
    QVERIFY(!inputText(d).contains(u'\n'));
}

void TestLinePractice::lineBreaksWhenEnterDoesNotEndLines() {
    ProbeDrill& d = *m_drill;
    d.ReturnEndsLine = false;
    d.prepare("ab\r\ncd\r\nef");
    typeText(d.InputEdit, "ab");
    QCOMPARE(m_fx->keyboard.highlighted.right(1), QByteArray("\r"));
    QTest::keyClick(d.InputEdit, 'x'); // swallowed at a line break, no error
    QCOMPARE(d.Position, 3);
    QCOMPARE(m_wrong, 0);
    QCOMPARE(inputText(d), QStringLiteral("ab"));
    QTest::keyClick(d.InputEdit, Qt::Key_Return);
    QCOMPARE(d.Position, 5);
    QCOMPARE(inputText(d), QStringLiteral("ab\n"));
    QTest::keyClick(d.InputEdit, Qt::Key_Backspace);
    QCOMPARE(d.Position, 3);
    QCOMPARE(inputText(d), QStringLiteral("ab"));
    QTest::keyClick(d.InputEdit, ' '); // a space stands for Enter at a line break
    QCOMPARE(d.Position, 5);
    QCOMPARE(inputText(d), QStringLiteral("ab\n"));
    typeText(d.InputEdit, "cd");
    QTest::keyClick(d.InputEdit, Qt::Key_Return);
    // Enter where no break is expected neither ends the text nor counts.
    typeText(d.InputEdit, "e");
    QTest::keyClick(d.InputEdit, Qt::Key_Return);
    QCOMPARE(d.Position, 10);
    QCOMPARE(inputText(d), QStringLiteral("ab\ncd\ne"));
    QTest::keyClick(d.InputEdit, 'f');
    QTest::keyClick(d.InputEdit, 'z');
    QCOMPARE(d.EndReason, lerCompleted);
    QCOMPARE(d.ErrorCount, 0);
    QCOMPARE(m_completed, 1);
}

void TestLinePractice::backspaceAsFirstKeyStartsNoTiming() {
    ProbeDrill& d = *m_drill;
    d.prepare("abc");
    QTest::keyClick(d.InputEdit, Qt::Key_Backspace);
    QVERIFY(!d.Timing);
    QVERIFY(d.LbMark->isHidden());
    DrillFixture::now += 5000; // not counted: the stopwatch has not started
    QTest::keyClick(d.InputEdit, 'q');
    QVERIFY(d.Timing);
    QVERIFY(d.LbMark->isVisible());
    DrillFixture::now += 2000;
    typeText(d.InputEdit, "bcd");
    QCOMPARE(d.LineTime, 2000);
}

void TestLinePractice::navigationKeysDoNothing_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Home") << int(Qt::Key_Home);
    QTest::newRow("Left") << int(Qt::Key_Left);
    QTest::newRow("Up") << int(Qt::Key_Up);
    QTest::newRow("Right") << int(Qt::Key_Right);
    QTest::newRow("Down") << int(Qt::Key_Down);
    QTest::newRow("Insert") << int(Qt::Key_Insert);
    QTest::newRow("Delete") << int(Qt::Key_Delete);
    QTest::newRow("End passes") << int(Qt::Key_End);
    QTest::newRow("PageUp passes") << int(Qt::Key_PageUp);
}

void TestLinePractice::navigationKeysDoNothing() {
    QFETCH(int, key);
    ProbeDrill& d = *m_drill;
    d.prepare("abc");
    typeText(d.InputEdit, "ab");
    QTest::keyClick(d.InputEdit, Qt::Key(key));
    QTest::keyClick(d.InputEdit, 'c');
    QCOMPARE(inputText(d), QStringLiteral("abc"));
    QCOMPARE(d.Position, 4);
    quint16 code = quint16(KeyInput::virtualKeyCode(QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier)));
    d.InputEditKeyDown(code);
    const bool passes = key == Qt::Key_End || key == Qt::Key_PageUp;
    QCOMPARE(code != 0, passes);
}

void TestLinePractice::highlightSelectsTheNextCharacter() {
    ProbeDrill& d = *m_drill;
    d.prepare("ab\r\ncd");
    d.ReturnEndsLine = false;
    QTest::keyClick(d.InputEdit, 'a');
    QVERIFY(!d.SampleEdit->textCursor().hasSelection());
    d.HighlightOn = true;
    QTest::keyClick(d.InputEdit, 'b');
    QCOMPARE(d.SampleEdit->textCursor().selectedText(), QString(QChar(0x2029))); // the line break
    QTest::keyClick(d.InputEdit, Qt::Key_Return);
    QCOMPARE(d.SampleEdit->textCursor().selectedText(), QStringLiteral("c"));
    QCOMPARE(d.SampleEdit->textCursor().selectionStart(), 3);
    QTest::keyClick(d.InputEdit, 'x');
    QCOMPARE(d.SampleEdit->textCursor().selectedText(), QStringLiteral("d"));
}

void TestLinePractice::fingersOfAFingerCode_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("log");
    QTest::newRow("left little") << 0 << QStringList{"right unlight", "left light 1"};
    QTest::newRow("left thumb") << 4 << QStringList{"right unlight", "left light 5"};
    QTest::newRow("right thumb") << 5 << QStringList{"left unlight", "right light 5"};
    QTest::newRow("right little") << 9 << QStringList{"left unlight", "right light 1"};
    QTest::newRow("no finger") << 10 << QStringList{"left unlight", "right unlight"};
    QTest::newRow("negative") << -1 << QStringList{"left unlight", "right light 11"};
}

void TestLinePractice::fingersOfAFingerCode() {
    QFETCH(int, code);
    m_fx->handLog.clear();
    m_drill->ShowFinger(code);
    QTEST(m_fx->handLog, "log");
    m_fx->handLog.clear();
    m_drill->ShowKeyboard = false;
    m_drill->ShowFinger(code);
    QVERIFY(m_fx->handLog.isEmpty());
}

void TestLinePractice::fingersFollowTheKeys() {
    ProbeDrill& d = *m_drill;
    m_fx->keyboard.fingerOf = {{'f', 3}, {'j', 6}, {' ', 4}};
    d.prepare("fj f");
    QTest::keyClick(d.InputEdit, 'f');
    QCOMPARE(m_fx->right.lit, 4); // j: right index
    QCOMPARE(m_fx->left.lit, 0);
    QTest::keyClick(d.InputEdit, 'k'); // wrong, still moves on
    QCOMPARE(m_fx->left.lit, 5);       // space: left thumb
    QCOMPARE(m_fx->right.lit, 0);
    QTest::keyClick(d.InputEdit, Qt::Key_Backspace);
    QCOMPARE(m_fx->right.lit, 4);
    typeText(d.InputEdit, "j f");
    QCOMPARE(m_fx->left.lit, 0); // past the end: #0, both hands dark
    QCOMPARE(m_fx->right.lit, 0);
    QCOMPARE(m_fx->keyboard.highlighted.right(1), QByteArray("\0", 1));
}

void TestLinePractice::charactersBeyondAscii() {
    ProbeDrill& d = *m_drill;
    d.prepare("\xe4\xe9"
              "a");
    QTest::sendKeyEvent(QTest::Click, d.InputEdit, Qt::Key_unknown, QString(QChar(0xE4)), Qt::NoModifier);
    QInputMethodEvent composed;
    composed.setCommitString(QString(QChar(0xE9)));
    QCoreApplication::sendEvent(d.InputEdit, &composed);
    QCOMPARE(d.Position, 3);
    QCOMPARE(m_wrong, 0);
    // A character the code page lacks is a wrong key, shown as typed.
    QTest::sendKeyEvent(QTest::Click, d.InputEdit, Qt::Key_unknown, QString(QChar(0x0416)), Qt::NoModifier);
    QCOMPARE(m_wrong, 1);
    QCOMPARE(d.Position, 4);
    QCOMPARE(inputText(d), QString::fromUtf16(u"\u00e4\u00e9\u0416"));
    QCOMPARE(inputColours(d), QStringLiteral("RRW"));
    // Tab types the tab of a text rather than leaving the box.
    d.prepare("a\tb");
    d.InputEdit->setFocus();
    QTest::keyClick(d.InputEdit, 'a');
    QTest::keyClick(d.InputEdit, Qt::Key_Tab);
    QCOMPARE(d.Position, 3);
    QCOMPARE(inputText(d), QStringLiteral("a\t"));
}

void TestLinePractice::emptySample() {
    ProbeDrill& d = *m_drill;
    QCOMPARE(d.Position, 0); // nothing prepared yet
    QTest::keyClick(d.InputEdit, 'a');
    QCOMPARE(d.EndReason, lerNone);
    QCOMPARE(m_completed, 0);
    QCOMPARE(d.TotalTime, 25);
    QCOMPARE(inputText(d), QString());

    d.prepare("");
    QTest::keyClick(d.InputEdit, Qt::Key_Escape);
    QCOMPARE(d.EndReason, lerCompleted);
    QCOMPARE(m_completed, 1);
    QVERIFY(d.LineAccepted);
    QVERIFY(d.isVisible());
    QCOMPARE(d.statusText(), QString());
    QCOMPARE(d.nextLines, 2);
}

void TestLinePractice::longTextStatisticsIn64Bits() {
    ProbeDrill& d = *m_drill;
    QByteArray text;
    for (int i = 0; i < 6000; ++i)
        text += "abcde ";
    d.prepare(text); // 36,000 characters, 6,000 words
    QTest::keyClick(d.InputEdit, 'a');
    std::fill(d.Marks.begin() + 1, d.Marks.end(), uint8_t(1));
    d.Position = d.SampleLength + 1;
    DrillFixture::now += 3600000; // an hour
    QTest::keyClick(d.InputEdit, 'x');
    QCOMPARE(d.statusText(), QStringLiteral("Keys/Min: 600   Accuracy: 100%   WPM: 100"));
}

void TestLinePractice::showingPlacesKeyboardAndHands() {
    ProbeDrill& d = *m_drill;
    d.hide();
    d.SetBackgroundColor(0x102030);
    d.prepare("q");
    m_fx->keyboard.highlighted.clear();
    d.show();
    // Placed below the drill's frame, once the window is framed.
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    const QRect drill = d.frameGeometry();
    QTRY_COMPARE_WITH_TIMEOUT(m_fx->keyboard.geometry.top(), drill.top() + drill.height() + 10, 30000);
    QCOMPARE(m_fx->keyboard.geometry.left(), drill.left() + (drill.width() - 400) / 2);
    QCOMPARE(m_fx->left.geometry.left(), m_fx->keyboard.geometry.left() - 63 - 5);
    QCOMPARE(m_fx->right.geometry.left(), m_fx->keyboard.geometry.right() + 1 + 5);
    QCOMPARE(m_fx->left.geometry.top(), m_fx->keyboard.geometry.top());
    QVERIFY(m_fx->keyboard.shows >= 1);
    QVERIFY(m_fx->left.shows >= 1 && m_fx->right.shows >= 1);
    QCOMPARE(m_fx->keyboard.highlighted, QByteArray("q"));
    // The window takes the colour and the "V" mark stands out from it.
    QCOMPARE(d.palette().color(QPalette::Window), QColor(0x30, 0x20, 0x10));
    QCOMPARE(d.LbMark->palette().color(QPalette::WindowText), QColor(0x30 ^ 0xAA, 0x20 ^ 0xAA, 0x10 ^ 0xAA));
    const int hides = m_fx->keyboard.hides;
    d.hide();
    QCOMPARE(m_fx->keyboard.hides, hides + 1);
    QCOMPARE(m_fx->left.hides, m_fx->right.hides);
}

void TestLinePractice::windowWidthIncludesItsFrame() {
    ProbeDrill& d = *m_drill;
    d.hide();
    d.show();
    // 90 % of the screen's width and centred, frame included; the client area keeps 230 rows.
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const int width = screen.width() * 90 / 100;
    QTRY_COMPARE(d.frameGeometry().width(), width);
    QVERIFY(d.width() < width);
    QCOMPARE(d.frameGeometry().left(), (screen.width() - width) / 2);
    QCOMPARE(d.frameGeometry().top(), screen.height() <= 640 ? 20 : screen.height() / 8);
    QCOMPARE(d.height(), 230);
    QCOMPARE(d.SampleEdit->width(), d.width() - 15);
    QCOMPARE(d.InputEdit->width(), d.width() - 11);
    // A close box only, and a size nobody can change.
    QVERIFY(d.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(d.minimumSize(), d.maximumSize());
}

void TestLinePractice::keyboardAndHandsGoBelowALateFrame() {
    ProbeDrill& d = *m_drill;
    d.hide();
    d.prepare("q");
    d.show();
    // The frame arrives: the window itself moves down by the title bar.
    d.lateFrame = QMargins(1, 20, 1, 1);
    d.move(d.pos() + QPoint(0, 20));
    const QRect drill = d.windowFrame();
    QCOMPARE(m_fx->keyboard.geometry.top(), drill.bottom() + 1 + 10);
    QCOMPARE(m_fx->keyboard.geometry.left(), drill.left() + (drill.width() - 400) / 2);
    QCOMPARE(m_fx->left.geometry.top(), m_fx->keyboard.geometry.top());
    QCOMPARE(m_fx->right.geometry.left(), m_fx->keyboard.geometry.right() + 1 + 5);
    // Moving the framed window later leaves the keyboard where it is.
    const QRect placed = m_fx->keyboard.geometry;
    d.move(d.pos() + QPoint(50, 50));
    QCOMPARE(m_fx->keyboard.geometry, placed);
}

// The keyboard's frame, and with it its outer width, comes once it is shown: it is centred under
// the drill again by that width, the hands beside it; a keyboard the user closed stays closed.
void TestLinePractice::keyboardCentredAgainWhenFramed() {
    ProbeDrill& d = *m_drill;
    d.hide();
    d.prepare("q");
    m_fx->keyboard.geometry.setWidth(400);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QVERIFY(m_fx->keyboard.frameChanged);
    m_fx->keyboard.geometry.setWidth(403);
    m_fx->keyboard.frameChanged();
    const QRect drill = d.frameGeometry();
    QCOMPARE(m_fx->keyboard.geometry.left(), drill.left() + (drill.width() - 403) / 2);
    QCOMPARE(m_fx->right.geometry.left(), m_fx->keyboard.geometry.left() + 403 + 5);
    QCOMPARE(m_fx->left.geometry.left(), m_fx->keyboard.geometry.left() - 63 - 5);

    const int shows = m_fx->keyboard.shows;
    const int handShows = m_fx->left.shows;
    m_fx->keyboard.shown = false; // closed with its close box
    d.activateWindow();
    QEvent activation(QEvent::ActivationChange);
    QCoreApplication::sendEvent(&d, &activation);
    QTRY_VERIFY_WITH_TIMEOUT(m_fx->left.shows > handShows, 30000); // the drill's windows came to the front
    QCOMPARE(m_fx->keyboard.shows, shows);
    QCOMPARE(m_fx->keyboard.raises, 0);
    d.hide();
    QVERIFY(!m_fx->keyboard.frameChanged);
}

void TestLinePractice::keyboardErrorIsReportedNotThrown() {
    FailingKeyboard failing;
    drillCompanions().keyboard = &failing;
    ProbeDrill& d = *m_drill;
    d.prepare("ab");
    QTest::keyClick(d.InputEdit, 'a');
    QCOMPARE((*m_dialogs)->texts(ScriptedDialogs::Kind::Error),
             QStringList{QStringLiteral("Cannot perform this operation on a closed dataset")});
    // The key is typed all the same: box and position stay in step.
    QCOMPARE(d.Position, 2);
    QCOMPARE(inputText(d), QStringLiteral("a"));
    QVERIFY(d.Timing);
    drillCompanions().keyboard = &m_fx->keyboard;
}

namespace {
// A layout of the program's own that swaps y and z and composes a dead acute with e.
class SwapYZ : public KeyTranslator {
public:
    bool deadPending = false;
    std::optional<QString> translate(const QKeyEvent& event) override {
        if (event.key() == Qt::Key_Dead_Acute) {
            deadPending = true;
            return QString();
        }
        if (deadPending && event.text() == QStringLiteral("e")) {
            deadPending = false;
            return QString(QChar(0xE9));
        }
        if (event.text() == QStringLiteral("y")) return QStringLiteral("z");
        if (event.text() == QStringLiteral("z")) return QStringLiteral("y");
        return std::nullopt;
    }
};
} // namespace

void TestLinePractice::activatedLayoutTypesIntoTheDrill() {
    ProbeDrill& d = *m_drill;
    QVERIFY(d.InputEdit->inputMethodQuery(Qt::ImEnabled).toBool());
    SwapYZ layout;
    setActiveKeyTranslator(&layout);
    // Dead keys must reach the layout as key events, not through the desktop's input method.
    const bool imEnabled = d.InputEdit->inputMethodQuery(Qt::ImEnabled).toBool();
    d.prepare("z\xe9y");
    QTest::keyClick(d.InputEdit, 'y');
    QTest::sendKeyEvent(QTest::Click, d.InputEdit, Qt::Key_Dead_Acute, QString(), Qt::NoModifier);
    const int afterDead = d.Position;
    QTest::keyClick(d.InputEdit, 'e');
    QTest::keyClick(d.InputEdit, 'z');
    setActiveKeyTranslator(nullptr);
    QVERIFY(!imEnabled);
    QCOMPARE(afterDead, 2);
    QCOMPARE(d.Position, 4);
    QCOMPARE(m_wrong, 0);
    QCOMPARE(inputText(d), QString::fromUtf16(u"z\u00e9y"));
}

QTEST_MAIN(TestLinePractice)
#include "tst_line_practice.moc"
