#pragma once

#include <QComboBox>
#include <cstdint>

// A drop-down list of colours held as Windows colour values (0x00BBGGRR, system colours
// negative): named colours, system colours and, where offered, a "Custom..." entry that opens
// the colour dialog. A value that is not listed is added as an entry of its own and selected.
class ColorComboBox : public QComboBox {
    Q_OBJECT
public:
    enum Entries { NamedColors = 0x1, SystemColors = 0x2, CustomColor = 0x4 };

    explicit ColorComboBox(int entries, QWidget* parent = nullptr);

    // The value of the selected entry; 0 (black) when nothing is selected.
    int32_t colorValue() const;
    void setColorValue(int32_t value);
    // The entry of a value, or -1.
    int indexOfColor(int32_t value) const;

private slots:
    void entryActivated(int index);
    void rememberSelection(int index);

private:
    void addColorEntry(const QString& name, int32_t value);

    int m_customIndex = -1;
    int m_lastColorIndex = -1; // the selection to go back to when the colour dialog is cancelled
};
