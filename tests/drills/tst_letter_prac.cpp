#include "DrillFakes.h"

#include "drills/ui/DrillInputEdit.h"
#include "drills/ui/TFmLetterPrac.h"
#include "platform/ScriptedDialogs.h"

#include <QtTest>
#include <functional>

namespace {
// The scripted dialogs with a look at the moment a prompt comes up.
class WatchedDialogs final : public Dialogs {
public:
    ScriptedDialogs script;
    std::function<void()> onPrompt;

    void information(const QString& text) override { script.information(text); }
    void warning(const QString& text) override { script.warning(text); }
    void error(const QString& text) override { script.error(text); }
    bool confirm(const QString& text) override { return script.confirm(text); }
    void messageBox(const QString& text, const QString& caption) override {
        script.messageBox(text, caption);
    }
    QString inputBox(const QString& caption, const QString& prompt, const QString& defaultText) override {
        if (onPrompt) onPrompt();
        return script.inputBox(caption, prompt, defaultText);
    }
    std::optional<int> inputNumber(const QString& caption, const QString& prompt, int value, int minimum,
                                   int maximum) override {
        return script.inputNumber(caption, prompt, value, minimum, maximum);
    }
};

// What was on screen when a prompt came up.
struct OnScreen {
    bool drill = false;
    int keyboardHides = 0;
    int leftHides = 0;
    int rightHides = 0;
};
} // namespace

// The free drill's prompt, seen from the screen.
class TestLetterPrac : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void escOnUndefinedLineAsksBeforeTheWindowGoes();

private:
    std::unique_ptr<DrillFixture> m_fx;
    WatchedDialogs* m_dialogs = nullptr;
    std::unique_ptr<Dialogs> m_previous;
};

void TestLetterPrac::init() {
    m_fx = std::make_unique<DrillFixture>();
    auto dialogs = std::make_unique<WatchedDialogs>();
    m_dialogs = dialogs.get();
    m_previous = setDialogs(std::move(dialogs));
}

void TestLetterPrac::cleanup() {
    setDialogs(std::move(m_previous));
    m_dialogs = nullptr;
    m_fx.reset();
}

void TestLetterPrac::escOnUndefinedLineAsksBeforeTheWindowGoes() {
    TFmLetterPrac d;
    d.show();
    m_dialogs->script.answerText(QStringLiteral("fj"));
    QTest::keyClick(d.InputEdit, Qt::Key_Insert);
    // An empty entry keeps the line but leaves it undefined.
    m_dialogs->script.answerText(QString());
    QTest::keyClick(d.InputEdit, Qt::Key_Insert);
    QVERIFY(!d.LineDefined);
    QTest::keyClick(d.InputEdit, 'f');

    std::vector<OnScreen> seen;
    m_dialogs->onPrompt = [&] {
        seen.push_back({d.isVisible(), m_fx->keyboard.hides, m_fx->left.hides, m_fx->right.hides});
    };
    m_dialogs->script.answerText(QStringLiteral("kd"));
    QTest::keyClick(d.InputEdit, Qt::Key_Escape);

    QCOMPARE(d.EndReason, lerCancelled);
    QCOMPARE(seen.size(), size_t(1));
    QVERIFY(seen[0].drill);
    QCOMPARE(seen[0].keyboardHides, 0);
    QCOMPARE(seen[0].leftHides, 0);
    QCOMPARE(seen[0].rightHides, 0);
    // The answer still builds the line; then the window goes, and the keyboard and hands with it.
    QCOMPARE(d.sample().bytes().left(3), QByteArray("kd "));
    QVERIFY(!d.isVisible());
    QCOMPARE(m_fx->keyboard.hides, 1);
    QCOMPARE(m_fx->left.hides, 1);
    QCOMPARE(m_fx->right.hides, 1);
}

QTEST_MAIN(TestLetterPrac)
#include "tst_letter_prac.moc"
