#include "drills/ui/DrillInputEdit.h"

#include "drills/ui/SoftLineBreaks.h"
#include "platform/CodePage.h"
#include "platform/KeyTranslator.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>

DrillInputEdit::DrillInputEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setUndoRedoEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setTabChangesFocus(false);
}

void DrillInputEdit::keyPressEvent(QKeyEvent* event) {
    event->accept();
    quint16 key = KeyInput::virtualKeyCode(*event);
    const quint16 original = key;
    QPointer<DrillInputEdit> self(this);
    if (m_keyDown) m_keyDown(key);
    if (!self) return;
    if (original != KeyInput::VK_NONE && key == KeyInput::VK_NONE) return; // swallowed

    std::vector<KeyInput::KeyChar> chars = KeyInput::keyPressChars(*event);
    if (!chars.empty()) {
        pressChars(std::move(chars));
        return;
    }
    // A key that types nothing may move the view (End, Page Up, Page Down and the arrow keys
    // where the drill lets them pass); nothing else reaches the box's own editing.
    switch (event->key()) {
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            QPlainTextEdit::keyPressEvent(event);
        break;
    default:
        break;
    }
}

void DrillInputEdit::inputMethodEvent(QInputMethodEvent* event) {
    event->accept();
    // Only what the input method commits is typed; a pending composition shows nothing.
    std::vector<KeyInput::KeyChar> chars = KeyInput::committedChars(*event);
    if (chars.empty()) return;
    // The composed character comes without a key-down of its own; the drill still hears one
    // (with no key code), as it does before every typed character.
    QPointer<DrillInputEdit> self(this);
    quint16 key = KeyInput::VK_NONE;
    if (m_keyDown) m_keyDown(key);
    if (self) pressChars(std::move(chars));
}

QVariant DrillInputEdit::inputMethodQuery(Qt::InputMethodQuery query) const {
    // While a keyboard layout of the program's own is active, it composes dead keys itself and
    // must see them as plain key events; otherwise the desktop's input method composes them.
    if (query == Qt::ImEnabled && activeKeyTranslator()) return false;
    return QPlainTextEdit::inputMethodQuery(query);
}

void DrillInputEdit::typeText(const QString& text) {
    pressChars(KeyInput::charsOfText(text));
}

void DrillInputEdit::pressChars(std::vector<KeyInput::KeyChar> chars) {
    QPointer<DrillInputEdit> self(this);
    for (KeyInput::KeyChar& key : chars) {
        if (m_keyPress) m_keyPress(key);
        if (!self) return;
        if (key.code != '\0' || key.unmappable) insertTyped(key);
    }
}

void DrillInputEdit::insertTyped(const KeyInput::KeyChar& key) {
    if (isReadOnly()) return;
    if (viewport()->width() != m_wrapWidth) rewrapAll();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (key.unmappable) {
        cursor.insertText(QString(key.unicode), m_insertFormat);
        rewrapLastBlock(false);
    } else if (key.code == '\b') {
        // A soft break is no character: the one typed before it goes.
        if (cursor.atBlockStart()) SoftLineBreaks::joinWithPrevious(document(), cursor.block());
        cursor.movePosition(QTextCursor::End);
        cursor.deletePreviousChar();
        rewrapLastBlock(true);
    } else if (key.code == '\r') {
        cursor.insertBlock(cursor.blockFormat(), m_insertFormat);
        document()->lastBlock().setUserState(-1);
    } else if (key.code != '\x1b') { // Esc types nothing
        cursor.insertText(QString(CodePage::charToUnicode(static_cast<unsigned char>(key.code))),
                          m_insertFormat);
        rewrapLastBlock(false);
    }
    cursor.movePosition(QTextCursor::End);
    setTextCursor(cursor);
}

void DrillInputEdit::rewrapLastBlock(bool joinFirst) {
    QTextBlock last = document()->lastBlock();
    if (joinFirst) last = SoftLineBreaks::joinWithPrevious(document(), last);
    SoftLineBreaks::split(document(), last);
    // Typing may have shown the scroll bar, and so narrowed the lines already split.
    if (viewport()->width() != m_wrapWidth) rewrapAll();
}

void DrillInputEdit::rewrapAll() {
    m_wrapWidth = viewport()->width();
    SoftLineBreaks::rewrap(document());
}

void DrillInputEdit::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    if (viewport()->width() != m_wrapWidth) rewrapAll();
}

QString DrillInputEdit::typedText() const {
    return SoftLineBreaks::plainText(document());
}

bool DrillInputEdit::canInsertFromMimeData(const QMimeData*) const {
    return false;
}

void DrillInputEdit::insertFromMimeData(const QMimeData*) {
    // Pasting would put text in the box that was never typed.
}
