#pragma once

#include <QFrame>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class ButtonType;
class QLabel;

// Raised after every click on a key cap, with the clicked cap as Sender.
using TKeyClickEvent = std::function<void(QObject* Sender)>;

// The surface of the on-screen keyboard. It builds one key cap per record of the layout's key
// table, placed, sized and coloured from the record, and finds and presses the cap of a
// character. Its key caps are, in the order they were built, exactly the records of the key
// table in its current order: cap i belongs to record i + 1. Every look-up rests on that.
//
// The frame can also be typed on with the mouse: a click on a cap types the character the key
// gives under the frame's Shift, Caps Lock, AltGr and dead-key state into the attached edit, or
// acts as Backspace, Delete or one of those modifiers.
class TKbFm : public QFrame {
    Q_OBJECT
public:
    explicit TKbFm(QWidget* parent = nullptr);
    ~TKbFm() override;

    // Click-typing state.
    bool AltGrDown = false;
    bool CapsLockOn = false;
    bool ShiftDown = false;
    int32_t PendingAccent = 0; // 0 or the dead-key kind waiting for its letter
    TKeyClickEvent OnKeyClick;

    // The key cap being built; AttachKeyHandler reads it.
    ButtonType* NewKey = nullptr;
    // Not owned: the edit that receives click-typed text (a QLineEdit, QTextEdit or
    // QPlainTextEdit) and the label that names the pending dead key.
    QPointer<QWidget> Edit;
    QPointer<QLabel> AccentLabel;
    ButtonType* LeftShiftKey = nullptr;
    ButtonType* RightShiftKey = nullptr;
    ButtonType* AltGrKey = nullptr;
    ButtonType* CapsLockKey = nullptr;
    ButtonType* CurrentAccentKey = nullptr;
    // The cap of each dead key 2001..2008, at index kind - 2001.
    std::array<ButtonType*, 8> AccentKeys{};

    // The frame's key caps in the order they were built.
    int KeyCount() const { return int(m_keys.size()); }
    ButtonType* Keys(int index) const;
    int IndexOfKey(const ButtonType* key) const;
    // The background colour, 0x00BBGGRR.
    int32_t Color() const { return m_color; }
    void SetColor(int32_t color);

    // Frees every key cap, last first, and forgets every reference to one.
    void ClearKeys();
    // Background from the layout; size from the right-most and lowest key, plus 10 pixels each.
    void FitToKeys();
    // The largest X + Width and Y + Height of the key table (0 when it is empty or closed).
    void GetKeysExtent(int32_t& MaxRight, int32_t& MaxBottom);
    // One key cap per key record, in the table's order; none when the table is closed. Always true.
    bool BuildKeys(bool Blink);
    // Presses the key of a character (its base key only, never Shift, AltGr or a dead key) and
    // returns it with its finger code; nothing, with Finger untouched, when the character has no key.
    ButtonType* PressKeyForChar(char Ch, int32_t& Finger);
    // Wires NewKey's click to KeyClick; called once for every cap while building.
    virtual void AttachKeyHandler();

    // Click typing.
    void KeyClick(ButtonType* Sender);
    // What the cap at Index gives under the current state: its kind, and for a character key
    // the character (empty when the combination has none).
    void ResolveKey(int Index, int32_t& Kind, QByteArray& Text);
    void SetShift(bool Value);
    void SetAltGr(bool Value);
    void SetCapsLock(bool Value);
    void SetAccent(int32_t Code);
    void SendBackspace();
    void SendDelete();

private:
    void insertIntoEdit(const QByteArray& text);
    void sendKeyToEdit(int key);
    ButtonType*& accentKey(int32_t kind) { return AccentKeys[size_t(kind - 2001)]; }

    std::vector<ButtonType*> m_keys;
    int32_t m_color = 0;
};
