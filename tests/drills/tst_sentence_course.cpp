#include "DrillFakes.h"

#include "drills/ui/DrillInputEdit.h"
#include "drills/ui/TFmCoursePrac.h"
#include "drills/ui/TFmSentencePrac.h"
#include "platform/Errors.h"
#include "platform/ScriptedDialogs.h"
#include "platform/TextLines.h"
#include "support/UnusualFiles.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
    return path;
}

QByteArray sampleOf(const TFmLinePractice& d) {
    return d.sample().bytes();
}

// Types the current sample with the first `wrong` characters wrong, then the closing key a
// minute after the first key.
void typeLine(TFmLinePractice& d, int wrong = 0) {
    const QByteArray s = d.sample().bytes();
    for (int i = 0; i < s.size(); ++i)
        QTest::keyClick(d.InputEdit, i < wrong ? (s[i] == '~' ? '^' : '~') : s[i]);
    DrillFixture::now += 60000;
    QTest::keyClick(d.InputEdit, ' ');
}

QByteArray courseOf(int lines) {
    QByteArray text;
    for (int i = 1; i <= lines; ++i)
        text += "line " + QByteArray::number(i) + " of the course\r\n";
    return text;
}
} // namespace

class TestSentenceCourse : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void sentencesAreTrimmedAndCounted();
    void sentenceBelow95ComesBack();
    void sentenceSkippedWithEnterIsReplaced();
    void sentenceFileFaults_data();
    void sentenceFileFaults();
    void fileThatIsNoTextIsRefusedAtOnce_data();
    void fileThatIsNoTextIsRefusedAtOnce();
    void emptySentenceCompletesAtOnce();

    void courseOpensAtTheStoredLine();
    void courseStoredPositionOutsideIsClamped_data();
    void courseStoredPositionOutsideIsClamped();
    void courseArrowsStopAtBothEnds();
    void courseGotoPrompt_data();
    void courseGotoPrompt();
    void courseAdvancesOnAcceptedLines_data();
    void courseAdvancesOnAcceptedLines();
    void courseLastLineCompletedStaysThere();
    void courseEndHomeDeleteDoNothing();
    void courseNavigationRestartsTheAttempt();
    void courseGoesOnWhenTheKeyboardFails();
    void courseLabelShowsLongCoursesWhole();

private:
    std::unique_ptr<DrillFixture> m_fx;
    std::unique_ptr<ScriptedDialogsGuard> m_dialogs;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TFmCoursePrac> openCourse(int lines, int stored);
};

