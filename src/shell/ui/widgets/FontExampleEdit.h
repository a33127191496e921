#pragma once

#include "settings/FontValue.h"

#include <QLineEdit>

// An edit showing a sample word in a stored font, colour included. It keeps the whole font
// value, so that what the widget cannot show (the character set) is handed back unchanged.
class FontExampleEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit FontExampleEdit(QWidget* parent = nullptr);

    const TFontValue& fontValue() const { return m_font; }
    void setFontValue(const TFontValue& font);
    void setBackgroundColor(int32_t color);

private:
    TFontValue m_font;
};
