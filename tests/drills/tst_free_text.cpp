#include "DrillFakes.h"

#include "drills/DrillText.h"
#include "drills/ui/DrillInputEdit.h"
#include "drills/ui/SoftLineBreaks.h"
#include "drills/ui/TFmLetterPrac.h"
#include "drills/ui/TFmLongText.h"
#include "platform/CodePage.h"
#include "platform/ScriptedDialogs.h"
#include "support/UnusualFiles.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {
void typeText(QWidget* w, const QByteArray& keys) {
    for (const char k : keys)
        QTest::keyClick(w, k);
}

// Answers the text drill's open dialog for the time of a test.
class ChooserGuard {
public:
    explicit ChooserGuard(std::optional<QString> answer) {
        m_previous = TOpenDialog::setChooser([this, answer](QWidget*, const TOpenDialog& dialog) {
            asked = dialog;
            ++calls;
            return answer;
        });
    }
    ~ChooserGuard() { TOpenDialog::setChooser(std::move(m_previous)); }
    ChooserGuard(const ChooserGuard&) = delete;
    ChooserGuard& operator=(const ChooserGuard&) = delete;
    TOpenDialog asked;
    int calls = 0;

private:
    TOpenDialog::Chooser m_previous;
};
} // namespace

class TestFreeText : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void freeDrillAsksOnInsert_data();
    void freeDrillAsksOnInsert();
    void freeDrillRepeatsItsLine();
    void freeDrillInsertMidLineStartsUntimed();
    void freeDrillEmptyEntryKeepsTheLine();
    void freeDrillKeyWithoutLineAsks();
    void freeDrillOpensWithNothingLit();
    void freeDrillNavigationKeys_data();
    void freeDrillNavigationKeys();

    void textDrillSetUp();
    void textDrillLineBreaksAndReturnButton();
    void textDrillFinishedTakesNoKeys();
    void textDrillRestartInTheMiddle();
    void textDrillWordCount();
    void textDrillEmptyClipboard();
    void textDrillLoadsFiles_data();
    void textDrillLoadsFiles();
    void textDrillUnreadableFileKeepsTheText();
    void textDrillCancelledDialogChangesNothing();
    void textDrillRefusesHugeTexts_data();
    void textDrillRefusesHugeTexts();
    void textDrillLoadShowsBusyCursor();
    void textDrillLongParagraphSelectsEachCharacter();
    void textDrillRefusesAPipeChosenInItsDialog();

private:
    std::unique_ptr<DrillFixture> m_fx;
    std::unique_ptr<ScriptedDialogsGuard> m_dialogs;
};

void TestFreeText::init() {
    m_fx = std::make_unique<DrillFixture>();
    m_dialogs = std::make_unique<ScriptedDialogsGuard>();
}

void TestFreeText::cleanup() {
    m_dialogs.reset();
    m_fx.reset();
}

void TestFreeText::freeDrillAsksOnInsert_data() {
    QTest::addColumn<QString>("entry"); // "<cancel>" cancels
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("words");
    QByteArray qwerty = "qwerty";
    for (int i = 1; i < 10; ++i)
        qwerty += " qwerty";
    QTest::newRow("cancel gives qwerty") << QStringLiteral("<cancel>") << qwerty << 10;
    QTest::newRow("40 characters") << QString(40, u'x') << QByteArray(40, 'x') << 1;
    QTest::newRow("41 characters cut") << QString(41, u'y') << QByteArray(40, 'y') << 1;
    QTest::newRow("beyond the code page") << QString::fromUtf16(u"\u00e4\u0416") + QString(38, u'z')
                                          << QByteArray("\xe4?") + QByteArray(38, 'z') << 1;
}

void TestFreeText::freeDrillAsksOnInsert() {
    QFETCH(QString, entry);
    TFmLetterPrac d;
    QCOMPARE(d.windowTitle(), QStringLiteral("Free Drills"));
    QCOMPARE(d.statusText(), QStringLiteral("Please press the Insert key for defining the example line."));
    d.show();
    QVERIFY((*m_dialogs)->shown().empty()); // asks nothing by itself
    if (entry == QStringLiteral("<cancel>"))
        (*m_dialogs)->cancelText();
    else
        (*m_dialogs)->answerText(entry);
    QTest::keyClick(d.InputEdit, Qt::Key_Insert);
    const auto& shown = (*m_dialogs)->shown();
    QCOMPARE(shown.size(), size_t(1));
    QCOMPARE(shown[0].caption, QStringLiteral("Input Box"));
    QCOMPARE(shown[0].text, QStringLiteral("Please input what to practise:"));
    QTEST(d.sample().bytes(), "line");
    QTEST(d.WordCount, "words");
    QCOMPARE(d.SampleLength, d.sample().length());
    QVERIFY(d.LineDefined);
    QCOMPARE(d.Position, 1);
    QCOMPARE(m_fx->keyboard.highlighted.right(1), d.sample().bytes().left(1));
}