void TestSentenceCourse::init() {
    m_fx = std::make_unique<DrillFixture>();
    m_dialogs = std::make_unique<ScriptedDialogsGuard>();
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestSentenceCourse::cleanup() {
    m_dir.reset();
    m_dialogs.reset();
    m_fx.reset();
}

void TestSentenceCourse::sentencesAreTrimmedAndCounted() {
    TFmSentencePrac d;
    QCOMPARE(d.windowTitle(), QStringLiteral("Sentence Drills"));
    d.SetFileName(writeFile(*m_dir, "Practice.txt", "  The cat.\r\nA dog\nSun"));
    QVERIFY(d.LoadFile());
    d.show();
    QSet<QByteArray> seen;
    for (int i = 0; i < 60; ++i) {
        const QByteArray s = sampleOf(d);
        seen.insert(s);
        QCOMPARE(d.SampleLength, int(s.size()));
        QCOMPARE(d.WordCount, s == "Sun" ? 1 : 2);
        QCOMPARE(d.Position, 1);
        QCOMPARE(m_fx->keyboard.highlighted.right(1), s.left(1));
        QTest::keyClick(d.InputEdit, Qt::Key_Return); // skipped: a new random sentence
    }
    QCOMPARE(seen, (QSet<QByteArray>{"The cat.", "A dog", "Sun"}));
}

void TestSentenceCourse::sentenceBelow95ComesBack() {
    TFmSentencePrac d;
    d.SetFileName(writeFile(*m_dir, "Practice.txt",
                            "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\nbbbbbbbbbbbbbbbbbbbbbbbbbbbb"
                            "bbbbbbbbbbbbbbbbbbbbbb"));
    d.LoadFile();
    d.show();
    const QByteArray first = sampleOf(d);
    typeLine(d, 3); // 47 of 50: 94 %
    QVERIFY(d.statusText().contains(QStringLiteral("Accuracy: 94%")));
    QCOMPARE(sampleOf(d), first);
    QCOMPARE(d.InputEdit->toPlainText(), QString());
    QCOMPARE(d.Position, 1);
    QVERIFY(d.LineAccepted);
    QCOMPARE(m_fx->keyboard.highlighted.right(1), first.left(1));
    // Typed again, every mark is overwritten: a clean attempt is 100 %.
    typeLine(d, 0);
    QVERIFY(d.statusText().contains(QStringLiteral("Accuracy: 100%")));
}

void TestSentenceCourse::sentenceSkippedWithEnterIsReplaced() {
    TFmSentencePrac d;
    d.SetFileName(writeFile(*m_dir, "Practice.txt", "only line"));
    d.LoadFile();
    d.show();
    QTest::keyClick(d.InputEdit, 'o');
    QTest::keyClick(d.InputEdit, Qt::Key_Return);
    QCOMPARE(d.EndReason, lerSkipped);
    QCOMPARE(d.statusText(), QString());
    QCOMPARE(d.Position, 1);
    QCOMPARE(d.InputEdit->toPlainText(), QString());
}

void TestSentenceCourse::sentenceFileFaults_data() {
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty file") << true << QByteArray() << QStringLiteral("holds no lines");
    QTest::newRow("only blank lines")
        << true << QByteArray("  \r\n\t\r\n\r\n") << QStringLiteral("holds no lines");
    QTest::newRow("missing file") << false << QByteArray() << QStringLiteral("Practice.txt");
    QTest::newRow("millions of empty lines")
        << true << QByteArray(8 * 1024 * 1024, '\n') << QStringLiteral("holds no lines");
}

void TestSentenceCourse::sentenceFileFaults() {
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);
    const QString path =
        exists ? writeFile(*m_dir, "Practice.txt", content) : m_dir->filePath("Practice.txt");
    for (int variant = 0; variant < 2; ++variant) {
        std::unique_ptr<TFmSentencePrac> d =
            variant == 0 ? std::make_unique<TFmSentencePrac>() : std::make_unique<TFmCoursePrac>();
        d->SetFileName(path);
        try {
            d->LoadFile();
            QFAIL("LoadFile accepted a file with nothing to practise");
        } catch (const EInOutError& e) {
            QFETCH(QString, message);
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
        QVERIFY(d->Lines.empty()); // a refused file keeps nothing
    }
}

// A pipe would make the drill wait for a writer for good, a link to an endless device would fill
// the memory: each is refused with a message before the drill opens, as is a file too large.
void TestSentenceCourse::fileThatIsNoTextIsRefusedAtOnce_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    const QString notRegular = QStringLiteral("Cannot open file \"%1\". It is not a regular file.");
    QTest::newRow("named pipe") << QStringLiteral("pipe") << notRegular;
    QTest::newRow("socket") << QStringLiteral("socket") << notRegular;
    QTest::newRow("link to an endless device") << QStringLiteral("zero") << notRegular;
    QTest::newRow("over the limit")
        << QStringLiteral("huge")
        << QStringLiteral("The file \"%1\" is too large: 67108865 bytes (at most 67108864 bytes).");
}

void TestSentenceCourse::fileThatIsNoTextIsRefusedAtOnce() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    for (const QString& name : {QStringLiteral("Practice.txt"), QStringLiteral("course.txt")}) {
        const QDir dir(m_dir->path());
        QString path;
        if (kind == QStringLiteral("pipe"))
            path = UnusualFiles::fifo(dir, name);
        else if (kind == QStringLiteral("socket"))
            path = UnusualFiles::socket(dir, name);
        else if (kind == QStringLiteral("zero"))
            path = UnusualFiles::link(dir, name, QStringLiteral("/dev/zero"));
        else
            path = UnusualFiles::sparse(dir, name, MaxTextFileSize + 1);
        QVERIFY(!path.isEmpty());
        std::unique_ptr<TFmSentencePrac> d = name == QStringLiteral("course.txt")
                                                 ? std::make_unique<TFmCoursePrac>()
                                                 : std::make_unique<TFmSentencePrac>();
        d->SetFileName(path);
        try {
            d->LoadFile();
            QFAIL("LoadFile took a file that is no text");
        } catch (const EInOutError& e) {
            QCOMPARE(e.message(), reason.arg(path));
        }
        QVERIFY(d->Lines.empty());
    }
}

