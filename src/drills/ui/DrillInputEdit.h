#pragma once

#include "platform/KeyInput.h"

#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <functional>

// The input box of a drill. It does the box's own part of typing itself, so that nothing but
// what the drill lets through changes it: every key event is split into the key-down step (the
// virtual-key code, which the drill may swallow by setting it to 0) and one key-press step per
// character (which the drill may change or swallow by setting it to #0); only then does the box
// take the character, at the end of what has been typed, in the format prepared for it.
//
// A typed paragraph is kept as one block per screen line, split exactly where the box wraps it
// anyway: a key then lays out the line being typed instead of the whole paragraph, so typing a
// text without line breaks costs what typing it in lines costs. The split points are soft: the
// box looks the same as with one block, and typedText() leaves them out.
class DrillInputEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    using KeyDownHandler = std::function<void(quint16& key)>;
    using KeyPressHandler = std::function<void(KeyInput::KeyChar& key)>;

    explicit DrillInputEdit(QWidget* parent = nullptr);

    void setKeyDownHandler(KeyDownHandler handler) { m_keyDown = std::move(handler); }
    void setKeyPressHandler(KeyPressHandler handler) { m_keyPress = std::move(handler); }

    // The format the next inserted character takes.
    void setInsertFormat(const QTextCharFormat& format) { m_insertFormat = format; }
    const QTextCharFormat& insertFormat() const { return m_insertFormat; }

    // The key-press steps of a text, as if each character had been typed (input methods).
    void typeText(const QString& text);

    // What has been typed: the box's text without its soft line splits.
    QString typedText() const;

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;

private:
    void pressChars(std::vector<KeyInput::KeyChar> chars);
    void insertTyped(const KeyInput::KeyChar& key);
    // Splits the last paragraph at its screen lines; joins it first to the line it continues
    // when text was taken away, since that line may take it back.
    void rewrapLastBlock(bool joinFirst);
    void rewrapAll();

    KeyDownHandler m_keyDown;
    KeyPressHandler m_keyPress;
    QTextCharFormat m_insertFormat;
    int m_wrapWidth = -1; // the viewport width the soft splits were made for
};
