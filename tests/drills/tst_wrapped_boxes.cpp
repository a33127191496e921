#include "drills/ui/DrillInputEdit.h"
#include "drills/ui/SoftLineBreaks.h"
#include "drills/ui/TFmLongText.h"

#include <QClipboard>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>
#include <memory>

namespace {
// Prose without line breaks: words of 1 to 9 letters.
QString paragraph(int length) {
    QString text;
    quint32 seed = 7;
    while (text.size() < length) {
        seed = seed * 1103515245u + 12345u;
        const int word = 1 + int((seed >> 16) % 9);
        for (int i = 0; i < word; ++i)
            text += QChar(u'a' + char16_t((seed >> (i + 2)) % 26));
        text += u' ';
    }
    text.truncate(length);
    return text;
}

void prepare(QPlainTextEdit& box, int width) {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(14);
    box.setFont(font);
    box.document()->setDefaultFont(font);
    box.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box.setCursorWidth(0); // the caret blinks where the box has the focus
    box.resize(width, 600);
    box.show();
    QCoreApplication::processEvents();
}

// What the box shows.
QImage shown(QPlainTextEdit& box) {
    return box.viewport()->grab().toImage();
}

// A plain box with the same text in one paragraph per line break: what the user must see.
std::unique_ptr<QPlainTextEdit> reference(const QString& text, int width) {
    auto box = std::make_unique<QPlainTextEdit>();
    prepare(*box, width);
    box->setPlainText(text);
    QCoreApplication::processEvents();
    return box;
}

// Whether the box shows what a plain box shows with the same text at the same width.
bool showsAsPlain(QPlainTextEdit& box, const QString& text, int width) {
    QCoreApplication::processEvents();
    return shown(box) == shown(*reference(text, width));
}

bool everyBlockIsOneLine(const QPlainTextEdit& box) {
    for (QTextBlock b = box.document()->firstBlock(); b.isValid(); b = b.next()) {
        if (b.layout()->lineCount() > 1) return false;
    }
    return true;
}
} // namespace

// The input box keeps a typed paragraph as one block per screen line, so that a key lays out one
// line; the box must look exactly as with the whole paragraph in one block.
class TestWrappedBoxes : public QObject {
    Q_OBJECT
private slots:
    void typedParagraphLooksTheSame();
    void backspaceOverWrappedLines();
    void lineBreaksStayTyped();
    void newWidthWrapsAgain();
    void rightAndWrongColoursWrapAlike();
    void longSampleSplitsWhereTheBoxWraps();
    void sampleScrolledAheadShowsItsOwnLines_data();
    void sampleScrolledAheadShowsItsOwnLines();
};

void TestWrappedBoxes::typedParagraphLooksTheSame() {
    DrillInputEdit box;
    prepare(box, 300);
    const QString text = paragraph(400);
    box.typeText(text);

    QCOMPARE(box.typedText(), text);
    QVERIFY(box.document()->blockCount() > 5);
    QVERIFY(everyBlockIsOneLine(box));
    QVERIFY(showsAsPlain(box, text, 300));
}

void TestWrappedBoxes::backspaceOverWrappedLines() {
    DrillInputEdit box;
    prepare(box, 260);
    const QString text = paragraph(300);
    box.typeText(text);
    // Taking characters away lets a word go back to the line above, as it would in one paragraph.
    for (int left = text.size() - 1; left >= 200; --left) {
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.typedText(), text.left(left));
        if (left % 10 == 0) QVERIFY(showsAsPlain(box, text.left(left), 260));
    }
    box.typeText(QStringLiteral("zz"));
    QCOMPARE(box.typedText(), text.left(200) + QStringLiteral("zz"));
    QVERIFY(everyBlockIsOneLine(box));
}

void TestWrappedBoxes::lineBreaksStayTyped() {
    DrillInputEdit box;
    prepare(box, 260);
    const QString first = paragraph(120);
    box.typeText(first);
    QTest::keyClick(&box, Qt::Key_Return);
    box.typeText(QStringLiteral("cd"));
    QCOMPARE(box.typedText(), first + QStringLiteral("\ncd"));
    QVERIFY(showsAsPlain(box, first + QStringLiteral("\ncd"), 260));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(&box, Qt::Key_Backspace);
    QCOMPARE(box.typedText(), first);
    QVERIFY(everyBlockIsOneLine(box));
}

void TestWrappedBoxes::newWidthWrapsAgain() {
    DrillInputEdit box;
    prepare(box, 300);
    const QString text = paragraph(400);
    box.typeText(text);
    box.resize(420, 600);
    QVERIFY(showsAsPlain(box, text, 420));
    QCOMPARE(box.typedText(), text);
    QVERIFY(everyBlockIsOneLine(box));
}