void TestSentenceCourse::emptySentenceCompletesAtOnce() {
    TFmSentencePrac d;
    int completed = 0;
    d.OnLineComplete = [&](QObject*) { ++completed; };
    d.SetFileName(writeFile(*m_dir, "Practice.txt", " \t \nab\n"));
    QVERIFY(d.LoadFile());
    d.show();
    // Skip sentences with Enter until the blank one comes.
    for (int i = 0; i < 200 && d.SampleLength != 0; ++i)
        QTest::keyClick(d.InputEdit, Qt::Key_Return);
    QCOMPARE(d.SampleLength, 0);
    QTest::keyClick(d.InputEdit, 'x');
    QCOMPARE(completed, 1);
    QCOMPARE(d.statusText(), QString());
    QCOMPARE(d.InputEdit->toPlainText(), QString());
}

std::unique_ptr<TFmCoursePrac> TestSentenceCourse::openCourse(int lines, int stored) {
    auto d = std::make_unique<TFmCoursePrac>();
    d->SetFileName(writeFile(*m_dir, "course.txt", courseOf(lines)));
    d->SetCurrentLine(stored);
    d->LoadFile();
    d->show();
    return d;
}

void TestSentenceCourse::courseOpensAtTheStoredLine() {
    auto d = openCourse(20, 5);
    QCOMPARE(d->windowTitle(), QStringLiteral("Course"));
    QCOMPARE(d->Label1->text(), QStringLiteral("6 / 20"));
    QCOMPARE(sampleOf(*d), QByteArray("line 6 of the course"));
    QCOMPARE(d->WordCount, 5);
    QCOMPARE(d->statusText(),
             QStringLiteral(
                 "Press the -> key to the next, the <- key to the previous, the Insert key to anywhere."));
    QCOMPARE(d->GetCurrentLine(), 5);
}

void TestSentenceCourse::courseStoredPositionOutsideIsClamped_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("label");
    QTest::newRow("beyond the end") << 99 << QStringLiteral("20 / 20");
    QTest::newRow("negative") << -3 << QStringLiteral("1 / 20");
}

void TestSentenceCourse::courseStoredPositionOutsideIsClamped() {
    QFETCH(int, stored);
    auto d = openCourse(20, stored);
    QTEST(d->Label1->text(), "label");
    QVERIFY(!d->sample().isEmpty());
}

void TestSentenceCourse::courseArrowsStopAtBothEnds() {
    auto d = openCourse(20, 19);
    QTest::keyClick(d->InputEdit, Qt::Key_Right);
    QCOMPARE(d->Label1->text(), QStringLiteral("20 / 20"));
    QCOMPARE((*m_dialogs)->texts(ScriptedDialogs::Kind::Information), QStringList{"End of the course."});
    QTest::keyClick(d->InputEdit, Qt::Key_Up);
    QTest::keyClick(d->InputEdit, Qt::Key_Left);
    QCOMPARE(d->Label1->text(), QStringLiteral("18 / 20"));
    QTest::keyClick(d->InputEdit, Qt::Key_Down);
    QCOMPARE(d->Label1->text(), QStringLiteral("19 / 20"));
    d->SetCurrentLine(0);
    (*m_dialogs)->clear();
    QTest::keyClick(d->InputEdit, Qt::Key_Left);
    QCOMPARE(d->Label1->text(), QStringLiteral("1 / 20"));
    QCOMPARE((*m_dialogs)->texts(ScriptedDialogs::Kind::Information),
             QStringList{"Beginning of the course."});
    QCOMPARE(d->NavCommand, cnPrevious);
    QTest::keyClick(d->InputEdit, 'l');
    QCOMPARE(d->NavCommand, cnNone);
    // A character composed by an input method counts as a typed key too: the navigation of an
    // arrow before it is not repeated when it ends the line.
    QTest::keyClick(d->InputEdit, Qt::Key_Right);
    QCOMPARE(d->Label1->text(), QStringLiteral("2 / 20"));
    const QByteArray line = d->sample().bytes();
    for (const char c : line.chopped(1))
        QTest::keyClick(d->InputEdit, c);
    QInputMethodEvent composed;
    composed.setCommitString(QString(QChar(line.back())));
    QCoreApplication::sendEvent(d->InputEdit, &composed);
    composed.setCommitString(QStringLiteral("\u00e9"));
    QCoreApplication::sendEvent(d->InputEdit, &composed);
    QCOMPARE(d->EndReason, lerCompleted);
    QCOMPARE(d->Label1->text(), QStringLiteral("3 / 20"));
}