void TestFreeText::freeDrillRepeatsItsLine() {
    TFmLetterPrac d;
    d.show();
    (*m_dialogs)->answerText(QStringLiteral("ab"));
    QTest::keyClick(d.InputEdit, Qt::Key_Insert);
    const QByteArray line = d.sample().bytes();
    QCOMPARE(line.size(), 80 / 4 * 3 - 1);
    for (int i = 0; i < line.size(); ++i)
        QTest::keyClick(d.InputEdit, i < 10 ? 'q' : line[i]);
    DrillFixture::now += 60000;
    QTest::keyClick(d.InputEdit, 'q');
    QVERIFY(!d.LineAccepted); // below 95 %, and it makes no difference here
    QCOMPARE(d.sample().bytes(), line);
    QCOMPARE(d.Position, 1);
    QCOMPARE(d.InputEdit->toPlainText(), QString());
    QCOMPARE((*m_dialogs)->shown().size(), size_t(1));
}

void TestFreeText::freeDrillInsertMidLineStartsUntimed() {
    TFmLetterPrac d;
    d.show();
    (*m_dialogs)->answerText(QStringLiteral("abc"));
    QTest::keyClick(d.InputEdit, Qt::Key_Insert);
    typeText(d.InputEdit, "ab");
    QVERIFY(d.Timing);
    (*m_dialogs)->answerText(QStringLiteral("xyz"));
    QTest::keyClick(d.InputEdit, Qt::Key_Insert);
    QVERIFY(!d.Timing);
    QVERIFY(d.LbMark->isHidden());
    QCOMPARE(d.sample().bytes().left(4), QByteArray("xyz "));
    QCOMPARE(d.InputEdit->toPlainText(), QString());
    DrillFixture::now += 7000; // the dropped attempt's time does not count
    QTest::keyClick(d.InputEdit, 'x');
    QVERIFY(d.Timing);
    DrillFixture::now += 1000;
    QTest::keyClick(d.InputEdit, Qt::Key_Escape);
    QCOMPARE(d.LineTime, 1000);
}

void TestFreeText::freeDrillEmptyEntryKeepsTheLine() {
    TFmLetterPrac d;
    d.show();
    (*m_dialogs)->answerText(QStringLiteral("fj"));
    QTest::keyClick(d.InputEdit, Qt::Key_Insert);
    typeText(d.InputEdit, "fj");
    QVERIFY(!d.LbMark->isHidden());
    (*m_dialogs)->answerText(QString());
    QTest::keyClick(d.InputEdit, Qt::Key_Insert);
    QCOMPARE(d.sample().bytes().left(3), QByteArray("fj "));
    QCOMPARE(d.Position, 1);
    QVERIFY(!d.Timing);
    QVERIFY(d.LbMark->isHidden()); // the restarted line is not timed yet
    QVERIFY(!d.LineDefined);
    // The prompt comes again when that line ends.
    (*m_dialogs)->answerText(QStringLiteral("kd"));
    QTest::keyClick(d.InputEdit, Qt::Key_Return);
    QCOMPARE((*m_dialogs)->texts(ScriptedDialogs::Kind::InputBox).size(), 3);
    QCOMPARE(d.sample().bytes().left(3), QByteArray("kd "));
}

void TestFreeText::freeDrillOpensWithNothingLit() {
    // A drill before this one left a key and a finger lit on the shared windows.
    m_fx->left.lit = 4;
    m_fx->right.lit = 2;
    TFmLetterPrac d;
    d.show();
    QCOMPARE(m_fx->keyboard.highlighted, QByteArray(1, '\0'));
    QCOMPARE(m_fx->left.lit, 0);
    QCOMPARE(m_fx->right.lit, 0);
    QCOMPARE(m_fx->keyboard.shows, 1);
}

