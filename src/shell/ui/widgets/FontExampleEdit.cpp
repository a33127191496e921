#include "shell/ui/widgets/FontExampleEdit.h"

FontExampleEdit::FontExampleEdit(QWidget* parent) : QLineEdit(QStringLiteral("ExAmPLe"), parent) {
    // The start of the word stays in view when a large font does not fit.
    setCursorPosition(0);
}

void FontExampleEdit::setFontValue(const TFontValue& font) {
    m_font = font;
    setFont(font.toQFont());
    QPalette p = palette();
    p.setColor(QPalette::Text, font.toQColor());
    setPalette(p);
}

void FontExampleEdit::setBackgroundColor(int32_t color) {
    QPalette p = palette();
    p.setColor(QPalette::Base, WinColor::toQColor(color));
    setPalette(p);
}