void TestSentenceCourse::courseGotoPrompt_data() {
    QTest::addColumn<QString>("answer"); // "<cancel>" cancels
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("proposed number") << QStringLiteral("6") << QStringLiteral("6 / 20") << QStringList();
    QTest::newRow("cancel") << QStringLiteral("<cancel>") << QStringLiteral("6 / 20") << QStringList();
    QTest::newRow("7") << QStringLiteral("7") << QStringLiteral("7 / 20") << QStringList();
    QTest::newRow("20") << QStringLiteral("20") << QStringLiteral("20 / 20") << QStringList();
    QTest::newRow("0") << QStringLiteral("0") << QStringLiteral("6 / 20") << QStringList();
    QTest::newRow("21") << QStringLiteral("21") << QStringLiteral("6 / 20") << QStringList();
    QTest::newRow("abc") << QStringLiteral("abc") << QStringLiteral("6 / 20")
                         << QStringList{"Invalid input."};
    QTest::newRow("twelve characters")
        << QStringLiteral("000000000007") << QStringLiteral("6 / 20") << QStringList();
    QTest::newRow("empty") << QString() << QStringLiteral("6 / 20") << QStringList{"Invalid input."};
    QTest::newRow("smallest integer")
        << QStringLiteral("-$80000000") << QStringLiteral("6 / 20") << QStringList();
}

void TestSentenceCourse::courseGotoPrompt() {
    QFETCH(QString, answer);
    auto d = openCourse(20, 5);
    QTest::keyClick(d->InputEdit, 'l');
    if (answer == QStringLiteral("<cancel>"))
        (*m_dialogs)->cancelText();
    else
        (*m_dialogs)->answerText(answer);
    QTest::keyClick(d->InputEdit, Qt::Key_Insert);
    const auto& shown = (*m_dialogs)->shown();
    QVERIFY(!shown.empty());
    QCOMPARE(shown.front().kind, ScriptedDialogs::Kind::InputBox);
    QCOMPARE(shown.front().caption, QStringLiteral("Input Box"));
    QCOMPARE(shown.front().text, QStringLiteral("Please input a number to goto somewhere of the course:"));
    QTEST(d->Label1->text(), "label");
    QTEST((*m_dialogs)->texts(ScriptedDialogs::Kind::Information), "messages");
    // Whatever the answer, the line starts again from its first character.
    QCOMPARE(d->Position, 1);
    QCOMPARE(d->InputEdit->toPlainText(), QString());
    QVERIFY(!d->Timing);
}

void TestSentenceCourse::courseAdvancesOnAcceptedLines_data() {
    QTest::addColumn<int>("wrong");
    QTest::addColumn<bool>("skip");
    QTest::addColumn<QString>("label");
    // "line 6 of the course" has 20 characters: 1 wrong is 95 %, 2 wrong 90 %.
    QTest::newRow("95 %") << 1 << false << QStringLiteral("7 / 20");
    QTest::newRow("90 %") << 2 << false << QStringLiteral("6 / 20");
    QTest::newRow("skipped with Enter") << 0 << true << QStringLiteral("7 / 20");
}