void TestFreeText::freeDrillKeyWithoutLineAsks() {
    TFmLetterPrac d;
    d.show();
    (*m_dialogs)->answerText(QString()); // empty: nothing built
    QTest::keyClick(d.InputEdit, Qt::Key_Escape);
    QCOMPARE(d.EndReason, lerNone);
    QVERIFY(d.isVisible()); // Esc on an empty line does not close
    QCOMPARE((*m_dialogs)->texts(ScriptedDialogs::Kind::InputBox).size(), 1);
    (*m_dialogs)->answerText(QStringLiteral("as"));
    QTest::keyClick(d.InputEdit, 'a');
    QCOMPARE(d.sample().bytes().left(3), QByteArray("as "));
    QCOMPARE(d.InputEdit->toPlainText(), QString()); // the key that ended the empty line is swallowed
    // Esc on a defined line closes the window.
    QTest::keyClick(d.InputEdit, 'a');
    QTest::keyClick(d.InputEdit, Qt::Key_Escape);
    QVERIFY(!d.isVisible());
}

void TestFreeText::freeDrillNavigationKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("passes");
    QTest::newRow("End") << int(Qt::Key_End) << false;
    QTest::newRow("Home") << int(Qt::Key_Home) << false;
    QTest::newRow("Left") << int(Qt::Key_Left) << false;
    QTest::newRow("Down") << int(Qt::Key_Down) << false;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << false;
    QTest::newRow("PageUp") << int(Qt::Key_PageUp) << true;
    QTest::newRow("PageDown") << int(Qt::Key_PageDown) << true;
}

