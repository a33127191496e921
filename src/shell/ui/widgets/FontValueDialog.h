#pragma once

#include "settings/FontValue.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QSpinBox;
class ColorComboBox;
class FontExampleEdit;

// Chooses a font with its colour and its four styles (Qt's own font dialog has no colour).
class FontValueDialog : public QDialog {
    Q_OBJECT
public:
    explicit FontValueDialog(QWidget* parent = nullptr);

    TFontValue fontValue() const;
    void setFontValue(const TFontValue& font);
    // Shows the dialog modally; true when the user confirmed it.
    bool Execute();

private slots:
    void updateSample();

private:
    TFontValue m_font; // keeps what the dialog does not edit (the character set)
    QComboBox* m_name;
    QSpinBox* m_size;
    QCheckBox* m_bold;
    QCheckBox* m_italic;
    QCheckBox* m_underline;
    QCheckBox* m_strikeOut;
    ColorComboBox* m_color;
    FontExampleEdit* m_sample;
};