void TestSentenceCourse::courseAdvancesOnAcceptedLines() {
    QFETCH(int, wrong);
    QFETCH(bool, skip);
    auto d = openCourse(20, 5);
    if (skip) {
        QTest::keyClick(d->InputEdit, 'l');
        QTest::keyClick(d->InputEdit, Qt::Key_Return);
        QCOMPARE(d->statusText().left(5), QStringLiteral("Press"));
    } else {
        typeLine(*d, wrong);
        QVERIFY(d->statusText().startsWith(QStringLiteral("Keys/Min: 20")));
    }
    QTEST(d->Label1->text(), "label");
    QVERIFY(d->LineAccepted);
}

void TestSentenceCourse::courseLastLineCompletedStaysThere() {
    auto d = openCourse(3, 2);
    typeLine(*d);
    QCOMPARE(d->Label1->text(), QStringLiteral("3 / 3"));
    QCOMPARE((*m_dialogs)->texts(ScriptedDialogs::Kind::Information), QStringList{"End of the course."});
    QCOMPARE(d->GetCurrentLine(), 2);
    // Esc keeps the position and closes the window.
    QTest::keyClick(d->InputEdit, 'l');
    QTest::keyClick(d->InputEdit, Qt::Key_Escape);
    QVERIFY(!d->isVisible());
    QCOMPARE(d->GetCurrentLine(), 2);
}

void TestSentenceCourse::courseEndHomeDeleteDoNothing() {
    auto d = openCourse(20, 5);
    QTest::keyClick(d->InputEdit, 'l');
    for (Qt::Key key : {Qt::Key_End, Qt::Key_Home, Qt::Key_Delete})
        QTest::keyClick(d->InputEdit, key);
    QCOMPARE(d->Label1->text(), QStringLiteral("6 / 20"));
    QCOMPARE(d->Position, 2);
    QCOMPARE(d->InputEdit->toPlainText(), QStringLiteral("l"));
    QVERIFY((*m_dialogs)->shown().empty());
}

void TestSentenceCourse::courseNavigationRestartsTheAttempt() {
    auto d = openCourse(20, 5);
    QTest::keyClick(d->InputEdit, 'l');
    QVERIFY(d->Timing);
    QVERIFY(d->LbMark->isVisible());
    m_fx->keyboard.highlighted.clear();
    QTest::keyClick(d->InputEdit, Qt::Key_Right);
    QVERIFY(!d->Timing);
    QVERIFY(d->LbMark->isHidden());
    QCOMPARE(m_fx->keyboard.highlighted, QByteArray("l"));
    QCOMPARE(sampleOf(*d), QByteArray("line 7 of the course"));
    // The next key times the new line from its own start.
    DrillFixture::now += 10000;
    QTest::keyClick(d->InputEdit, 'l');
    DrillFixture::now += 60000;
    for (char c : QByteArray("ine 7 of the course "))
        QTest::keyClick(d->InputEdit, c);
    QCOMPARE(d->LineTime, 60000);
}

void TestSentenceCourse::courseGoesOnWhenTheKeyboardFails() {
    FailingKeyboard failing;
    drillCompanions().keyboard = &failing;
    auto d = openCourse(20, 5);
    QVERIFY(!(*m_dialogs)->texts(ScriptedDialogs::Kind::Error).isEmpty());
    typeLine(*d);
    // The next line is prepared whole: its label, its empty input box, an untimed start.
    QCOMPARE(d->Label1->text(), QStringLiteral("7 / 20"));
    QCOMPARE(d->InputEdit->toPlainText(), QString());
    QCOMPARE(d->Position, 1);
    QVERIFY(!d->Timing);
    QVERIFY(d->LbMark->isHidden());
    drillCompanions().keyboard = &m_fx->keyboard;
}

void TestSentenceCourse::courseLabelShowsLongCoursesWhole() {
    auto d = openCourse(1200, 1100);
    QCOMPARE(d->Label1->text(), QStringLiteral("1101 / 1200"));
    QVERIFY(d->Label1->width() >= d->Label1->sizeHint().width());
    QCOMPARE(d->Label1->pos(), QPoint(480, 90));
}

QTEST_MAIN(TestSentenceCourse)
#include "tst_sentence_course.moc"
