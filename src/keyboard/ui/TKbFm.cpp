#include "keyboard/ui/TKbFm.h"

#include "keyboard/ColorValue.h"
#include "keyboard/InvertGlyph.h"
#include "keyboard/KeyKinds.h"
#include "keyboard/ui/ButtonType.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/Translation.h"
#include "settings/DataMod.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <algorithm>
#include <cstdint>

namespace {

constexpr int ExtentMargin = 10;

// Keeps a table's controls disabled for a walk, also when the walk fails.
class ControlsDisabled {
public:
    explicit ControlsDisabled(TClientDataSet* table) : m_table(table) { m_table->DisableControls(); }
    ~ControlsDisabled() { m_table->EnableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    TClientDataSet* m_table;
};

int32_t intField(TClientDataSet* table, const char* name) {
    return table->FieldByName(QLatin1String(name)).AsInteger();
}

// A key's far edge, which may lie beyond 32 bits; the furthest representable edge then.
int32_t saturated(int64_t value) {
    return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// Sizes and places within what a widget can take: a key beyond that is out of sight anyway.
int widgetExtent(int64_t value) {
    return int(std::clamp<int64_t>(value, 0, QWIDGETSIZE_MAX));
}
int widgetPosition(int32_t value) {
    return std::clamp(value, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

} // namespace

TKbFm::TKbFm(QWidget* parent) : QFrame(parent) {
    setAutoFillBackground(true);
    resize(522, 327);
}

TKbFm::~TKbFm() = default;

ButtonType* TKbFm::Keys(int index) const {
    return index >= 0 && index < KeyCount() ? m_keys[size_t(index)] : nullptr;
}

int TKbFm::IndexOfKey(const ButtonType* key) const {
    const auto it = std::find(m_keys.begin(), m_keys.end(), key);
    return it == m_keys.end() ? -1 : int(it - m_keys.begin());
}

void TKbFm::SetColor(int32_t color) {
    m_color = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colorFromValue(color));
    setPalette(pal);
}

void TKbFm::ClearKeys() {
    NewKey = nullptr;
    LeftShiftKey = RightShiftKey = AltGrKey = CapsLockKey = CurrentAccentKey = nullptr;
    AccentKeys.fill(nullptr);
    while (!m_keys.empty()) {
        ButtonType* key = m_keys.back();
        m_keys.pop_back();
        delete key;
    }
}

void TKbFm::FitToKeys() {
    SetColor(DataMod->BkColor);
    int32_t maxRight = 0;
    int32_t maxBottom = 0;
    GetKeysExtent(maxRight, maxBottom);
    resize(widgetExtent(int64_t(maxRight) + ExtentMargin), widgetExtent(int64_t(maxBottom) + ExtentMargin));
}

void TKbFm::GetKeysExtent(int32_t& MaxRight, int32_t& MaxBottom) {
    MaxRight = 0;
    MaxBottom = 0;
    TClientDataSet* keys = DataMod->MainTbl;
    // A key table that a failed load left closed holds no keys: the frame stays empty.
    if (!keys->Active()) return;
    ControlsDisabled walk(keys);
    for (keys->First(); !keys->Eof(); keys->Next()) {
        MaxRight = std::max(MaxRight, saturated(int64_t(intField(keys, "X")) + intField(keys, "Width")));
        MaxBottom = std::max(MaxBottom, saturated(int64_t(intField(keys, "Y")) + intField(keys, "Height")));
    }
}

bool TKbFm::BuildKeys(bool Blink) {
    SetColor(DataMod->BkColor);
    TClientDataSet* keys = DataMod->MainTbl;
    if (!keys->Active()) return true;
    ControlsDisabled walk(keys);
    for (keys->First(); !keys->Eof(); keys->Next()) {
        auto* key = new ButtonType(this);
        m_keys.push_back(key);
        NewKey = key;
        key->setGeometry(widgetPosition(intField(keys, "X")), widgetPosition(intField(keys, "Y")),
                         widgetExtent(intField(keys, "Width")), widgetExtent(intField(keys, "Height")));
        key->SetHint(CodePage::toUnicode(keys->FieldByName(QStringLiteral("Hint")).AsString()));

        // The picture as the device shows it; the pressed look is its inverted copy.
        QImage picture = keys->FieldByName(QStringLiteral("Glyph")).AsImage();
        if (!picture.isNull()) picture = picture.convertToFormat(QImage::Format_RGB32);
        key->UpGlyph = picture;
        key->DownGlyph = picture;
        key->Blink = Blink;
        InvertGlyph(key->DownGlyph);
        key->SetGlyph(picture);
        key->Tag = intField(keys, "KeyValue");
        // The face takes the picture's bottom-left colour, which the picture leaves transparent.
        if (!picture.isNull() && picture.width() > 0 && picture.height() > 0)
            key->SetColor(valueFromColor(picture.pixelColor(0, picture.height() - 1)));
        key->SetAllowAllUp(true);

        const int32_t kind = intField(keys, "KeyType");
        if (KeyKind::isCharacterKey(kind)) key->SetGroupIndex(1);
        switch (kind) {
        case KeyKind::CapsLock:
            CapsLockKey = key;
            key->SetGroupIndex(KeyKind::CapsLock);
            break;
        case KeyKind::AltGr:
            AltGrKey = key;
            key->SetGroupIndex(KeyKind::AltGr);
            break;
        case KeyKind::LeftShift:
            LeftShiftKey = key;
            key->SetGroupIndex(KeyKind::LeftShift);
            break;
        case KeyKind::RightShift:
            RightShiftKey = key;
            key->SetGroupIndex(KeyKind::LeftShift);
            break;
        default:
            if (KeyKind::isDeadKey(kind)) {
                accentKey(kind) = key;
                key->SetGroupIndex(KeyKind::DeadKeyGroup);
            }
        }
        const int32_t kind2 = intField(keys, "KeyType2");
        if (KeyKind::isDeadKey(kind2)) accentKey(kind2) = key;

        AttachKeyHandler();
        key->show();
    }
    return true;
}

ButtonType* TKbFm::PressKeyForChar(char Ch, int32_t& Finger) {
    TClientDataSet* chars = DataMod->Ctbl;
    TClientDataSet* keys = DataMod->MainTbl;
    if (!chars->Locate(QStringLiteral("Code"), int(static_cast<unsigned char>(Ch)))) return nullptr;
    if (!keys->Locate(QStringLiteral("KeyValue"), intField(chars, "KeyNo"))) return nullptr;
    // A table reloaded without rebuilding the keys has no cap for this record.
    ButtonType* key = Keys(keys->RecNo() - 1);
    if (!key) return nullptr;
    key->SetKeyDown(true);
    Finger = intField(keys, "Finger");
    return key;
}

void TKbFm::AttachKeyHandler() {
    if (NewKey) connect(NewKey, &ButtonType::clicked, this, &TKbFm::KeyClick);
}

void TKbFm::ResolveKey(int Index, int32_t& Kind, QByteArray& Text) {
    TClientDataSet* keys = DataMod->MainTbl;
    keys->SetRecNo(Index + 1);
    const int32_t type = intField(keys, "KeyType");
    const int32_t type2 = intField(keys, "KeyType2");
    // A key is its own kind, unless its second meaning applies: a character key with a dead key
    // on AltGr, or a dead key with a second dead key on Shift. A second value that is no dead key
    // is ignored, so a plain dead key and any other key keep working.
    Kind = type;
    if (KeyKind::isCharacterKey(type) && type2 >= KeyKind::FirstDeadKey && AltGrDown)
        Kind = type2;
    else if (type >= KeyKind::FirstDeadKey && type2 >= KeyKind::FirstDeadKey && ShiftDown)
        Kind = type2;

    Text.clear();
    if (Kind < KeyKind::CharacterEnd) {
        const bool shift = Kind == KeyKind::Letter ? ShiftDown != CapsLockOn : ShiftDown;
        TClientDataSet* chars = DataMod->Ctbl;
        if (chars->Locate(QStringLiteral("KeyNo;Shift;AltGr;Accent"),
                          {intField(keys, "KeyValue"), shift, AltGrDown, PendingAccent}))
            Text = QByteArray(1, static_cast<char>(intField(chars, "Code")));
    }
}

void TKbFm::KeyClick(ButtonType* Sender) {
    const int index = IndexOfKey(Sender);
    if (index < 0) return;
    int32_t kind = 0;
    QByteArray text;
    ResolveKey(index, kind, text);
    switch (kind) {
    case 1:
    case 2:
    case 3:
        insertIntoEdit(text);
        SetShift(false);
        SetAltGr(false);
        SetAccent(0);
        Sender->SetKeyDown(false);
        break;
    case KeyKind::Backspace:
        SendBackspace();
        break;
    case KeyKind::Delete:
        SendDelete();
        break;
    case KeyKind::CapsLock:
        SetCapsLock(!CapsLockOn);
        break;
    case KeyKind::AltGr:
        SetAltGr(!AltGrDown);
        break;
    case KeyKind::LeftShift:
    case KeyKind::RightShift: {
        SetShift(!ShiftDown);
        ButtonType* shiftKey = kind == KeyKind::LeftShift ? LeftShiftKey : RightShiftKey;
        if (shiftKey) shiftKey->SetKeyDown(ShiftDown);
        SetAltGr(false);
        break;
    }
    default:
        if (KeyKind::isDeadKey(kind)) {
            SetAccent(kind);
            SetAltGr(false);
        }
    }
    if (OnKeyClick) OnKeyClick(Sender);
}

void TKbFm::SetShift(bool Value) {
    ShiftDown = Value;
    if (Value) return;
    // Every Shift cap the layout has goes up, also when it has only one: a cap left down
    // would show Shift engaged while it is not.
    if (LeftShiftKey) LeftShiftKey->SetKeyDown(false);
    if (RightShiftKey) RightShiftKey->SetKeyDown(false);
}

void TKbFm::SetAltGr(bool Value) {
    AltGrDown = Value;
    if (AltGrKey) AltGrKey->SetKeyDown(Value);
}

void TKbFm::SetCapsLock(bool Value) {
    CapsLockOn = Value;
    if (CapsLockKey) CapsLockKey->SetKeyDown(Value);
}

void TKbFm::SetAccent(int32_t Code) {
    PendingAccent = Code;
    // The frame's template must provide a label for the pending dead key's name.
    bool configured = true;
    if (KeyKind::isDeadKey(Code)) {
        if (ButtonType* cap = accentKey(Code)) {
            cap->SetKeyDown(true);
            CurrentAccentKey = cap;
            if (AccentLabel)
                AccentLabel->setText(QString::fromLatin1(KeyKind::deadKeyName(Code)));
            else
                configured = false;
        }
    } else if (CurrentAccentKey) {
        CurrentAccentKey->SetKeyDown(false);
        if (AccentLabel)
            AccentLabel->clear();
        else
            configured = false;
    }
    if (!configured)
        dialogs().messageBox(i18n("Some bugs in the config of the template."),
                             QGuiApplication::applicationDisplayName());
}

void TKbFm::SendBackspace() {
    sendKeyToEdit(Qt::Key_Backspace);
}

void TKbFm::SendDelete() {
    sendKeyToEdit(Qt::Key_Delete);
}

void TKbFm::sendKeyToEdit(int key) {
    if (!Edit) return;
    // Delivered and handled at once, like a key the edit received itself.
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(Edit, &press);
}

void TKbFm::insertIntoEdit(const QByteArray& text) {
    if (!Edit) return;
    const QString wide = CodePage::toUnicode(text);
    // The text replaces the selection, or goes in at the caret; an empty text only removes the
    // selection.
    auto replaceSelection = [&wide](auto* edit) {
        QTextCursor cursor = edit->textCursor();
        if (wide.isEmpty())
            cursor.removeSelectedText();
        else
            cursor.insertText(wide);
        edit->setTextCursor(cursor);
    };
    if (auto* line = qobject_cast<QLineEdit*>(Edit.data()))
        line->insert(wide);
    else if (auto* rich = qobject_cast<QTextEdit*>(Edit.data()))
        replaceSelection(rich);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(Edit.data()))
        replaceSelection(plain);
}