void TestWrappedBoxes::rightAndWrongColoursWrapAlike() {
    DrillInputEdit box;
    prepare(box, 280);
    QPlainTextEdit plain;
    prepare(plain, 280);
    QTextCursor end(plain.document());
    const QString text = paragraph(350);
    QTextCharFormat right;
    right.setForeground(QColor(0x00, 0x00, 0x80));
    QTextCharFormat wrong;
    wrong.setForeground(Qt::red);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QTextCharFormat& format = i % 7 == 3 ? wrong : right;
        box.setInsertFormat(format);
        box.typeText(text.mid(i, 1));
        end.insertText(text.mid(i, 1), format);
    }
    QCoreApplication::processEvents();
    QCOMPARE(box.typedText(), text);
    QVERIFY(box.document()->blockCount() > 5);
    QVERIFY(everyBlockIsOneLine(box));
    QCOMPARE(shown(box), shown(plain));
}

// A long sample goes into its box already split: at first as its screen lines up to a point and in
// provisional pieces after it, which are replaced by the screen lines as typing comes near. Either
// way the box holds the text, and in the end every break is where the box wraps the paragraph.
void TestWrappedBoxes::longSampleSplitsWhereTheBoxWraps() {
    QPlainTextEdit box;
    prepare(box, 300);
    const QString first = paragraph(20000);
    const QString second = paragraph(9000).mid(7);
    std::vector<int> wrapped; // where the box wraps the two paragraphs, each whole in one block
    box.setPlainText(first + u'\n' + second);
    for (QTextBlock b = box.document()->firstBlock(); b.isValid(); b = b.next()) {
        qobject_cast<QPlainTextDocumentLayout*>(box.document()->documentLayout())->ensureBlockLayout(b);
        for (int i = 1; i < b.layout()->lineCount(); ++i)
            wrapped.push_back(b.position() + b.layout()->lineAt(i).textStart());
    }
    box.clear();
    const QString text = first + u'\n' + second;
    SoftLineBreaks::Wrap wrap = SoftLineBreaks::fill(&box, text, QTextCharFormat(), 400, 3000);
    QVERIFY(wrap.exactUntil >= 3000 && wrap.exactUntil < 8000);
    QCOMPARE(SoftLineBreaks::plainText(box.document()), text);
    const auto exact = std::vector<int>(
        wrapped.begin(), std::upper_bound(wrapped.begin(), wrapped.end(), int(wrap.exactUntil)));
    QCOMPARE(std::vector<int>(wrap.breaks.begin(), wrap.breaks.begin() + qsizetype(exact.size())), exact);
    SoftLineBreaks::refine(&box, wrap, 400, 12000);
    QVERIFY(wrap.exactUntil >= 12000 && wrap.exactUntil < 20000);
    SoftLineBreaks::refine(&box, wrap, 400, text.size());
    QCOMPARE(wrap.breaks, wrapped);
    QCOMPARE(SoftLineBreaks::plainText(box.document()), text);
    QCOMPARE(box.document()->blockCount(), int(wrapped.size()) + 2);
}

void TestWrappedBoxes::sampleScrolledAheadShowsItsOwnLines_data() {
    QTest::addColumn<double>("scrolledTo"); // a fraction of the scroll bar's range
    QTest::newRow("past the middle") << 0.6;
    QTest::newRow("to the end") << 1.0;
}

// Scrolled far ahead of the typing, the sample box shows every line as its own wrapping of the
// one paragraph makes it, not the provisional pieces that stand in for lines not yet measured.
void TestWrappedBoxes::sampleScrolledAheadShowsItsOwnLines() {
    QFETCH(double, scrolledTo);
    TFmLongText drill;
    drill.show();
    const QString text = paragraph(120000);
    QGuiApplication::clipboard()->setText(text);
    drill.PasteText();
    QCoreApplication::processEvents(); // the box takes its width, and the text is wrapped for it
    QCoreApplication::processEvents();
    QPlainTextEdit* box = drill.SampleEdit;
    QScrollBar* bar = box->verticalScrollBar();
    bar->setValue(int(bar->maximum() * scrolledTo));
    QCoreApplication::processEvents();

    // Where a text layout of the whole paragraph at the box's line width starts its lines.
    QTextLayout layout(text, box->document()->firstBlock().charFormat().font());
    layout.setTextOption(box->document()->defaultTextOption());
    std::vector<int> starts;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(SoftLineBreaks::lineWidth(box));
        starts.push_back(line.textStart());
    }
    layout.endLayout();

    // Every block separator is a soft break: a block starts at its position less the ones before.
    const QTextBlock top = box->cursorForPosition(QPoint(0, 0)).block();
    const QTextBlock bottom = box->cursorForPosition(QPoint(0, box->viewport()->height() - 1)).block();
    QVERIFY(top.position() - top.blockNumber() > 30000);
    QVERIFY(bottom.blockNumber() > top.blockNumber() + 5);
    for (QTextBlock b = top; b.isValid() && b != bottom.next(); b = b.next()) {
        const int start = b.position() - b.blockNumber();
        const auto line = std::lower_bound(starts.begin(), starts.end(), start);
        QVERIFY2(line != starts.end() && *line == start, qPrintable(QString::number(start)));
        const int end = line + 1 == starts.end() ? int(text.size()) : *(line + 1);
        QCOMPARE(b.length() - 1, end - start);
    }
}

QTEST_MAIN(TestWrappedBoxes)
#include "tst_wrapped_boxes.moc"