void TestFreeText::freeDrillNavigationKeys() {
    QFETCH(int, key);
    TFmLetterPrac d;
    quint16 code = KeyInput::virtualKeyCode(QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    d.InputEditKeyDown(code);
    QTEST(code != 0, "passes");
    QVERIFY((*m_dialogs)->shown().empty());
}

void TestFreeText::textDrillSetUp() {
    TFmLongText d;
    QCOMPARE(d.windowTitle(), QStringLiteral("Text drill"));
    QVERIFY(!d.ShowKeyboard);
    QVERIFY(!d.ReturnEndsLine);
    QCOMPARE(d.OpenDialog1.Filter, QStringLiteral("Text|*.Txt|All|*.*"));
    QCOMPARE(TOpenDialog::qtFilter(d.OpenDialog1.Filter), QStringLiteral("Text (*.Txt);;All (*)"));
    QVERIFY(d.OpenDialog1.InitialDir.endsWith(QStringLiteral("/Courses")));
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    QCOMPARE(d.geometry(), QRect(1, 1, screen.width(), screen.height() - 25));
    QCOMPARE(d.SampleEdit->height(), d.height() / 2 - 48);
    QCOMPARE(d.InputEdit->height(), d.height() / 2 - 48);
    QCOMPARE(d.BnLoad->text(), QStringLiteral("&Load text"));
    QCOMPARE(d.BnShowReturn->toolTip(), QStringLiteral("Press return key if you see this button"));
    d.show();
    // Those are the whole window's edges, frame included; the boxes share the client height left.
    QTRY_COMPARE(d.frameGeometry(), QRect(1, 1, screen.width(), screen.height() - 25));
    QVERIFY(d.height() < screen.height() - 25);
    QCOMPARE(d.SampleEdit->height(), d.height() / 2 - 48);
    QCOMPARE(d.InputEdit->height(), d.height() / 2 - 48);
    QCOMPARE(d.InputEdit->width(), d.width() - 11);
    QCOMPARE(d.minimumSize(), d.maximumSize());
    QCOMPARE(m_fx->keyboard.shows, 0); // no keyboard or hands in this drill
    QCOMPARE(m_fx->left.shows + m_fx->right.shows, 0);
}

void TestFreeText::textDrillLineBreaksAndReturnButton() {
    TFmLongText d;
    int returns = 0;
    int completed = 0;
    d.OnReturnExpected = [&](QObject* sender) {
        QCOMPARE(sender, &d);
        ++returns;
    };
    d.OnLineComplete = [&](QObject*) { ++completed; };
    d.show();
    QGuiApplication::clipboard()->setText(QStringLiteral("ab\ncd"));
    d.BnPaste->click();
    QCOMPARE(d.SampleLength, 6);
    QCOMPARE(d.WordCount, 2);
    QVERIFY(d.BnShowReturn->isHidden());
    typeText(d.InputEdit, "ab");
    QVERIFY(d.BnShowReturn->isVisible());
    QCOMPARE(returns, 1);
    QCOMPARE(d.SampleEdit->textCursor().selectedText(), QString(QChar(0x2029)));
    QTest::keyClick(d.InputEdit, Qt::Key_Return);
    QVERIFY(d.BnShowReturn->isHidden());
    QCOMPARE(d.Position, 5);
    QCOMPARE(d.SampleEdit->textCursor().selectedText(), QStringLiteral("c"));
    QTest::keyClick(d.InputEdit, Qt::Key_Backspace); // back over the whole line break
    QCOMPARE(d.Position, 3);
    QVERIFY(d.BnShowReturn->isVisible());
    QTest::keyClick(d.InputEdit, ' ');
    typeText(d.InputEdit, "cd");
    QCOMPARE(d.InputEdit->toPlainText(), QStringLiteral("ab\ncd"));
    QCOMPARE(completed, 0);
    QTest::keyClick(d.InputEdit, Qt::Key_Return); // after the last character: finishes
    QCOMPARE(completed, 1);
    QVERIFY(d.InputEdit->isReadOnly());
    QVERIFY(d.statusText().startsWith(QStringLiteral("Keys/Min: ")));
}

void TestFreeText::textDrillFinishedTakesNoKeys() {
    TFmLongText d;
    int completed = 0;
    d.OnLineComplete = [&](QObject*) { ++completed; };
    d.show();
    QGuiApplication::clipboard()->setText(QStringLiteral("xy"));
    d.PasteText();
    typeText(d.InputEdit, "xy");
    DrillFixture::now += 3000;
    QTest::keyClick(d.InputEdit, 'z');
    const int total = d.TotalTime;
    const QString status = d.statusText();
    DrillFixture::now += 3000;
    typeText(d.InputEdit, "abc");
    QTest::keyClick(d.InputEdit, Qt::Key_Escape);
    QCOMPARE(d.TotalTime, total);
    QCOMPARE(d.statusText(), status);
    QCOMPARE(completed, 1);
    QVERIFY(d.isVisible());
    QCOMPARE(d.InputEdit->toPlainText(), QStringLiteral("xy"));
    d.BnRestart->click();
    QVERIFY(!d.InputEdit->isReadOnly());
    QCOMPARE(d.InputEdit->toPlainText(), QString());
    QCOMPARE(d.Position, 1);
    QCOMPARE(d.sample().bytes(), QByteArray("xy"));
    QTest::keyClick(d.InputEdit, 'x');
    QCOMPARE(d.InputEdit->toPlainText(), QStringLiteral("x"));
}

void TestFreeText::textDrillRestartInTheMiddle() {
    TFmLongText d;
    d.show();
    QGuiApplication::clipboard()->setText(QStringLiteral("abcd"));
    d.PasteText();
    typeText(d.InputEdit, "ab");
    QVERIFY(d.LbMark->isVisible());
    DrillFixture::now += 9000;
    d.BnRestart->click();
    QVERIFY(d.LbMark->isHidden());
    QCOMPARE(d.TotalTime, 0); // the dropped attempt adds nothing
    DrillFixture::now += 1000;
    QTest::keyClick(d.InputEdit, 'a');
    QVERIFY(d.LbMark->isVisible());
    DrillFixture::now += 2000;
    typeText(d.InputEdit, "bcd.");
    QCOMPARE(d.LineTime, 2000);
    QCOMPARE(d.TotalTime, 2000);
}

void TestFreeText::textDrillWordCount() {
    TFmLongText d;
    QGuiApplication::clipboard()->setText(QStringLiteral("one, two. three/ four five"));
    d.PasteText();
    QCOMPARE(d.WordCount, 5);
    QGuiApplication::clipboard()->setText(QStringLiteral("well-known don't"));
    d.PasteText();
    QCOMPARE(d.WordCount, 2);
    QGuiApplication::clipboard()->setText(QStringLiteral("  \n \n"));
    d.PasteText();
    QCOMPARE(d.WordCount, 0);
}

void TestFreeText::textDrillEmptyClipboard() {
    TFmLongText d;
    int completed = 0;
    d.OnLineComplete = [&](QObject*) { ++completed; };
    d.show();
    QGuiApplication::clipboard()->clear();
    m_fx->keyboard.highlighted.clear();
    d.PasteText();
    QCOMPARE(d.SampleLength, 0);
    QVERIFY(m_fx->keyboard.highlighted.isEmpty());
    QVERIFY(!d.InputEdit->isReadOnly());
    QTest::keyClick(d.InputEdit, 'a');
    QVERIFY(d.InputEdit->isReadOnly());
    QCOMPARE(completed, 1);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestFreeText::textDrillLoadsFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("sample");
    QTest::newRow("plain 1252") << QByteArray("Gr\xfc\xdf"
                                              "e\r\nzwei")
                                << QByteArray("Gr\xfc\xdf"
                                              "e\r\nzwei");
    QTest::newRow("utf-8 with LF") << QByteArray("Gr\xc3\xbc\xc3\x9f"
                                                 "e\nzwei\n")
                                   << QByteArray("Gr\xfc\xdf"
                                                 "e\r\nzwei\r\n");
    QTest::newRow("rtf") << QByteArray(
                                "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 One\\par Two\\'e4\\par}")
                         << QByteArray("One\r\nTwo\xe4");
    QTest::newRow("rtf unbalanced") << QByteArray("{\\rtf1 {\\b One") << QByteArray("One");
    QTest::newRow("nul bytes") << QByteArray("a\0b\0c", 5) << QByteArray("abc");
    QTest::newRow("binary") << QByteArray("\x7f"
                                          "ELF\x02\x01\x01\0\0\0\x03\0>\0\xff\xfe",
                                          16)
                            << QByteArray("ELF>\xff\xfe");
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void TestFreeText::textDrillLoadsFiles() {
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("text.txt"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    ChooserGuard chooser(path);
    TFmLongText d;
    d.show();
    d.BnLoad->click();
    QCOMPARE(chooser.calls, 1);
    QCOMPARE(chooser.asked.InitialDir, d.OpenDialog1.InitialDir);
    QTEST(d.sample().bytes(), "sample");
    QCOMPARE(d.SampleLength, d.sample().length());
    QCOMPARE(int(d.Marks.size()), d.SampleLength + 1);
    QVERIFY(!d.InputEdit->isReadOnly());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY((*m_dialogs)->shown().empty());
    // The loaded text is typed like any other.
    if (d.SampleLength > 0) {
        QTest::sendKeyEvent(QTest::Click, d.InputEdit, Qt::Key_unknown,
                            QString(CodePage::charToUnicode(static_cast<unsigned char>(d.sample().at(1)))),
                            Qt::NoModifier);
        QCOMPARE(d.Position, 2);
    }
}

void TestFreeText::textDrillUnreadableFileKeepsTheText() {
    QTemporaryDir dir;
    TFmLongText d;
    d.show();
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    d.PasteText();
    ChooserGuard chooser(dir.filePath(QStringLiteral("missing.txt")));
    d.LoadTextFromFile();
    const QStringList errors = (*m_dialogs)->texts(ScriptedDialogs::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors[0].contains(QStringLiteral("missing.txt")));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(d.sample().bytes(), QByteArray("kept"));
    QTest::keyClick(d.InputEdit, 'k');
    QCOMPARE(d.Position, 2);
}

void TestFreeText::textDrillCancelledDialogChangesNothing() {
    ChooserGuard chooser(std::nullopt);
    TFmLongText d;
    d.show();
    QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
    d.PasteText();
    QTest::keyClick(d.InputEdit, 'a');
    d.BnLoad->click();
    QCOMPARE(chooser.calls, 1);
    QCOMPARE(d.Position, 2);
    QVERIFY(d.Timing);
    QCOMPARE(d.sample().bytes(), QByteArray("abc"));
}

void TestFreeText::textDrillRefusesHugeTexts_data() {
    QTest::addColumn<QString>("file");    // the kind of file in place of a text
    QTest::addColumn<QString>("message"); // %1: its path
    QTest::newRow("sparse file just over the limit")
        << QStringLiteral("huge")
        << QStringLiteral("The file \"%1\" is too large: 16777217 bytes (at most 16777216 bytes).");
    QTest::newRow("endless device") << QStringLiteral("/dev/zero")
                                    << QStringLiteral("Cannot open file \"%1\". It is not a regular file.");
    QTest::newRow("named pipe") << QStringLiteral("pipe")
                                << QStringLiteral("Cannot open file \"%1\". It is not a regular file.");
}

void TestFreeText::textDrillRefusesHugeTexts() {
    QFETCH(QString, file);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QString path = file;
    if (file == QStringLiteral("huge"))
        path = UnusualFiles::sparse(dir.path(), QStringLiteral("huge.txt"), DrillText::MaxTextLength + 1);
    else if (file == QStringLiteral("pipe"))
        path = UnusualFiles::fifo(dir.path(), QStringLiteral("x.txt")); // opening it waits for a writer
    QVERIFY(!path.isEmpty());
    TFmLongText d;
    d.show();
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    d.PasteText();
    ChooserGuard chooser(path);
    d.LoadTextFromFile();
    const QStringList errors = (*m_dialogs)->texts(ScriptedDialogs::Kind::Error);
    QCOMPARE(errors, QStringList{message.arg(path)});
    QCOMPARE(d.sample().bytes(), QByteArray("kept"));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

// A named pipe "x.txt" picked in the real open dialog, typed as "x" under the "Text" filter: the
// drill says it cannot open it instead of waiting for a writer for good.
void TestFreeText::textDrillRefusesAPipeChosenInItsDialog() {
    QTemporaryDir dir;
    const QString pipe = UnusualFiles::fifo(dir.path(), QStringLiteral("x.txt"));
    QVERIFY(!pipe.isEmpty());
    TFmLongText d;
    d.show();
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    d.PasteText();
    auto* timer = new QTimer(&d);
    timer->setInterval(20);
    connect(timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        timer->stop();
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
            ->setText(dir.filePath(QStringLiteral("x")));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    timer->start();
    d.BnLoad->click();
    QCOMPARE((*m_dialogs)->texts(ScriptedDialogs::Kind::Error),
             QStringList{QStringLiteral("Cannot open file \"%1\". It is not a regular file.").arg(pipe)});
    QCOMPARE(d.sample().bytes(), QByteArray("kept"));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}


void TestFreeText::textDrillLoadShowsBusyCursor() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("text.txt"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("one line\r\nanother line\r\n").repeated(2000));
    f.close();
    ChooserGuard chooser(path);
    TFmLongText d;
    d.show();
    QList<int> shapes; // the override cursor whenever the sample box takes the text
    connect(d.SampleEdit->document(), &QTextDocument::contentsChange, this, [&shapes] {
        const QCursor* cursor = QApplication::overrideCursor();
        shapes.append(cursor ? int(cursor->shape()) : -1);
    });
    d.LoadTextFromFile();
    QVERIFY(!shapes.isEmpty());
    for (const int shape : shapes)
        QCOMPARE(shape, int(Qt::WaitCursor));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(d.SampleLength, 2000 * 24);

    // A file that cannot be read leaves no busy cursor behind either.
    ChooserGuard missing(dir.filePath(QStringLiteral("missing.txt")));
    d.LoadTextFromFile();
    QCOMPARE((*m_dialogs)->texts(ScriptedDialogs::Kind::Error).size(), 1);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestFreeText::textDrillLongParagraphSelectsEachCharacter() {
    // A text without line breaks: the sample box keeps it as one block per screen line, and the
    // selection still finds each expected character, across the lines, forward and back.
    QByteArray text;
    for (int i = 0; text.size() < 3000; ++i)
        text += QByteArray("word") + QByteArray::number(i) + ' ';
    TFmLongText d;
    d.show();
    QGuiApplication::clipboard()->setText(QString::fromLatin1(text));
    d.BnPaste->click();
    QCOMPARE(d.SampleLength, int(text.size()));
    QTextDocument* box = d.SampleEdit->document();
    QVERIFY(box->blockCount() > 10);
    for (QTextBlock b = box->firstBlock(); b.isValid(); b = b.next())
        QVERIFY(b.layout()->lineCount() <= 1);
    QCOMPARE(SoftLineBreaks::plainText(box), QString::fromLatin1(text));
    for (int i = 0; i < 700; ++i) {
        QTest::keyClick(d.InputEdit, text[i]);
        QCOMPARE(d.SampleEdit->textCursor().selectedText(), QString(QChar(text[i + 1])));
    }
    for (int i = 0; i < 150; ++i)
        QTest::keyClick(d.InputEdit, Qt::Key_Backspace);
    QCOMPARE(d.Position, 551);
    QCOMPARE(d.SampleEdit->textCursor().selectedText(), QString(QChar(text[550])));
    QCOMPARE(d.InputEdit->typedText(), QString::fromLatin1(text.left(550)));
}

QTEST_MAIN(TestFreeText)
#include "tst_free_text.moc"
